#include "effect/ParameterText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/ParameterMapping.h"

namespace parameter_text {

namespace {

constexpr int kSamplesPerLengthUnit = 32768;

void writeCapped(char* text, const char* format, auto... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof(buffer), format, args...);
  buffer[kDisplayCapacity - 1] = '\0';
  std::memcpy(text, buffer, std::strlen(buffer) + 1);
}

// The text of any value, as wide as it comes out.
void format(int index, float value, float decibels, float sampleRate, char* text) {
  switch (index) {
    case 0:
      writeCapped(text, "%d%%", percent(value));
      return;
    case 1:
      if (std::isfinite(decibels)) {
        writeCapped(text, "%+0.1fdB", static_cast<double>(decibels));
      } else {
        writeCapped(text, "%cINFdB", decibels < 0.0f ? '-' : '+');
      }
      return;
    case 2: {
      const float seconds = (value * static_cast<float>(kSamplesPerLengthUnit)) / sampleRate;
      writeCapped(text, "%0.2fsec /%d%%", static_cast<double>(seconds), percent(value));
      return;
    }
    default:
      writeCapped(text, "%s", value != 0.0f ? "on" : "off");
      return;
  }
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
  if (index < 0 || index >= parameter_mapping::kParameterCount) {
    return false;
  }
  char own[kDisplayCapacity];
  format(index, value, decibels, sampleRate, own);
  if (value >= 0.0f && value <= 1.0f) {
    std::memcpy(text, own, std::strlen(own) + 1);
    return true;
  }
  // Hosts size their buffers for the texts of values in 0..1, the longest
  // of which each text takes at one end of the range (the digits grow with
  // the value). A stored value outside the range keeps its own text while
  // that is no longer; a wider one, which a corrupt or crafted state block
  // can hold, shows the text of the nearest value in range instead.
  char low[kDisplayCapacity];
  char high[kDisplayCapacity];
  format(index, 0.0f, decibels, sampleRate, low);
  format(index, 1.0f, decibels, sampleRate, high);
  if (std::strlen(own) <= std::max(std::strlen(low), std::strlen(high))) {
    std::memcpy(text, own, std::strlen(own) + 1);
  } else {
    const char* nearest = value > 1.0f ? high : low;
    std::memcpy(text, nearest, std::strlen(nearest) + 1);
  }
  return true;
}

}  // namespace parameter_text
