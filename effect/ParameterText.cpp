#include "effect/ParameterText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace parameter_text {

namespace {

constexpr int kSamplesPerLengthUnit = 32768;

void writeCapped(char* text, const char* format, auto... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof(buffer), format, args...);
  buffer[kDisplayCapacity - 1] = '\0';
  std::memcpy(text, buffer, std::strlen(buffer) + 1);
}

}  // namespace

const char* name(int index) {
  switch (index) {
    case 0:
      return "Mix";
    case 1:
      return "Out gain";
    case 2:
      return "FIR Length";
    default:
      return nullptr;
  }
}

int percent(float value) {
  const float scaled = value * 100.0f + 0.5f;
  if (std::isnan(scaled)) {
    return 0;
  }
  if (scaled >= 2147483520.0f) {
    return 2147483647;
  }
  if (scaled <= -2147483648.0f) {
    return -2147483647 - 1;
  }
  return static_cast<int>(scaled);
}

bool display(int index, float value, float decibels, float sampleRate, char* text) {
  switch (index) {
    case 0:
      writeCapped(text, "%d%%", percent(value));
      return true;
    case 1:
      if (std::isfinite(decibels)) {
        writeCapped(text, "%+0.1fdB", static_cast<double>(decibels));
      } else {
        writeCapped(text, "%cINFdB", decibels < 0.0f ? '-' : '+');
      }
      return true;
    case 2: {
      const float seconds = (value * static_cast<float>(kSamplesPerLengthUnit)) / sampleRate;
      writeCapped(text, "%0.2fsec /%d%%", static_cast<double>(seconds), percent(value));
      return true;
    }
    case 3:
    case 4:
      writeCapped(text, "%s", value != 0.0f ? "on" : "off");
      return true;
    default:
      return false;
  }
}

}  // namespace parameter_text
