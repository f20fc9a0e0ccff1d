#include "engine/ResponseBankPreparation.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "engine/ImpulseRandom.h"
#include "engine/ParameterMapping.h"
#include "engine/ResponseBank.h"

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

void trimLength(ResponseBank& bank, int frames) {
  const float* h = bank.phase[0];
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
  n = std::min(n + 16, parameter_mapping::kMaxTaps);
  bank.setLengthTaps(n);
}

void normalizeGain(ResponseBank& bank) {
  const int taps = bank.taps.load(std::memory_order_relaxed);
  if (taps == 0) {
    return;
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
    total = total + std::fabs(response(bank.phase[0], taps, w, period));
  }
  const float average = total / static_cast<float>(kSignalCount);
  const double g = average != 0.0f ? 1.0 / std::fabs(static_cast<double>(average)) : 1.0;
  float gain = static_cast<float>(g * static_cast<double>(kTargetLevel));
  gain = std::clamp(gain, 0.0f, kMaxGain);
  bank.gain.store(gain, std::memory_order_relaxed);
  // Through the parameter mapping once, so that the gain is exactly what
  // the stored parameter value reproduces later.
  bank.setGainParameter(bank.gainParameter());
}

}  // namespace impulse_preparation
