// What a block uses, derived from the five stored parameter values. This is
// the one place where a parameter value becomes an engine setting, so that
// the value a host reads back and the setting the audio uses cannot differ.
#pragma once

#include "engine/ParameterMapping.h"
#include "engine/SignalBounds.h"

struct EngineSettings {
  float mix = 0.5f;   // wet share, within signal_bounds::kMaxMix only
  float gain = 0.0f;  // linear, 2 x^2 of the clamped parameter
  int taps = 0;       // trunc(2048 x) * 16 of the clamped parameter
  bool bypassed = false;
};

inline EngineSettings settingsFromParameters(const float (&values)[parameter_mapping::kParameterCount]) {
  namespace pm = parameter_mapping;
  EngineSettings settings;
  settings.mix = signal_bounds::clampMix(values[pm::kMixIndex]);
  settings.gain = pm::gainFromParameter(values[pm::kGainIndex]);
  settings.taps = pm::tapsFromLength(pm::clampUnit(values[pm::kLengthIndex]));
  // NaN and values at or below zero are not bypass.
  settings.bypassed = values[pm::kBypassIndex] > 0.0f;
  return settings;
}
