// Wave files written by the tests themselves: 32-bit float or 16-bit PCM
// from given samples (interleaved when there are several channels).
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/wavefile/WavBytes.h"

namespace test_support {

inline wavbytes::Bytes floatWave(const std::vector<float>& samples, unsigned channels = 1) {
  wavbytes::Bytes data(samples.size() * sizeof(float));
  if (!data.empty()) {
    std::memcpy(data.data(), samples.data(), data.size());
  }
  return wavbytes::riffBytes({wavbytes::fmtChunk(3, channels, 32), {"data", data}});
}

inline wavbytes::Bytes pcm16Wave(const std::vector<std::int16_t>& samples, unsigned channels = 1) {
  wavbytes::Bytes data;
  for (std::int16_t s : samples) {
    wavbytes::put16(data, static_cast<std::uint16_t>(s));
  }
  return wavbytes::riffBytes({wavbytes::fmtChunk(1, channels, 16), {"data", data}});
}

}  // namespace test_support
