// Turning samples into a ready response: the automatic tap count and the
// automatic output gain, computed from a response's samples (phase copy 0).
#pragma once

#include <optional>

namespace impulse_preparation {

// Cuts the response one 16-sample block after the last block holding a
// sample louder than 0.01; never below 16 taps nor above 32768.
int automaticLength(const float* h, int frames);

// Chooses the gain from the response's reaction to eleven test signals
// (ten triangle waves and one noise), so that responses of any loudness
// come out at a similar level. Answers the "Out gain" parameter value that
// reproduces it; nothing for 0 taps, where the gain stays as it was.
std::optional<float> automaticGainParameter(const float* h, int taps);

}  // namespace impulse_preparation
