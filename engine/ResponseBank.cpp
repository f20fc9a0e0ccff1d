#include "engine/ResponseBank.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/SignalBounds.h"

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
  // Infinities and NaNs have every exponent bit set: they become 0.0.
  // Finite samples beyond the response bound are clamped to it.
  constexpr std::uint32_t kExponent = 0x7F800000u;
  for (int i = 0; i < count; ++i) {
    const float sample = phase[0][i];
    float stored = sample;
    if ((std::bit_cast<std::uint32_t>(sample) & kExponent) == kExponent) {
      stored = 0.0f;
    } else if (std::fabs(sample) > signal_bounds::kMaxResponseSample) {
      stored = std::copysign(signal_bounds::kMaxResponseSample, sample);
    } else {
      continue;
    }
    for (int k = 0; k < kPhaseCount; ++k) {
      phase[k][i + k] = stored;
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
