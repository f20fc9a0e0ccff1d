// Reads the sample frames of a RIFF/WAVE file (PCM 8/16/24/32-bit, IEEE
// float 32/64-bit, with a plain or an extensible header) as interleaved
// 32-bit floats in the file's channel order. One file at a time; the
// position only moves forward.
//
// Failures are results, never exceptions: open answers false and names its
// reason in lastRefusal(); readFrames answers 0.
#pragma once

#include <cstdint>

#include "desktop/NativePath.h"
#include "wavefile/RiffFile.h"
#include "wavefile/WaveFormat.h"
#include "wavefile/WaveRefusal.h"

class WaveReader {
 public:
  using Refusal = WaveRefusal;

  // Channel counts above this are refused: the loader reads up to 32768
  // frames at once, and 256 channels of those are 32 MiB of floats.
  static constexpr int kMaxChannels = 256;
  // Frames per round through the scratch buffer.
  static constexpr int kFramesPerRound = 100;

  WaveReader();
  ~WaveReader();
  WaveReader(const WaveReader&) = delete;
  WaveReader& operator=(const WaveReader&) = delete;

  // A file still open is closed first. On success the reader stands at the
  // first sample byte.
  bool open(const NativePath& path);
  // As open, over a handle already opened by the RIFF layer (for example
  // riff::openMemory); the reader owns it from here on, also on failure.
  bool openHandle(riff::File* handle);

  // Delivers up to maxFrames frames into out, which must hold
  // maxFrames * nChannels floats. Answers the number of frames delivered;
  // 0 at the end of the data, after a read error in this call, and for a
  // bit depth without a conversion (the requested data is consumed anyway).
  int readFrames(float* out, int maxFrames);

  // Closes the file and zeroes the format record; safe to call twice.
  void close();

  const WaveFormat& format() const { return format_; }
  // The bits of each sample that carry signal: wValidBitsPerSample of an
  // extensible header (its 0 meaning the whole container), otherwise
  // wBitsPerSample. Samples are converted by their container all the same,
  // so a 24-bit sample in 32 bits reads as a 32-bit one with low bits zero.
  // 0 while no file is open.
  std::uint16_t validBitsPerSample() const { return validBits_; }
  Refusal lastRefusal() const { return refusal_; }

 private:
  bool readBytes(unsigned char* buffer, std::uint32_t count, std::uint32_t* got);
  bool parseChunks(riff::File* handle);
  // Reads and checks the "fmt " chunk the handle stands in.
  bool readFormat(riff::File* handle, const riff::ChunkInfo& chunk, WaveFormat* format, std::uint16_t* validBits);
  bool refuse(Refusal reason);

  WaveFormat format_{};
  std::uint16_t validBits_ = 0;
  riff::File* file_ = nullptr;
  // The "data" chunk; cksize counts the bytes not yet read.
  riff::ChunkInfo data_{};
  Refusal refusal_ = Refusal::kNone;
};
