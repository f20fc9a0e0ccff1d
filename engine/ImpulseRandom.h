// The pseudo-random generator behind the automatic gain's noise signal:
// a 32-bit linear congruential generator with one state per thread,
// starting at 1 and never reseeded, so each load continues the sequence of
// the previous load made on the same thread. Answers 0 ... 32767.
#pragma once

int impulseRandom();
