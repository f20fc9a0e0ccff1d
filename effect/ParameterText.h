// The texts the host and the editor show for the five parameters.
#pragma once

namespace parameter_text {

// Longest text written into a host's buffer, terminator included. Hosts
// pass buffers of at least this size in practice; out-of-range values from
// a host could otherwise print arbitrarily many digits.
constexpr int kDisplayCapacity = 32;

// Parameter names: "Mix", "Out gain", "FIR Length"; null for 3 and 4.
const char* name(int index);

// Writes the display text of a parameter; false for an unknown index.
// decibels: the engine's output gain in dB; sampleRate: this instance's.
// Whatever the value, the text is no longer than the longest that a value
// in 0..1 gives at this rate.
bool display(int index, float value, float decibels, float sampleRate, char* text);

// The integer part of v x 100 + 0.5, saturated instead of overflowing.
int percent(float value);

}  // namespace parameter_text
