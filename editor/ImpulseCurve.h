// The arithmetic of the response curve: a panel of W columns shows the
// whole possible length of 32768 samples, one picked sample per column, all
// in single precision so that every platform picks the same samples and
// rows.
#pragma once

#include <cstdint>

struct ImpulseCurve {
  int32_t mid = 0;     // the row of a zero sample: H / 2
  float scale = 0.0f;  // mid - H: +1.0 lands on the top edge, -1.0 on the bottom
  float step = 0.0f;   // samples per column: 32768 / W rounded to single precision
  int32_t cut = 0;     // columns within the used length: trunc(W x (taps / 32768))
};

ImpulseCurve impulseCurve(int32_t width, int32_t height, int32_t lengthTaps);

// The row offset of `sample`: trunc(sample x scale), with the product first
// held to +-kCurveReach (NaN to 0), so that any stored value, infinities
// included, gives a defined row. Rows beyond the panel are clipped when drawn.
inline constexpr float kCurveReach = 1048576.0f;
int32_t curveOffset(float sample, float scale);
