#include "ParameterUnits.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/ParameterMapping.h"

namespace parameter_units {

namespace {

// Splits "12.5dB" into 12.5 and "dB". Only finite numbers are accepted.
bool splitNumber(const std::string& text, double* number, std::string* suffix) {
  if (text.empty()) {
    return false;
  }
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  if (end == begin || errno == ERANGE || !std::isfinite(value)) {
    return false;
  }
  *number = value;
  *suffix = std::string(end);
  return true;
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return i == a.size() && b[i] == '\0';
}

std::string format(const char* pattern, double value) {
  char buffer[128];
  std::snprintf(buffer, sizeof(buffer), pattern, value);
  return buffer;
}

}  // namespace

bool parseMix(const std::string& text, double* percent, std::string* error) {
  double value = 0.0;
  std::string suffix;
  if (!splitNumber(text, &value, &suffix) || !(suffix.empty() || suffix == "%")) {
    *error = "--mix takes a percentage from 0 to 100, not '" + text + "'";
    return false;
  }
  if (value < 0.0 || value > 100.0) {
    *error = "--mix must lie between 0 and 100 %, not " + text;
    return false;
  }
  *percent = value;
  return true;
}

bool parseGain(const std::string& text, GainSetting* gain, std::string* error) {
  if (equalsIgnoringCase(text, "auto")) {
    *gain = GainSetting{};
    return true;
  }
  if (equalsIgnoringCase(text, "off") || equalsIgnoringCase(text, "-inf") || equalsIgnoringCase(text, "-infdB")) {
    *gain = GainSetting{GainKind::kSilent, 0.0};
    return true;
  }
  double value = 0.0;
  std::string suffix;
  if (!splitNumber(text, &value, &suffix) || !(suffix.empty() || equalsIgnoringCase(suffix, "dB"))) {
    *error = "--gain takes decibels, 'auto' or 'off', not '" + text + "'";
    return false;
  }
  // Values typed with two decimals ("6.02") stay within the plug-in's range.
  if (value > kMaxGainDecibels + 1e-9) {
    *error = "--gain " + text + " is above the plug-in's maximum of " + format("%+.2f dB", kMaxGainDecibels);
    return false;
  }
  *gain = GainSetting{GainKind::kDecibels, value};
  return true;
}

bool parseLength(const std::string& text, LengthSetting* length, std::string* error) {
  if (equalsIgnoringCase(text, "auto")) {
    *length = LengthSetting{};
    return true;
  }
  double value = 0.0;
  std::string suffix;
  const std::string usage = "--length takes taps (4096), seconds (0.25s, 250ms) or 'auto', not '" + text + "'";
  if (!splitNumber(text, &value, &suffix)) {
    *error = usage;
    return false;
  }
  if (suffix.empty()) {
    if (value != std::floor(value)) {
      *error = usage;
      return false;
    }
    *length = LengthSetting{LengthKind::kTaps, value};
  } else if (suffix == "s" || suffix == "sec") {
    *length = LengthSetting{LengthKind::kSeconds, value};
  } else if (suffix == "ms") {
    *length = LengthSetting{LengthKind::kSeconds, value / 1000.0};
  } else {
    *error = usage;
    return false;
  }
  if (!(value > 0.0)) {
    *error = "--length must be greater than 0, not " + text;
    return false;
  }
  return true;
}

float mixParameter(double percent) { return static_cast<float>(percent / 100.0); }

float gainParameter(const GainSetting& gain) {
  if (gain.kind != GainKind::kDecibels) {
    return 0.0f;
  }
  // The inverse of gain = 2 x^2.
  const double linear = std::pow(10.0, gain.decibels / 20.0);
  const double x = std::sqrt(linear / 2.0);
  return static_cast<float>(x < 1.0 ? x : 1.0);
}

bool lengthTaps(const LengthSetting& length, double sampleRate, int* taps, std::string* error) {
  const double requested = length.kind == LengthKind::kSeconds ? std::round(length.value * sampleRate) : length.value;
  if (requested > kMaxTaps) {
    *error = "--length is at most " + std::to_string(kMaxTaps) + " taps" +
             (length.kind == LengthKind::kSeconds ? format(" (%.3f s at this sample rate)", kMaxTaps / sampleRate)
                                                  : std::string());
    return false;
  }
  const int rounded = (static_cast<int>(requested) + kTapStep / 2) / kTapStep * kTapStep;
  *taps = rounded < kTapStep ? kTapStep : rounded;
  return true;
}

float lengthParameter(int taps) { return static_cast<float>(taps) / static_cast<float>(kMaxTaps); }

int tapsFromParameter(float x) { return parameter_mapping::tapsFromLength(parameter_mapping::clampUnit(x)); }

double gainDecibelsFromParameter(float x) {
  return parameter_mapping::decibelsFromGain(parameter_mapping::gainFromParameter(x));
}

}  // namespace parameter_units
