#include "toolkit/drawing/CDrawContext.h"

#include <new>

#include "toolkit/drawing/FontTable.h"
#include "toolkit/platform/Platform.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/views/MouseInput.h"

namespace {

// Up to this many points a polygon is copied on the stack.
constexpr int32_t kStackPolygonPoints = 30;
// No view draws more than a few hundred points; a count beyond this is a
// fault of the caller and draws nothing rather than asking for gigabytes.
constexpr int32_t kMaxPolygonPoints = 1 << 16;
// The clip of a context without a frame.
constexpr CRect kFramelessClip{0, 0, 1000, 1000};

}  // namespace

CDrawContext::CDrawContext(CFrame* frame, void* systemContext, void* window)
    : windowOrigin_(mouseInput().windowOrigin(window)),
      frame_(frame),
      window_(window),
      surface_(openSurface(systemContext, window)) {
  clip_ = defaultClip();
  applyDefaults();
}

CDrawContext::CDrawContext(CFrame* frame, std::unique_ptr<DrawingSurface> surface, const CRect& clip)
    : frame_(frame), clip_(clip), surface_(std::move(surface)) {
  applyDefaults();
}

CDrawContext::~CDrawContext() = default;

void CDrawContext::applyDefaults() {
  setLineColor(kWhiteCColor);
  setLineStyle(kLineSolid);
  setLineWidth(1);
  setFillColor(kBlackCColor);
  setFontColor(kWhiteCColor);
  setFont(0, 0, 0);
  setDrawMode(kCopyMode);
}

CRect CDrawContext::defaultClip() const {
  if (!frame_) return kFramelessClip;
  CRect size;
  frame_->getViewSize(size);
  return size;
}

void* CDrawContext::getDeviceContext() const { return surface_ ? surface_->deviceContext() : nullptr; }

void CDrawContext::rebuildPen() {
  if (surface_)
    surface_->setPen(lineStyle_ == kLineOnOffDash ? PenStyle::kDotted : PenStyle::kSolid, lineWidth_, lineColor_);
}

void CDrawContext::setLineStyle(int32_t style) {
  if (style == lineStyle_) return;
  lineStyle_ = style;
  rebuildPen();
}

void CDrawContext::setLineWidth(int32_t width) {
  if (width == lineWidth_) return;
  lineWidth_ = width;
  rebuildPen();
}

void CDrawContext::setLineColor(const CColor& colour) {
  if (colour == lineColor_) return;
  lineColor_ = colour;
  rebuildPen();
}

void CDrawContext::setFillColor(const CColor& colour) {
  if (colour == fillColor_) return;
  fillColor_ = colour;
  if (surface_) surface_->setBrush(colour);
}

void CDrawContext::setFontColor(const CColor& colour) {
  fontColor_ = colour;
  if (surface_) surface_->setTextColor(colour);
}

void CDrawContext::setDrawMode(int32_t mode) {
  if (mode == drawMode_) return;
  drawMode_ = mode;
  if (!surface_) return;
  surface_->setRasterMode(mode == kOrMode    ? RasterMode::kMerge
                          : mode == kXorMode ? RasterMode::kNotXor
                                             : RasterMode::kCopy);
}

void CDrawContext::setFont(int32_t fontId, int32_t size, int32_t style) {
  const int32_t id = effectiveFontId(fontId);
  const FontTableEntry& entry = fontTableEntry(id);
  const int32_t height = size == 0 ? entry.size : size;
  if (id == fontId_ && height == fontSize_ && style == fontStyle_) return;
  fontId_ = id;
  fontSize_ = height;
  fontStyle_ = style;
  if (!surface_) return;
  surface_->setFont(FontRequest{entry.face, height, (style & 1) != 0 || entry.alwaysBold, (style & 2) != 0,
                                (style & 4) != 0, entry.decorative});
}

void CDrawContext::setClipRect(const CRect& clip) {
  CRect device = clip;
  device.offset(offset.h, offset.v);
  if (device == clip_) return;
  clip_ = device;
  if (surface_) surface_->setClip(clip_);
}

CRect& CDrawContext::getClipRect(CRect& clip) const {
  clip = clip_;
  clip.offset(-offset.h, -offset.v);
  return clip;
}

void CDrawContext::resetClipRect() {
  clip_ = defaultClip();
  if (surface_) surface_->setClip(clip_);
}

void CDrawContext::moveTo(const CPoint& point) {
  penLocation_ = point;
  if (surface_) surface_->moveTo(CPoint(point).offset(offset.h, offset.v));
}

void CDrawContext::lineTo(const CPoint& point) {
  penLocation_ = point;
  if (surface_) surface_->lineTo(CPoint(point).offset(offset.h, offset.v));
}

void CDrawContext::drawRect(const CRect& rect, int32_t style) {
  if (!surface_) return;
  CRect device = rect;
  device.offset(offset.h, offset.v);
  if (style == 1 || style == 2) surface_->fillRect(device);
  if (style == 0 || style == 2) {
    surface_->moveTo(CPoint(device.left, device.top));
    surface_->lineTo(CPoint(device.right - 1, device.top));
    surface_->lineTo(CPoint(device.right - 1, device.bottom - 1));
    surface_->lineTo(CPoint(device.left, device.bottom - 1));
    surface_->lineTo(CPoint(device.left, device.top));
  }
}

void CDrawContext::fillRect(const CRect& rect) {
  if (!surface_) return;
  CRect device(rect.left + 1, rect.top + 1, rect.right, rect.bottom);
  device.offset(offset.h, offset.v);
  surface_->fillRect(device);
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool opaque, int32_t align) {
  if (!text || !surface_) return;
  CRect device = rect;
  device.offset(offset.h, offset.v);
  TextAlign how = TextAlign::kLeft;
  if (align == 1) {
    how = TextAlign::kCenter;
  } else if (align == 2) {
    how = TextAlign::kRight;
  } else {
    device.left += 1;
  }
  surface_->drawText(text, device, how, opaque);
}

int32_t CDrawContext::getStringWidth(const char* text) { return text && surface_ ? surface_->textWidth(text) : 0; }

template <typename Draw>
void CDrawContext::withDevicePoints(const CPoint* points, int32_t count, Draw draw) {
  if (!surface_ || !points || count <= 0 || count > kMaxPolygonPoints) return;
  CPoint onStack[kStackPolygonPoints];
  std::unique_ptr<CPoint[]> onHeap;
  CPoint* moved = onStack;
  if (count > kStackPolygonPoints) {
    onHeap.reset(new (std::nothrow) CPoint[static_cast<size_t>(count)]);
    if (!onHeap) return;
    moved = onHeap.get();
  }
  for (int32_t i = 0; i < count; ++i) moved[i] = CPoint(points[i]).offset(offset.h, offset.v);
  draw(moved, count);
}

void CDrawContext::polyline(const CPoint* points, int32_t count) {
  withDevicePoints(points, count, [this](const CPoint* moved, int32_t n) { surface_->polyline(moved, n); });
}

void CDrawContext::fillPolygon(const CPoint* points, int32_t count) {
  withDevicePoints(points, count, [this](const CPoint* moved, int32_t n) { surface_->fillPolygon(moved, n); });
}

int32_t CDrawContext::getMouseButtons() const {
  // A closed frame's controls see no button: a mouse loop running as the
  // editor closes ends at its next poll, whatever the system reports for a
  // window that is gone.
  if (frame_ && !frame_->getOpenFlag()) return 0;
  const MouseInputSource& input = mouseInput();
  const bool swapped = mouseButtonsSwapped();
  int32_t buttons = 0;
  if (input.isDown(InputKey::kLeftButton)) buttons |= swapped ? kRButton : kLButton;
  if (input.isDown(InputKey::kMiddleButton)) buttons |= kMButton;
  if (input.isDown(InputKey::kRightButton)) buttons |= swapped ? kLButton : kRButton;
  if (input.isDown(InputKey::kShift)) buttons |= kShift;
  if (input.isDown(InputKey::kControl)) buttons |= kControl;
  if (input.isDown(InputKey::kAlt)) buttons |= kAlt;
  return buttons;
}

void CDrawContext::getMouseLocation(CPoint& point) const {
  const CPoint cursor = mouseInput().cursorPosition();
  point = CPoint(cursor.h - windowOrigin_.h, cursor.v - windowOrigin_.v);
}
