// Float to integer conversion for pixel positions and value tests: the
// integer part, saturated at the 32-bit range, and 0 for NaN, so that a
// value set from outside can never make the conversion undefined.
#pragma once

#include <cstdint>

inline int32_t truncateToInt32(double x) {
  if (!(x == x)) return 0;
  if (x >= 2147483647.0) return INT32_MAX;
  if (x <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(x);
}
