#include "AudioFiles.h"

#include <unistd.h>

#include <cctype>

#include "PendingFile.h"
#include "RenderError.h"

namespace {

struct Container {
  const char* extension;
  int major;
  int defaultSubtype;
};

constexpr Container kContainers[] = {
    {"wav", SF_FORMAT_WAV, SF_FORMAT_FLOAT},    {"wave", SF_FORMAT_WAV, SF_FORMAT_FLOAT},
    {"w64", SF_FORMAT_W64, SF_FORMAT_FLOAT},    {"rf64", SF_FORMAT_RF64, SF_FORMAT_FLOAT},
    {"aif", SF_FORMAT_AIFF, SF_FORMAT_FLOAT},   {"aiff", SF_FORMAT_AIFF, SF_FORMAT_FLOAT},
    {"aifc", SF_FORMAT_AIFF, SF_FORMAT_FLOAT},  {"caf", SF_FORMAT_CAF, SF_FORMAT_FLOAT},
    {"au", SF_FORMAT_AU, SF_FORMAT_FLOAT},      {"snd", SF_FORMAT_AU, SF_FORMAT_FLOAT},
    {"flac", SF_FORMAT_FLAC, SF_FORMAT_PCM_24}, {"ogg", SF_FORMAT_OGG, SF_FORMAT_VORBIS},
    {"oga", SF_FORMAT_OGG, SF_FORMAT_VORBIS},   {"opus", SF_FORMAT_OGG, SF_FORMAT_OPUS},
};

struct SampleFormat {
  const char* name;
  int subtype;
};

constexpr SampleFormat kSampleFormats[] = {
    {"pcm16", SF_FORMAT_PCM_16}, {"pcm24", SF_FORMAT_PCM_24},  {"pcm32", SF_FORMAT_PCM_32},
    {"float", SF_FORMAT_FLOAT},  {"double", SF_FORMAT_DOUBLE},
};

std::string lowerExtension(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return {};
  }
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return extension;
}

}  // namespace

AudioInput::AudioInput(const std::string& path) : path_(path) {
  file_ = sf_open(path.c_str(), SFM_READ, &info_);
  if (file_ == nullptr) {
    throw RenderError("Cannot open file: " + path + " (" + sf_strerror(nullptr) + ")");
  }
  if (info_.channels < 1 || info_.samplerate < 1) {
    throw RenderError("Cannot open file: " + path + " (no audio channels)");
  }
}

AudioInput::~AudioInput() {
  if (file_ != nullptr) {
    sf_close(file_);
  }
}

int AudioInput::read(float* interleaved, int frames) {
  const sf_count_t got = sf_readf_float(file_, interleaved, frames);
  if (got < frames && sf_error(file_) != SF_ERR_NO_ERROR) {
    throw RenderError("Cannot read " + path_ + ": " + sf_strerror(file_));
  }
  return static_cast<int>(got);
}

int outputFormatFor(const std::string& path, const std::string& sampleFormat, int sampleRate, int channels) {
  const std::string extension = lowerExtension(path);
  const Container* container = nullptr;
  for (const Container& candidate : kContainers) {
    if (extension == candidate.extension) {
      container = &candidate;
    }
  }
  if (container == nullptr) {
    throw RenderError("cannot tell the output format of " + path +
                          " from its extension (use .wav, .flac, .aiff, .ogg, .opus, .caf, .w64, .rf64 or .au)",
                      kExitUsage);
  }
  int subtype = container->defaultSubtype;
  if (!sampleFormat.empty()) {
    subtype = 0;
    for (const SampleFormat& candidate : kSampleFormats) {
      if (sampleFormat == candidate.name) {
        subtype = candidate.subtype;
      }
    }
    if (subtype == 0) {
      throw RenderError("--sample-format takes pcm16, pcm24, pcm32, float or double, not '" + sampleFormat + "'",
                        kExitUsage);
    }
  }
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = container->major | subtype;
  if (sf_format_check(&info) == 0) {
    throw RenderError("." + extension + " files cannot hold " +
                          (sampleFormat.empty() ? std::string("this audio") : sampleFormat) + " at " +
                          std::to_string(sampleRate) + " Hz with " + std::to_string(channels) + " channels",
                      kExitUsage);
  }
  return info.format;
}

AudioOutput::AudioOutput(PendingFile& file, int format, int sampleRate, int channels)
    : destination_(file.destination()) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = format;
  const int descriptor = file.releaseDescriptor();
  file_ = sf_open_fd(descriptor, SFM_WRITE, &info, SF_TRUE);
  if (file_ == nullptr) {
    ::close(descriptor);
    throw RenderError("Cannot write " + destination_ + ": " + sf_strerror(nullptr));
  }
  // Integer formats clip out-of-range samples instead of wrapping them.
  sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioOutput::~AudioOutput() {
  if (file_ != nullptr) {
    sf_close(file_);
  }
}

void AudioOutput::write(const float* interleaved, int frames) {
  if (sf_writef_float(file_, interleaved, frames) != frames) {
    throw RenderError("Cannot write " + destination_ + ": " + sf_strerror(file_));
  }
}

void AudioOutput::close() {
  sf_write_sync(file_);
  const int status = sf_close(file_);
  file_ = nullptr;
  if (status != 0) {
    throw RenderError("Cannot write " + destination_ + ": " + sf_error_number(status));
  }
}
