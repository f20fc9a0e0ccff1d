#include "editor/ImpulseCurve.h"

#include <algorithm>

#include "engine/FirEngine.h"
#include "toolkit/base/Truncate.h"

ImpulseCurve impulseCurve(int32_t width, int32_t height, int32_t lengthTaps) {
  ImpulseCurve curve;
  curve.mid = height / 2;
  curve.scale = static_cast<float>(curve.mid - height);
  if (width < 1) return curve;
  curve.step = static_cast<float>(static_cast<double>(FirEngine::kMaxTaps) / width);
  const float used = static_cast<float>(lengthTaps) / static_cast<float>(FirEngine::kMaxTaps);
  curve.cut = truncateToInt32(static_cast<float>(width) * used);
  return curve;
}

int32_t curveOffset(float sample, float scale) {
  const float product = sample * scale;
  if (!(product == product)) return 0;
  return truncateToInt32(std::clamp(product, -kCurveReach, kCurveReach));
}
