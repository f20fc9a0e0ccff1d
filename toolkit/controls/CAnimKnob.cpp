#include "toolkit/controls/CAnimKnob.h"

#include <cstring>

#include "toolkit/drawing/CBitmap.h"
#include "toolkit/base/Truncate.h"

CAnimKnob::CAnimKnob(const CRect& rect, CControlListener* knobListener, int32_t knobTag, int32_t images,
                     int32_t imageHeight, CBitmap* background, const CPoint& backgroundOffset)
    : CKnob(rect, knobListener, knobTag, background, nullptr, backgroundOffset),
      frameCount(static_cast<int16_t>(images)),
      frameHeight(imageHeight) {
  inset = 0;
}

CAnimKnob::CAnimKnob(const CRect& rect, CControlListener* knobListener, int32_t knobTag, CBitmap* background,
                     const CPoint& backgroundOffset)
    : CKnob(rect, knobListener, knobTag, background, nullptr, backgroundOffset),
      frameCount(0),
      frameHeight(rect.height()) {
  // A control without height holds no image rather than dividing by zero.
  if (background && frameHeight > 0) frameCount = static_cast<int16_t>(background->getHeight() / frameHeight);
  inset = 0;
}

CAnimKnob::~CAnimKnob() = default;

bool CAnimKnob::isTypeOf(const char* name) const {
  return std::strcmp(name, "CAnimKnob") == 0 || CKnob::isTypeOf(name);
}

int32_t CAnimKnob::sourceRow() const {
  if (!(value >= 0.0f) || frameHeight <= 0 || frameCount < 1) return 0;
  const int32_t total = (frameCount - 1) * frameHeight;
  const float fraction = inverseBitmap ? 1.0f - value : value;
  int32_t row = truncateToInt32(static_cast<float>(total) * fraction);
  // A value beyond the maximum shows the last image instead of rows past
  // the end of the strip; an inverted one below the minimum, the first.
  if (row > total) row = total;
  if (row < 0) row = 0;
  return row - row % frameHeight;
}

int32_t CAnimKnob::imageIndex() const { return frameHeight > 0 ? sourceRow() / frameHeight : 0; }

void CAnimKnob::draw(CDrawContext* context) {
  if (CBitmap* background = getBackground()) {
    const CPoint source(0, sourceRow());
    if (getTransparency()) {
      background->drawTransparent(context, size, source);
    } else {
      background->draw(context, size, source);
    }
  }
  valueToPoint(lastDrawnPoint);
  setDirty(false);
}

bool CAnimKnob::isDirty() const {
  if (!CView::isDirty()) {
    CPoint point;
    valueToPoint(point);
    if (point == lastDrawnPoint) return false;
  }
  return CControl::isDirty();
}
