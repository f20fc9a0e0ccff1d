#include "editor/SmoothObjects.h"

SmoothSolidBrush::SmoothSolidBrush(SmoothColor colour) { keep(renderer_.createSolidFill(colour.argb(), &brush_)); }

SmoothSolidBrush::~SmoothSolidBrush() {
  if (brush_) renderer_.deleteBrush(brush_);
}

SmoothPen::SmoothPen(SmoothColor colour, float width) {
  keep(renderer_.createPen(colour.argb(), width, SmoothUnit::kWorld, &pen_));
}

SmoothPen::~SmoothPen() {
  if (pen_) renderer_.deletePen(pen_);
}

SmoothFontFamily::SmoothFontFamily(const char* name) { keep(renderer_.createFontFamily(name, &family_)); }

SmoothFontFamily::~SmoothFontFamily() {
  if (family_) renderer_.deleteFontFamily(family_);
}

SmoothFont::SmoothFont(const SmoothFontFamily& family, float emSize, int32_t style, SmoothUnit unit) {
  keep(renderer_.createFont(family.native(), emSize, style, unit, &font_));
}

SmoothFont::~SmoothFont() {
  if (font_) renderer_.deleteFont(font_);
}

SmoothStringFormat::SmoothStringFormat(int32_t flags, int32_t language) {
  keep(renderer_.createStringFormat(flags, language, &format_));
}

SmoothStringFormat::~SmoothStringFormat() {
  if (format_) renderer_.deleteStringFormat(format_);
}

SmoothStatus SmoothStringFormat::setAlignment(SmoothAlignment align) {
  return keep(renderer_.setStringFormatAlign(format_, align));
}

SmoothGraphics::SmoothGraphics(void* deviceContext, void* deviceHandle) {
  keep(renderer_.createGraphics(deviceContext, deviceHandle, &graphics_));
}

SmoothGraphics::~SmoothGraphics() {
  if (graphics_) renderer_.deleteGraphics(graphics_);
}

SmoothStatus SmoothGraphics::setInterpolationMode(SmoothInterpolation mode) {
  return keep(renderer_.setInterpolationMode(graphics_, mode));
}

SmoothStatus SmoothGraphics::setSmoothingMode(SmoothSmoothing mode) {
  return keep(renderer_.setSmoothingMode(graphics_, mode));
}

SmoothStatus SmoothGraphics::setTextRenderingHint(SmoothTextHint hint) {
  return keep(renderer_.setTextRenderingHint(graphics_, hint));
}

SmoothStatus SmoothGraphics::drawLine(const SmoothPen& pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return keep(renderer_.drawLine(graphics_, pen.native(), x1, y1, x2, y2));
}

SmoothStatus SmoothGraphics::fillRectangle(const SmoothSolidBrush& brush, int32_t x, int32_t y, int32_t width,
                                           int32_t height) {
  return keep(renderer_.fillRectangle(graphics_, brush.native(), x, y, width, height));
}

SmoothStatus SmoothGraphics::drawString(const char* text, const SmoothFont& font, const SmoothRect& layout,
                                        const SmoothStringFormat* format, const SmoothSolidBrush& brush) {
  return keep(renderer_.drawString(graphics_, text, font.native(), layout, format ? format->native() : nullptr,
                                   brush.native()));
}

SmoothDrawingSession::SmoothDrawingSession() { started_ = keep(renderer_.startup(&token_)) == kSmoothOk; }

SmoothDrawingSession::~SmoothDrawingSession() {
  // A start that failed has nothing to end.
  if (started_) renderer_.shutdown(token_);
}
