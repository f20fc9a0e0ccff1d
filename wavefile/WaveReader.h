// Reads the sample frames of a RIFF/WAVE file (PCM 8/16/24/32-bit, IEEE
// float 32/64-bit) as interleaved 32-bit floats in the file's channel
// order. One file at a time; the position only moves forward.
//
// Failures are results, never exceptions: open answers false and names its
// reason in lastRefusal(); readFrames answers 0.
#pragma once

#include <cstdint>

#include "wavefile/RiffFile.h"

// The 18-byte format record: the first 16 bytes of the "fmt " chunk, plus
// cbSize, which is never read from the file and stays 0.
#pragma pack(push, 2)
struct WaveFormat {
  std::uint16_t wFormatTag;
  std::uint16_t nChannels;
  std::uint32_t nSamplesPerSec;
  std::uint32_t nAvgBytesPerSec;
  std::uint16_t nBlockAlign;
  std::uint16_t wBitsPerSample;
  std::uint16_t cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormat) == 18);

inline constexpr std::uint16_t kWaveFormatPcm = 1;
inline constexpr std::uint16_t kWaveFormatIeeeFloat = 3;

class WaveReader {
 public:
  // Why the last open failed.
  enum class Refusal {
    kNone,
    kCannotOpen,
    kNotRiff,  // the first chunk is not "RIFF"
    kNotWave,  // the form type is not "WAVE"
    kNoFormatChunk,
    kFormatTooShort,   // "fmt " declares fewer than 16 bytes
    kFormatTruncated,  // fewer than 16 bytes could be read
    kUnsupportedTag,   // neither PCM nor IEEE float
    kNoChannels,
    kTooManyChannels,
    kNoBlockAlign,
    kBlockAlignTooSmall,
    kAscendFailed,
    kSeekFailed,
    kNoDataChunk,
  };

  // Channel counts above this are refused: the loader reads up to 32768
  // frames at once, and 256 channels of those are 32 MiB of floats.
  static constexpr int kMaxChannels = 256;
  // Frames per round through the scratch buffer.
  static constexpr int kFramesPerRound = 100;

  WaveReader();
  ~WaveReader();
  WaveReader(const WaveReader&) = delete;
  WaveReader& operator=(const WaveReader&) = delete;

  // path: zero-terminated, in the system code page. A file still open is
  // closed first. On success the reader stands at the first sample byte.
  bool open(const char* path);
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
  Refusal lastRefusal() const { return refusal_; }

 private:
  bool readBytes(unsigned char* buffer, std::uint32_t count, std::uint32_t* got);
  bool parseChunks(riff::File* handle);
  bool refuse(Refusal reason);

  WaveFormat format_{};
  riff::File* file_ = nullptr;
  // The "data" chunk; cksize counts the bytes not yet read.
  riff::ChunkInfo data_{};
  Refusal refusal_ = Refusal::kNone;
};
