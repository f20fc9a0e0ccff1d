// Parameter values in the units a user thinks in, converted to the
// plug-in's normalised 0 ... 1 values with the plug-in's own mappings:
// mix x = percent / 100; output gain 2 x^2 (linear); FIR length
// trunc(2048 x) * 16 taps.
#pragma once

#include <string>

#include "engine/ParameterMapping.h"

namespace parameter_units {

constexpr int kMaxTaps = parameter_mapping::kMaxTaps;
constexpr int kTapStep = parameter_mapping::kTapGranularity;
// 20 log10(2): the largest gain the plug-in reaches, at x = 1.
constexpr double kMaxGainDecibels = 6.020599913279624;

enum class GainKind { kAutomatic, kDecibels, kSilent };
struct GainSetting {
  GainKind kind = GainKind::kAutomatic;
  double decibels = 0.0;
};

enum class LengthKind { kAutomatic, kTaps, kSeconds };
struct LengthSetting {
  LengthKind kind = LengthKind::kAutomatic;
  double value = 0.0;
};

// Each parser answers false and fills *error for text it cannot accept.
bool parseMix(const std::string& text, double* percent, std::string* error);
bool parseGain(const std::string& text, GainSetting* gain, std::string* error);
bool parseLength(const std::string& text, LengthSetting* length, std::string* error);

float mixParameter(double percent);
// Not for kAutomatic, which keeps the value already set.
float gainParameter(const GainSetting& gain);
// Taps for a length in taps or seconds: rounded to the nearest multiple of
// 16, at least 16. False, with *error filled, beyond 32768 taps.
bool lengthTaps(const LengthSetting& length, double sampleRate, int* taps, std::string* error);
float lengthParameter(int taps);
// What the plug-in makes of a length parameter value.
int tapsFromParameter(float x);
double gainDecibelsFromParameter(float x);

}  // namespace parameter_units
