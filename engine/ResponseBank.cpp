#include "engine/ResponseBank.h"

#include <algorithm>
#include <cstring>

#include "engine/ParameterMapping.h"

namespace pm = parameter_mapping;

void ResponseBank::setMix(float x) { mix.store(x); }

void ResponseBank::setGainParameter(float x) { gain.store(pm::gainFromParameter(x)); }

void ResponseBank::setLengthParameter(float x) {
  const float p = pm::clampUnit(x);
  if (p == lengthFraction.load()) {
    return;
  }
  lengthFraction.store(p);
  taps.store(pm::tapsFromLength(p));
}

void ResponseBank::setLengthTaps(int n) {
  const int clamped = std::clamp(n, 0, pm::kMaxTaps);
  taps.store(clamped);
  lengthFraction.store(static_cast<float>(clamped) / static_cast<float>(pm::kMaxTaps));
}

float ResponseBank::gainParameter() const { return pm::parameterFromGain(gain.load()); }

void ResponseBank::setImpulse(const float* samples, int count) {
  for (float* copy : phase) {
    std::memset(copy, 0, sizeof(float) * kPhaseStride);
  }
  if (count <= 0 || samples == nullptr) {
    return;
  }
  count = std::min(count, pm::kMaxTaps);
  for (int k = 0; k < kPhaseCount; ++k) {
    std::memcpy(phase[k] + k, samples, sizeof(float) * static_cast<std::size_t>(count));
  }
}

void ResponseBank::copySettingsFrom(const ResponseBank& other) {
  gain.store(other.gain.load());
  mix.store(other.mix.load());
  lengthFraction.store(other.lengthFraction.load());
  taps.store(other.taps.load());
  loaded.store(other.loaded.load());
  bypassed.store(other.bypassed.load());
}

void ResponseBank::copySamplesFrom(const ResponseBank& other) {
  for (int k = 0; k < kPhaseCount; ++k) {
    std::memcpy(phase[k], other.phase[k], sizeof(float) * kPhaseStride);
  }
  samplesVersion = other.samplesVersion;
}
