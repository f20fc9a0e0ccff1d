// How normalised parameter values become engine settings, and back.
#pragma once

#include <cmath>

namespace parameter_mapping {

constexpr int kMaxTaps = 32768;
constexpr int kTapGranularity = 16;

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

}  // namespace parameter_mapping
