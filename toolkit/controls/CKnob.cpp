#include "toolkit/controls/CKnob.h"

#include <cmath>
#include <cstring>

#include "toolkit/drawing/CBitmap.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/controls/KnobMode.h"
#include "toolkit/base/Truncate.h"

namespace {

constexpr float kTwoPi = 6.2831855f;
// Pixels of linear drag that cover the whole range without zoom.
constexpr float kLinearRange = 200.0f;
// The handle sits this far inside the rim without a handle bitmap.
constexpr int32_t kPlainInset = 3;

int32_t insetFor(const CBitmap* handle) {
  if (!handle) return kPlainInset;
  return truncateToInt32(static_cast<float>(handle->getWidth()) * 0.5f + 2.5f);
}

}  // namespace

CKnob::CKnob(const CRect& rect, CControlListener* knobListener, int32_t knobTag, CBitmap* background, CBitmap* handle,
             const CPoint& backgroundOffset)
    : CControl(rect, knobListener, knobTag, background),
      offset(backgroundOffset),
      handleBitmap(handle),
      inset(insetFor(handle)),
      radius(static_cast<float>(rect.width()) / 2.0f) {
  if (handleBitmap) handleBitmap->retain();
  setWantsFocus(true);
  compute();
}

CKnob::~CKnob() {
  if (handleBitmap) handleBitmap->release();
}

bool CKnob::isTypeOf(const char* name) const { return std::strcmp(name, "CKnob") == 0 || CControl::isTypeOf(name); }

void CKnob::compute() {
  valueCoefficient = (vmax - vmin) / rangeAngle;
  valueIntercept = vmin - valueCoefficient * startAngle;
  halfAngle = (kTwoPi - std::fabs(rangeAngle)) / 2.0f;
  setDirty(true);
}

void CKnob::setStartAngle(float angle) {
  startAngle = angle;
  compute();
}

float CKnob::getStartAngle() const { return startAngle; }

void CKnob::setRangeAngle(float angle) {
  rangeAngle = angle;
  compute();
}

float CKnob::getRangeAngle() const { return rangeAngle; }

void CKnob::setInset(int32_t newInset) { inset = newInset; }

void CKnob::setShadowColor(const CColor& colour) {
  shadowColor = colour;
  setDirty(true);
}

void CKnob::setHandleColor(const CColor& colour) {
  handleColor = colour;
  setDirty(true);
}

void CKnob::setHandleBitmap(CBitmap* handle) {
  if (handleBitmap) handleBitmap->release();
  handleBitmap = handle;
  if (handleBitmap) handleBitmap->retain();
  inset = insetFor(handleBitmap);
}

void CKnob::setZoomFactor(float factor) { zoomFactor = factor; }

float CKnob::getZoomFactor() const { return zoomFactor; }

void CKnob::valueToPoint(CPoint& point) const {
  const float angle = (value - valueIntercept) / valueCoefficient;
  const float reach = radius - static_cast<float>(inset);
  point.h = truncateToInt32(radius + std::cos(angle) * reach + 0.5f);
  point.v = truncateToInt32(radius - std::sin(angle) * reach + 0.5f);
}

float CKnob::valueFromPoint(CPoint& point) const {
  float alpha = std::atan2(radius - static_cast<float>(point.v), static_cast<float>(point.h) - radius);
  if (alpha < 0.0f) alpha += kTwoPi;
  const float d = alpha - startAngle;

  if (rangeAngle < 0.0f) {
    float e = d - rangeAngle;
    float wrapped = e;
    if (wrapped < 0.0f) {
      wrapped += kTwoPi;
    } else if (wrapped > kTwoPi) {
      wrapped -= kTwoPi;
    }
    if (wrapped > halfAngle - rangeAngle) return vmax;
    if (wrapped > -rangeAngle) return vmin;
    if (e > halfAngle - rangeAngle) {
      e -= kTwoPi;
    } else if (e < -halfAngle) {
      e += kTwoPi;
    }
    return e * valueCoefficient + vmax;
  }

  float wrapped = d;
  if (wrapped < 0.0f) {
    wrapped += kTwoPi;
  } else if (wrapped > kTwoPi) {
    wrapped -= kTwoPi;
  }
  if (wrapped > rangeAngle + halfAngle) return vmin;
  if (wrapped > rangeAngle) return vmax;
  float e = d;
  if (e > rangeAngle + halfAngle) {
    e -= kTwoPi;
  } else if (e < -halfAngle) {
    e += kTwoPi;
  }
  return e * valueCoefficient + vmin;
}

// Drawing.

void CKnob::draw(CDrawContext* context) {
  if (CBitmap* background = getBackground()) {
    if (getTransparency()) {
      background->drawTransparent(context, size, offset);
    } else {
      background->draw(context, size, offset);
    }
  }
  drawHandle(context);
  setDirty(false);
}

void CKnob::drawHandle(CDrawContext* context) {
  CPoint where;
  valueToPoint(where);
  if (handleBitmap) {
    const int32_t width = handleBitmap->getWidth();
    const int32_t height = handleBitmap->getHeight();
    where.offset(size.left - width / 2, size.top - height / 2);
    handleBitmap->drawTransparent(context, CRect(where.h, where.v, where.h + width, where.v + height));
    return;
  }
  where.offset(size.left, size.top);
  CPoint centre(size.left + size.width() / 2, size.top + size.height() / 2);
  context->setFrameColor(shadowColor);
  context->moveTo(CPoint(centre).offset(-1, 0));
  context->lineTo(CPoint(where).offset(-1, 0));
  context->setFrameColor(handleColor);
  context->moveTo(CPoint(centre).offset(1, -1));
  context->lineTo(CPoint(where).offset(1, -1));
}

// Input.

void CKnob::mouse(CDrawContext* context, CPoint& where, int32_t buttons) {
  if (!getMouseEnabled() || !context) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (!(buttons & kLButton)) return;
  if (listener && (buttons & kModifierMask) && listener->modifierClicked(context, this, buttons) != 0) return;
  if (resetToDefault(context, buttons)) return;

  float entryValue = value;
  const float middle = (vmax - vmin) * 0.5f;
  float range = kLinearRange;
  float coefficient = (vmax - vmin) / range;
  int32_t rememberedButtons = buttons;

  const CFrame* frame = getFrame();
  const bool altHeld = (buttons & kAlt) != 0;
  const bool linearMode = frame && frame->getKnobMode() == kKnobModeLinear;
  const bool linear = linearMode != altHeld;

  CPoint firstPoint;
  float startValue = 0.0f;
  if (linear) {
    if (buttons & kShift) {
      range = kLinearRange * zoomFactor;
      coefficient = (vmax - vmin) / range;
    }
    firstPoint = where;
  } else {
    CPoint local(where.h - size.left, where.v - size.top);
    startValue = valueFromPoint(local);
  }

  CPoint lastPoint(-1, -1);
  beginEdit();
  do {
    buttons = context->getMouseButtons();
    if (where != lastPoint) {
      lastPoint = where;
      if (linear) {
        // Pixels up and to the right count positive.
        const float diff = static_cast<float>((firstPoint.v - where.v) + (where.h - firstPoint.h));
        if (buttons != rememberedButtons) {
          // A modifier pressed or let go mid-drag changes the scale from
          // here on; the entry value moves so that the value stays put.
          const float newRange = (buttons & kShift) ? kLinearRange * zoomFactor : kLinearRange;
          const float newCoefficient = (vmax - vmin) / newRange;
          entryValue += diff * (coefficient - newCoefficient);
          coefficient = newCoefficient;
          rememberedButtons = buttons;
        }
        value = entryValue + diff * coefficient;
        clampValue();
      } else {
        CPoint local(where.h - size.left, where.v - size.top);
        value = valueFromPoint(local);
        // A jump across the dead zone sticks to the end being approached.
        if (startValue - value > middle) {
          value = vmax;
        } else if (value - startValue > middle) {
          value = vmin;
        } else {
          startValue = value;
        }
      }
      reportIfDirty(context);
    }
    getMouseLocation(context, where);
    doIdle();
  } while (buttons & kLButton);
  endEdit();
}

bool CKnob::onWheel(CDrawContext* context, const CPoint& /*where*/, float distance) {
  if (!getMouseEnabled()) return false;
  const int32_t buttons = context ? context->getMouseButtons() : 0;
  if (buttons & kShift) {
    value += wheelStep * distance * 0.1f;
  } else {
    value += wheelStep * distance;
  }
  clampValue();
  if (isDirty() && listener) {
    beginEdit();
    listener->valueChanged(context, this);
    endEdit();
  }
  return true;
}

int32_t CKnob::onKeyDown(VstKeyCode& keyCode) {
  float distance = 0.0f;
  switch (keyCode.virt) {
    case VKEY_UP:
    case VKEY_RIGHT:
      distance = 1.0f;
      break;
    case VKEY_DOWN:
    case VKEY_LEFT:
      distance = -1.0f;
      break;
    default:
      return -1;
  }
  if (keyCode.modifier & MODIFIER_SHIFT) distance *= 0.1f;
  value += wheelStep * distance;
  clampValue();
  if (isDirty() && listener) {
    beginEdit();
    listener->valueChanged(nullptr, this);
    endEdit();
  }
  return 1;
}
