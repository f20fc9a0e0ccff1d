#include "toolkit/controls/CKickButton.h"

#include <cstring>

#include "toolkit/drawing/CBitmap.h"
#include "toolkit/drawing/CDrawContext.h"

CKickButton::CKickButton(const CRect& rect, CControlListener* buttonListener, int32_t buttonTag, int32_t imageHeight,
                         CBitmap* background, const CPoint& backgroundOffset)
    : CControl(rect, buttonListener, buttonTag, background), offset(backgroundOffset), frameHeight(imageHeight) {}

CKickButton::CKickButton(const CRect& rect, CControlListener* buttonListener, int32_t buttonTag, CBitmap* background,
                         const CPoint& backgroundOffset)
    : CControl(rect, buttonListener, buttonTag, background), offset(backgroundOffset), frameHeight(rect.height()) {}

CKickButton::~CKickButton() = default;

bool CKickButton::isTypeOf(const char* name) const {
  return std::strcmp(name, "CKickButton") == 0 || CControl::isTypeOf(name);
}

void CKickButton::draw(CDrawContext* context) {
  clampValue();
  CPoint source = offset;
  if (value != 0.0f) source.v += frameHeight;
  if (CBitmap* background = getBackground()) {
    if (getTransparency()) {
      background->drawTransparent(context, size, source);
    } else {
      background->draw(context, size, source);
    }
  }
  setDirty(false);
}

void CKickButton::mouse(CDrawContext* context, CPoint& where, int32_t buttons) {
  if (!getMouseEnabled() || !context) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (listener && (buttons & kModifierMask) && listener->modifierClicked(context, this, buttons) != 0) return;
  if (!(buttons & kLButton)) return;

  const float entryValue = value;
  beginEdit();
  if (buttons == kLButton) {
    // Follows the pointer until the button goes up or anything else is
    // pressed: pressed over the button, released elsewhere.
    do {
      if (!where.isInside(size)) {
        value = entryValue;
      } else {
        value = entryValue == 0.0f ? 1.0f : 0.0f;
      }
      reportIfDirty(context);
      getMouseLocation(context, where);
      doIdle();
      buttons = context->getMouseButtons();
    } while (buttons == kLButton);
  } else {
    value = value == 0.0f ? 1.0f : 0.0f;
    if (listener) listener->valueChanged(context, this);
  }
  // The press always ends at 0, wherever the button was let go.
  value = 0.0f;
  if (listener) listener->valueChanged(context, this);
  endEdit();
}
