// What a control reports to: every value change, and clicks with a
// modifier key held. Implemented by the editor.
#pragma once

#include <cstdint>

class CControl;
class CDrawContext;

class CControlListener {
 public:
  virtual ~CControlListener() = default;
  // The control's value changed; `context` is null for key input.
  virtual void valueChanged(CDrawContext* context, CControl* control) = 0;
  // A click with a modifier bit in `buttons`. A non-zero result means the
  // listener handled it and the control does nothing more.
  virtual int32_t modifierClicked(CDrawContext* context, CControl* control, int32_t buttons) = 0;
};
