// The conditional-move clip: works on the 32-bit patterns, without any
// floating-point comparison. For non-negative floats the order of the bit
// patterns as unsigned integers is the order of the values, so comparing
// magnitudes as integers decides |x| > limit; every NaN pattern lies above
// the pattern of +infinity and is therefore clipped too.
#include <cstdint>
#include <cstring>

#include "engine/vectorops/VectorOpsTiers.h"

namespace vector_ops::cmov {

namespace {

constexpr std::uint32_t kSignBit = 0x80000000u;

// Magnitude bits limited to `limitBits`, with a branch-free CMOVA.
inline std::uint32_t limitMagnitude(std::uint32_t magnitude, std::uint32_t limitBits) {
  __asm__(
      "cmpl %[lim], %[mag]\n\t"
      "cmova %[lim], %[mag]"
      : [mag] "+r"(magnitude)
      : [lim] "r"(limitBits)
      : "cc");
  return magnitude;
}

inline void clipOne(float* element, std::uint32_t limitBits) {
  std::uint32_t bits;
  std::memcpy(&bits, element, sizeof(bits));
  bits = limitMagnitude(bits & ~kSignBit, limitBits) | (bits & kSignBit);
  std::memcpy(element, &bits, sizeof(bits));
}

}  // namespace

void clip(float* dst, int n, float limit) {
  if (dst == nullptr || n <= 0) {
    return;
  }
  std::uint32_t limitBits;
  std::memcpy(&limitBits, &limit, sizeof(limitBits));
  // limit >= 0; a -0.0 counts as +0.0 so that the element keeps its own sign.
  limitBits &= ~kSignBit;

  int i = 0;
  for (; n - i >= 4; i += 4) {
    clipOne(dst + i, limitBits);
    clipOne(dst + i + 1, limitBits);
    clipOne(dst + i + 2, limitBits);
    clipOne(dst + i + 3, limitBits);
  }
  for (; i < n; ++i) {
    clipOne(dst + i, limitBits);
  }
}

}  // namespace vector_ops::cmov
