// Flush-to-zero (and, where supported, denormals-are-zero) around an audio
// block. Only the calling thread's SSE control register changes.
#pragma once

// Sets the bits and answers the MXCSR value from before, so that the
// caller can hand back exactly the mode the host had.
unsigned enableFlushToZero();
// Puts the flush-to-zero and denormals-are-zero bits back as `previous`
// had them; every other bit of the register stays as it is.
void disableFlushToZero(unsigned previous);

// The pair as a scope: one per audio callback.
class FlushToZeroScope {
 public:
  FlushToZeroScope() : previous_(enableFlushToZero()) {}
  ~FlushToZeroScope() { disableFlushToZero(previous_); }
  FlushToZeroScope(const FlushToZeroScope&) = delete;
  FlushToZeroScope& operator=(const FlushToZeroScope&) = delete;

 private:
  unsigned previous_;
};
