#include "editor/ImpulseDisplay.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "editor/ConvolverAccess.h"
#include "editor/EditorText.h"
#include "editor/ImpulseCurve.h"
#include "editor/ImpulseDisplayOwner.h"
#include "editor/SmoothObjects.h"
#include "engine/FirEngine.h"
#include "engine/ParameterMapping.h"
#include "toolkit/drawing/CDrawContext.h"

namespace {

constexpr int kLengthParameter = 2;
constexpr SmoothColor kWithinLength(0, 150, 0);
constexpr SmoothColor kBeyondLength(150, 0, 0);
constexpr SmoothColor kWarningRed(200, 0, 0);
constexpr SmoothColor kBandTint(30, 70, 70, 70);

}  // namespace

ImpulseDisplay::ImpulseDisplay(const CRect& viewSize, ImpulseDisplayOwner* editor)
    : CView(viewSize), editor_(editor), samples_(FirEngine::kMaxTaps) {
  setMouseEnabled(true);
}

ImpulseDisplay::~ImpulseDisplay() = default;

void ImpulseDisplay::draw(CDrawContext* context) {
  if (editor_) editor_->redrawImpulse(context);
  setDirty(false);
}

void ImpulseDisplay::mouse(CDrawContext* context, CPoint& where, int32_t buttons) {
  if (buttons == -1) buttons = context ? context->getMouseButtons() : 0;
  if (!(buttons & kRButton) || !editor_ || size.width() < 1) return;
  const float x = static_cast<float>(where.h - size.left) / static_cast<float>(size.width());
  if (ConvolverAccess* access = editor_->convolverAccess()) access->setParameter(kLengthParameter, x);
  editor_->updateControl(kLengthParameter, x);
}

void ImpulseDisplay::drawImpulse(CDrawContext* context, CBitmap* background) {
  ConvolverAccess* access = editor_ ? editor_->convolverAccess() : nullptr;
  if (!context || !access) return;
  const int32_t w = size.width();
  const int32_t h = size.height();
  offscreen_.begin(context, size, background);
  {
    // Made in this order and deleted in the reverse one.
    SmoothGraphics graphics(offscreen_.deviceContext(), offscreen_.deviceHandle());
    graphics.setInterpolationMode(SmoothInterpolation::kHighQuality);
    graphics.setSmoothingMode(SmoothSmoothing::kHighQuality);
    SmoothFontFamily family(kEditorFontFamily);
    SmoothFont pathFont(family, kEditorTextSize, kSmoothFontBold, SmoothUnit::kPixel);
    SmoothFont warningFont(family, kEditorWarningSize, kSmoothFontBold, SmoothUnit::kPixel);
    SmoothSolidBrush pathBrush(SmoothColor(kEditorTextGrey, kEditorTextGrey, kEditorTextGrey));
    SmoothSolidBrush warningBrush(kWarningRed);
    SmoothSolidBrush bandBrush(kBandTint);
    SmoothPen withinPen(kWithinLength, 1.0f);
    SmoothPen beyondPen(kBeyondLength, 1.0f);
    SmoothPen markerPens[3] = {
        {SmoothColor(kMarkerGreys[0], kMarkerGreys[0], kMarkerGreys[0]), 1.0f},
        {SmoothColor(kMarkerGreys[1], kMarkerGreys[1], kMarkerGreys[1]), 1.0f},
        {SmoothColor(kMarkerGreys[2], kMarkerGreys[2], kMarkerGreys[2]), 1.0f},
    };
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);

    // The response the audio thread uses now, with its path and used
    // length, copied in one step so that a load on another thread cannot
    // tear the picture.
    EngineSnapshot shown;
    access->snapshot(shown, samples_.data());
    namespace pm = parameter_mapping;
    const int taps = pm::tapsFromLength(pm::clampUnit(shown.parameters[pm::kLengthIndex]));

    graphics.setTextRenderingHint(SmoothTextHint::kAntiAlias);
    graphics.drawString(shown.path, pathFont, SmoothRect{0.0f, 0.0f, fw, fh}, nullptr, pathBrush);

    const char* warning = !access->canFilter() ? kNoSseWarning : (notice_.empty() ? nullptr : notice_.c_str());
    if (warning) {
      graphics.setTextRenderingHint(SmoothTextHint::kAntiAlias);
      graphics.drawString(warning, warningFont, SmoothRect{0.0f, fh - kWarningLine, fw, fh}, nullptr, warningBrush);
    }

    const float* samples = samples_.data();
    const ImpulseCurve curve = impulseCurve(w, h, taps);
    float pos = 0.0f;
    int32_t x = 0;
    int32_t y = curve.mid;
    int32_t px = 0;
    int32_t py = curve.mid;
    for (int32_t i = 0; i < w; ++i) {
      graphics.drawLine(i < curve.cut ? withinPen : beyondPen, px, py, x, y);
      px = x;
      py = y;
      x += 1;
      const int32_t index = std::min(static_cast<int32_t>(pos), FirEngine::kMaxTaps - 1);
      y = curve.mid + curveOffset(samples[index], curve.scale);
      pos += curve.step;
    }

    graphics.fillRectangle(bandBrush, 0, curve.mid - kBandReach, curve.cut, 2 * kBandReach);
    for (int k = 0; k < 3; ++k) {
      graphics.drawLine(markerPens[k], curve.cut, curve.mid - kMarkerReaches[k], curve.cut,
                        curve.mid + kMarkerReaches[k]);
    }
  }
  offscreen_.copyTo(context, size);
}
