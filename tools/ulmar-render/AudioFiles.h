// Audio files through libsndfile: the input read as interleaved floats, the
// output written to a PendingFile with its format chosen by extension.
#pragma once

#include <sndfile.h>

#include <string>

class PendingFile;

class AudioInput {
 public:
  // Throws RenderError when the file cannot be opened or decoded.
  explicit AudioInput(const std::string& path);
  ~AudioInput();
  AudioInput(const AudioInput&) = delete;
  AudioInput& operator=(const AudioInput&) = delete;

  int sampleRate() const { return info_.samplerate; }
  int channels() const { return info_.channels; }
  // The frame count the file declares (a guess for some compressed files).
  sf_count_t frames() const { return info_.frames; }
  // Reads up to `frames` interleaved frames; 0 at the end. Throws on a
  // decoding error.
  int read(float* interleaved, int frames);

 private:
  std::string path_;
  SF_INFO info_{};
  SNDFILE* file_ = nullptr;
};

// The libsndfile format for an output path and an optional sample format
// name (pcm16, pcm24, pcm32, float, double). Throws RenderError (usage) for
// an unknown extension or name, or a combination the format cannot hold.
int outputFormatFor(const std::string& path, const std::string& sampleFormat, int sampleRate, int channels);

class AudioOutput {
 public:
  // Writes into the pending file's temporary file.
  AudioOutput(PendingFile& file, int format, int sampleRate, int channels);
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  void write(const float* interleaved, int frames);
  // Flushes and closes; throws when the data could not be written.
  void close();

 private:
  std::string destination_;
  SNDFILE* file_ = nullptr;
};
