// The extensible "fmt " header (tag 0xFFFE). After the 16 bytes every
// header has come cbSize (at least 22), wValidBitsPerSample, a channel mask
// and a 16-byte sub-format GUID: a plain format tag in its first four bytes
// and a fixed base in the other twelve. Files with more than two channels
// or more than 16 bits often carry it, although their samples are plain
// PCM or IEEE float.
#pragma once

#include <cstdint>

#include "wavefile/WaveRefusal.h"

namespace extensible_format {

inline constexpr std::uint16_t kTag = 0xFFFE;
// The bytes of the chunk after the common 16: cbSize and what it counts.
inline constexpr int kExtensionBytes = 24;
inline constexpr std::uint16_t kMinCbSize = kExtensionBytes - 2;
inline constexpr long kMinChunkBytes = 16 + kExtensionBytes;
static_assert(kMinChunkBytes == 40);

struct SubFormat {
  // kNone when the header is accepted.
  WaveRefusal refusal = WaveRefusal::kNone;
  // The plain tag the samples follow: PCM or IEEE float.
  std::uint16_t tag = 0;
  // The bits of each sample that carry signal; a 0 in the file stands for
  // the whole container and becomes containerBits here.
  std::uint16_t validBits = 0;
};

// extension: the kExtensionBytes bytes that follow the first 16 of the
// chunk. containerBits: wBitsPerSample. The channel mask is not looked at.
SubFormat resolve(const unsigned char* extension, std::uint16_t containerBits);

}  // namespace extensible_format
