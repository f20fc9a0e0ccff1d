// How normalised parameter values become engine settings, and back.
#pragma once

#include <cmath>

namespace parameter_mapping {

constexpr int kMaxTaps = 32768;
constexpr int kTapGranularity = 16;

// The five normalised parameter values the engine keeps, by index: they are
// the only copy of each setting (see EngineSettings).
constexpr int kParameterCount = 5;
constexpr int kMixIndex = 0;
constexpr int kGainIndex = 1;
constexpr int kLengthIndex = 2;
constexpr int kBypassIndex = 3;
// A switch that is stored and saved but changes nothing in one channel.
constexpr int kSecondSwitchIndex = 4;

// Clamps to 0 ... 1. A NaN from a host becomes 0: clamping cannot order it,
// and it would otherwise reach a float-to-int conversion or the output.
inline float clampUnit(float x) {
  if (!(x > 0.0f)) {
    return 0.0f;
  }
  return x < 1.0f ? x : 1.0f;
}

// Linear gain 2 x^2, computed in double precision and rounded once.
inline float gainFromParameter(float x) {
  const double p = clampUnit(x);
  return static_cast<float>(2.0 * p * p);
}

// The parameter that reproduces `gain`: sqrt of (gain / 2), the quotient
// rounded to float first.
inline float parameterFromGain(float gain) {
  const float half = gain / 2.0f;
  return std::sqrt(half);
}

// 20 log10(gain); minus infinity for gain 0.
inline float decibelsFromGain(float gain) { return 20.0f * std::log10(gain); }

// Taps for a length fraction already clamped to 0 ... 1: whole steps of 16.
inline int tapsFromLength(float p) { return static_cast<int>(2048.0f * p) * kTapGranularity; }

// The length fraction of a tap count (exact for every count up to 32768).
inline float lengthFromTaps(int taps) { return static_cast<float>(taps) / static_cast<float>(kMaxTaps); }

}  // namespace parameter_mapping
