#include "toolkit/controls/COnOffButton.h"

#include <cstring>

#include "toolkit/drawing/CBitmap.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/base/Truncate.h"

COnOffButton::COnOffButton(const CRect& rect, CControlListener* buttonListener, int32_t buttonTag, CBitmap* background,
                           int32_t buttonStyle)
    : CControl(rect, buttonListener, buttonTag, background), style(buttonStyle) {}

COnOffButton::~COnOffButton() = default;

bool COnOffButton::isTypeOf(const char* name) const {
  return std::strcmp(name, "COnOffButton") == 0 || CControl::isTypeOf(name);
}

int32_t COnOffButton::getStyle() const { return style; }

void COnOffButton::setStyle(int32_t newStyle) { style = newStyle; }

void COnOffButton::draw(CDrawContext* context) {
  if (CBitmap* background = getBackground()) {
    const CPoint source(0, value != 0.0f ? background->getHeight() / 2 : 0);
    if (getTransparency()) {
      background->drawTransparent(context, size, source);
    } else {
      background->draw(context, size, source);
    }
  }
  setDirty(false);
}

void COnOffButton::reportPress(CDrawContext* context) {
  beginEdit();
  listener->valueChanged(context, this);
  endEdit();
}

void COnOffButton::mouse(CDrawContext* context, CPoint& /*where*/, int32_t buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = context ? context->getMouseButtons() : 0;
  if (!(buttons & kLButton)) return;
  if (listener && (buttons & kModifierMask) && listener->modifierClicked(context, this, buttons) != 0) return;
  // Off when the value's integer part is 0: 0.7 switches on.
  value = truncateToInt32(value) == 0 ? 1.0f : 0.0f;
  if (listener && style == kOnOffTellBeforeIdle) reportPress(context);
  doIdle();
  if (listener && style == kOnOffTellAfterIdle) reportPress(context);
}
