// The pointer and modifier state as the X server reports it, asked through
// the connection of an open editor window. Without one nothing is held and
// the pointer rests at the origin.
#pragma once

#include "toolkit/views/MouseInput.h"

class X11Pointer : public MouseInputSource {
 public:
  bool isDown(InputKey key) const override;
  CPoint cursorPosition() const override;
  CPoint windowOrigin(void* window) const override;
};
