#include "toolkit/controls/CControl.h"

#include <algorithm>
#include <cstring>

#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/platform/Platform.h"

namespace {

// Shorter double-click times than this are raised to it.
constexpr uint32_t kShortestDoubleClick = 250;

}  // namespace

CControl::CControl(const CRect& rect, CControlListener* controlListener, int32_t controlTag, CBitmap* background)
    : CView(rect),
      listener(controlListener),
      tag(controlTag),
      doubleClickTime(std::max(systemDoubleClickTime(), kShortestDoubleClick)) {
  setTransparency(false);
  setMouseEnabled(true);
  setBackground(background);
  // Setting the background marked the view dirty; the value starts apart
  // from the old value all the same.
  oldValue = 1.0f;
}

CControl::~CControl() = default;

bool CControl::isDirty() const { return oldValue != value || CView::isDirty(); }

void CControl::setDirty(bool dirty) {
  CView::setDirty(dirty);
  if (dirty) {
    oldValue = value == -1.0f ? 0.0f : -1.0f;
  } else {
    oldValue = value;
  }
}

bool CControl::isTypeOf(const char* name) const { return std::strcmp(name, "CControl") == 0 || CView::isTypeOf(name); }

void CControl::doIdle() {
  if (CFrame* frame = getFrame()) frame->doIdle();
}

void CControl::setValue(float newValue) { value = newValue; }

float CControl::getValue() const { return value; }

void CControl::setMin(float newMin) { vmin = newMin; }

float CControl::getMin() const { return vmin; }

void CControl::setMax(float newMax) { vmax = newMax; }

float CControl::getMax() const { return vmax; }

void CControl::setOldValue(float newOldValue) { oldValue = newOldValue; }

float CControl::getOldValue() const { return oldValue; }

void CControl::setDefaultValue(float newDefault) { defaultValue = newDefault; }

float CControl::getDefaultValue() const { return defaultValue; }

void CControl::setTag(int32_t newTag) { tag = newTag; }

int32_t CControl::getTag() const { return tag; }

void CControl::beginEdit() {
  if (CFrame* frame = getFrame()) {
    frame->setFocusView(this);
    frame->beginEdit(tag);
  }
}

void CControl::endEdit() {
  if (CFrame* frame = getFrame()) frame->endEdit(tag);
}

void CControl::setBackOffset(const CPoint& offset) { backOffset = offset; }

void CControl::copyBackOffset() { backOffset = CPoint(size.left, size.top); }

void CControl::setWheelStep(float step) { wheelStep = step; }

float CControl::getWheelStep() const { return wheelStep; }

void CControl::clampValue() {
  if (value > vmax) {
    value = vmax;
  } else if (value < vmin) {
    value = vmin;
  }
}

bool CControl::resetToDefault(CDrawContext* context, int32_t buttons) {
  if (buttons != (kLButton | kControl)) return false;
  beginEdit();
  value = defaultValue;
  reportIfDirty(context);
  endEdit();
  return true;
}

void CControl::reportIfDirty(CDrawContext* context) {
  if (isDirty() && listener) listener->valueChanged(context, this);
}

bool CControl::isDoubleClick() {
  const CFrame* frame = getFrame();
  const uint32_t now = frame ? frame->getTicks() : 0;
  if (lastClickTicks == -1 || lastClickTicks == 0) {
    lastClickTicks = static_cast<int32_t>(now);
    return false;
  }
  // Compared by the wrapped difference, so that tick counts past 2^31 and
  // the wrap of the 32-bit clock still find double clicks.
  if (now - static_cast<uint32_t>(lastClickTicks) < doubleClickTime) {
    lastClickTicks = 0;
    return true;
  }
  lastClickTicks = static_cast<int32_t>(now);
  return false;
}
