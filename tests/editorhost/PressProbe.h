// A view of the test editor that reports each press: the buttons it was
// given go to a parameter (as buttons / 64), framed by a gesture, and it
// follows the mouse until the left button is up, idling as controls do.
#pragma once

#include "toolkit/views/CView.h"

class AudioEffect;

class PressProbe : public CView {
 public:
  PressProbe(const CRect& rect, AudioEffect* effect, int32_t tag);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, int32_t buttons) override;

 private:
  AudioEffect* effect_;
  int32_t tag_;
};
