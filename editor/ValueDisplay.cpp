#include "editor/ValueDisplay.h"

#include <cstring>

#include "editor/EditorText.h"
#include "editor/SmoothObjects.h"
#include "toolkit/drawing/CDrawContext.h"

ValueDisplay::ValueDisplay(const CRect& viewSize, CBitmap* background) : CView(viewSize), background_(background) {}

ValueDisplay::~ValueDisplay() = default;

void ValueDisplay::setText(const char* text) {
  setDirty(true);
  text_[0] = 0;
  if (!text) return;
  const size_t length = strnlen(text, kTextSize - 1);
  std::memcpy(text_, text, length);
  text_[length] = 0;
}

void ValueDisplay::draw(CDrawContext* context) {
  drawText(context);
  setDirty(false);
}

void ValueDisplay::drawText(CDrawContext* context) {
  if (!context) return;
  offscreen_.begin(context, size, background_);
  {
    SmoothGraphics graphics(offscreen_.deviceContext(), offscreen_.deviceHandle());
    graphics.setInterpolationMode(SmoothInterpolation::kHighQuality);
    graphics.setSmoothingMode(SmoothSmoothing::kHighQuality);
    const SmoothRect layout{0.0f, 0.0f, static_cast<float>(size.width()), static_cast<float>(size.height())};
    SmoothSolidBrush brush(SmoothColor(kEditorTextGrey, kEditorTextGrey, kEditorTextGrey));
    SmoothFontFamily family(kEditorFontFamily);
    SmoothFont font(family, kEditorTextSize, kSmoothFontBold, SmoothUnit::kPixel);
    graphics.setTextRenderingHint(SmoothTextHint::kAntiAlias);
    SmoothStringFormat format(0, 0);
    format.setAlignment(SmoothAlignment::kCenter);
    graphics.drawString(text_, font, layout, &format, brush);
  }
  offscreen_.copyTo(context, size);
}
