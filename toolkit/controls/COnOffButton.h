// A toggle button: each press switches it between 0 and 1. Its bitmap holds
// the off image above the on image, each half the bitmap's height.
#pragma once

#include <cstdint>

#include "toolkit/controls/CControl.h"

// When the listener hears of a press: after the idle pass that follows it,
// or before.
enum COnOffStyle : int32_t { kOnOffTellAfterIdle = 0, kOnOffTellBeforeIdle = 1 };

class COnOffButton : public CControl {
 public:
  COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
               int32_t style = kOnOffTellAfterIdle);
  ~COnOffButton() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
  bool isTypeOf(const char* name) const override;

  virtual int32_t getStyle() const;
  virtual void setStyle(int32_t newStyle);

 protected:
  // Tells the listener in a gesture of its own.
  void reportPress(CDrawContext* context);

  int32_t style;
};
