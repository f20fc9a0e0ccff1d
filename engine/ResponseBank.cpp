#include "engine/ResponseBank.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

void ResponseBank::setImpulseBytes(const void* samples, int count) {
  for (float* copy : phase) {
    std::memset(copy, 0, sizeof(float) * kPhaseStride);
  }
  if (count <= 0 || samples == nullptr) {
    return;
  }
  count = std::min(count, parameter_mapping::kMaxTaps);
  for (int k = 0; k < kPhaseCount; ++k) {
    std::memcpy(phase[k] + k, samples, sizeof(float) * static_cast<std::size_t>(count));
  }
  // Infinities and NaNs have every exponent bit set.
  constexpr std::uint32_t kExponent = 0x7F800000u;
  for (int i = 0; i < count; ++i) {
    if ((std::bit_cast<std::uint32_t>(phase[0][i]) & kExponent) == kExponent) {
      for (int k = 0; k < kPhaseCount; ++k) {
        phase[k][i + k] = 0.0f;
      }
    }
  }
}

void ResponseBank::copySamplesFrom(const ResponseBank& other) {
  for (int k = 0; k < kPhaseCount; ++k) {
    std::memcpy(phase[k], other.phase[k], sizeof(float) * kPhaseStride);
  }
  samplesVersion = other.samplesVersion;
}

void ResponseBank::setPath(const char* text) {
  std::memset(path, 0, sizeof(path));
  if (text != nullptr) {
    std::strncpy(path, text, kPathSize - 1);
  }
}
