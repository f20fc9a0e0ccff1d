// A momentary button: 1 while pressed with the pointer over it, and a final
// 0 when the press ends wherever it ends. Its bitmap holds the released
// image above the pressed one.
#pragma once

#include <cstdint>

#include "toolkit/controls/CControl.h"

class CKickButton : public CControl {
 public:
  CKickButton(const CRect& size, CControlListener* listener, int32_t tag, int32_t frameHeight, CBitmap* background,
              const CPoint& offset = CPoint());
  // Images as high as the control.
  CKickButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
              const CPoint& offset = CPoint());
  ~CKickButton() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
  bool isTypeOf(const char* name) const override;

 protected:
  CPoint offset;
  int32_t frameHeight;
};
