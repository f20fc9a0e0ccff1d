// Bounds that keep the filter's output finite for any finite input,
// whatever a state block, a file or a host hands in, while no real signal,
// response or setting reaches them (so results within them stay exact).
//
// The budget, in powers of two (FLT_MAX is just under 2^128):
// - response samples |h| <= 2^16, clamped where a response is stored
//   (a file load or a state restore); integer files peak at 1.0 and real
//   responses in float files near it, so 2^16 is 96 dB above any of them;
// - input samples |x| <= 2^64, clamped where a sample enters the history
//   (385 dB above full scale; a NaN passes as it is, being no number);
// - mix |m| <= 2^16, clamped where the parameter becomes the setting (NaN
//   is 0); the gain is at most 2 by its own mapping.
// Then each product |h x| <= 2^80, and any sum of at most 2^15 of them is
// at most 2^95, in any order and with rounding (each partial sum is within
// a factor (1 + 2^-24)^(2^15) < 1.01 of the exact sum of magnitudes). The
// wet factor is at most 2^17 and the dry factor (1 + 2^16) x 2 < 2^18, so
// y wet + x dry < 2^113 + 2^82: finite, with room to spare for any rounding.
// The accumulating callback then adds this to the host's buffer, which
// saturates at the largest finite float instead of overflowing.
#pragma once

#include <algorithm>

namespace signal_bounds {

constexpr float kMaxResponseSample = 65536.0f;              // 2^16
constexpr float kMaxInputSample = 18446744073709551616.0f;  // 2^64
constexpr float kMaxMix = 65536.0f;                         // 2^16

// min/max in this order keep a NaN as it is.
inline float clampInput(float x) { return std::min(std::max(x, -kMaxInputSample), kMaxInputSample); }

inline float clampMix(float mix) {
  if (!(mix == mix)) {
    return 0.0f;
  }
  return std::min(std::max(mix, -kMaxMix), kMaxMix);
}

}  // namespace signal_bounds
