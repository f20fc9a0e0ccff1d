// The format record WaveReader fills from a "fmt " chunk, and the plain
// format tags it converts.
#pragma once

#include <cstdint>

// The 18-byte format record: the first 16 bytes of the "fmt " chunk, plus
// cbSize, which is never read from the file and stays 0. An extensible
// header is recorded as its sub-format: wFormatTag holds the plain tag and
// wBitsPerSample the container's width.
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
