#include "engine/ResponseBank.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void ResponseBank::setImpulse(const float* samples, int count) {
  for (float* copy : phase) {
    std::memset(copy, 0, sizeof(float) * kPhaseStride);
  }
  if (count <= 0 || samples == nullptr) {
    return;
  }
  count = std::min(count, parameter_mapping::kMaxTaps);
  for (int i = 0; i < count; ++i) {
    phase[0][i] = std::isfinite(samples[i]) ? samples[i] : 0.0f;
  }
  for (int k = 1; k < kPhaseCount; ++k) {
    std::memcpy(phase[k] + k, phase[0], sizeof(float) * static_cast<std::size_t>(count));
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
