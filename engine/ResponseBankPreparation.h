// Turning samples into a ready response: the automatic tap count and the
// automatic output gain. Both work on a bank being prepared by a writer.
#pragma once

struct ResponseBank;

namespace impulse_preparation {

// Cuts the response one 16-sample block after the last block holding a
// sample louder than 0.01; never below 16 taps nor above 32768.
void trimLength(ResponseBank& bank, int frames);

// Chooses the gain from the response's reaction to eleven test signals
// (ten triangle waves and one noise), so that responses of any loudness
// come out at a similar level.
void normalizeGain(ResponseBank& bank);

}  // namespace impulse_preparation
