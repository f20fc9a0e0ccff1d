#include "engine/ResponseBankPreparation.h"

#include <algorithm>
#include <cmath>

#include "engine/ImpulseRandom.h"
#include "engine/ParameterMapping.h"

namespace impulse_preparation {

namespace {

constexpr float kLoudThreshold = 0.01f;
constexpr float kTargetLevel = 0.35f;
constexpr float kMaxGain = 2.0f;
constexpr int kSignalLength = 4096;
constexpr int kTrianglePeriods[] = {4, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096};
constexpr int kSignalCount = 11;

void fillTriangle(float* w, int period) {
  const int q = period / 4;
  for (int i = 0; i < q; ++i) {
    w[i] = static_cast<float>(static_cast<double>(i) / q);
  }
  for (int i = 0; i < q; ++i) {
    w[q + i] = 1.0f - w[i];
  }
  for (int i = 2 * q; i < period; ++i) {
    w[i] = -w[i - 2 * q];
  }
}

void fillNoise(float* w) {
  for (int i = 0; i < kSignalLength; ++i) {
    w[i] = static_cast<float>(2.0 * impulseRandom() / 32767.0 - 1.0);
  }
}

// The response's output for one period-P signal, summed over the taps; the
// running sum is formed in double and rounded to float after every step.
float response(const float* h, int taps, const float* w, int period) {
  float a = 0.0f;
  for (int l = 0; l < taps; ++l) {
    a = static_cast<float>(static_cast<double>(a) + static_cast<double>(h[l]) * static_cast<double>(w[l % period]));
  }
  return a;
}

}  // namespace

int automaticLength(const float* h, int frames) {
  int n = std::max(frames, 0);
  if (n % 16 != 0) {
    n += 16 - n % 16;
  }
  n = std::min(n, parameter_mapping::kMaxTaps);
  while (n >= 16) {
    float loudest = 0.0f;
    for (int i = n - 16; i < n; ++i) {
      const float magnitude = std::fabs(h[i]);
      if (magnitude > loudest) {
        loudest = magnitude;
      }
    }
    if (loudest > kLoudThreshold) {
      break;
    }
    n -= 16;
  }
  return std::min(n + 16, parameter_mapping::kMaxTaps);
}

std::optional<float> automaticGainParameter(const float* h, int taps) {
  if (taps == 0) {
    return std::nullopt;
  }
  float w[kSignalLength];
  float total = 0.0f;
  for (int s = 0; s < kSignalCount; ++s) {
    int period = kSignalLength;
    if (s < kSignalCount - 1) {
      period = kTrianglePeriods[s];
      fillTriangle(w, period);
    } else {
      fillNoise(w);
    }
    total = total + std::fabs(response(h, taps, w, period));
  }
  const float average = total / static_cast<float>(kSignalCount);
  const double g = average != 0.0f ? 1.0 / std::fabs(static_cast<double>(average)) : 1.0;
  float gain = static_cast<float>(g * static_cast<double>(kTargetLevel));
  gain = std::clamp(gain, 0.0f, kMaxGain);
  // The gain is kept as the parameter value that reproduces it: the one
  // source of the gain from here on.
  return parameter_mapping::parameterFromGain(gain);
}

}  // namespace impulse_preparation
