// Flush-to-zero and denormals-are-zero around an audio block. The bits
// belong to the calling thread's MXCSR. The host's own setting of the two
// bits is handed back at the end of the block rather than cleared, so a
// host that runs with either bit set keeps running that way.
#include "engine/vectorops/FloatingPointMode.h"

#include <xmmintrin.h>

#include "engine/cpu/CpuFeatures.h"

namespace {

constexpr unsigned kFlushToZero = 0x8000u;       // MXCSR bit 15
constexpr unsigned kDenormalsAreZero = 0x0040u;  // MXCSR bit 6

// The mode bits this processor has: none without SSE, and bit 6 only where
// the register accepts it (setting it elsewhere would fault).
unsigned modeBits() {
  const CpuFeatures& features = cpuFeatures();
  if (!features.hasSse.load(std::memory_order_relaxed)) {
    return 0;
  }
  unsigned bits = kFlushToZero;
  if (features.dazSupported.load(std::memory_order_relaxed)) {
    bits |= kDenormalsAreZero;
  }
  return bits;
}

}  // namespace

unsigned enableFlushToZero() {
  const unsigned bits = modeBits();
  if (bits == 0) {
    return 0;
  }
  const unsigned previous = _mm_getcsr();
  _mm_setcsr(previous | bits);
  return previous;
}

void disableFlushToZero(unsigned previous) {
  const unsigned bits = modeBits();
  if (bits == 0) {
    return;
  }
  // Only the two mode bits go back; anything else the block changed in the
  // register (rounding, exception flags) stays as it is now.
  const unsigned current = _mm_getcsr();
  _mm_setcsr((current & ~bits) | (previous & bits));
}
