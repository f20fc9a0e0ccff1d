#include "toolkit/views/MouseInput.h"

#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/platform/Platform.h"

namespace {

// GUI-thread state, like the rest of the toolkit.
const MouseInputSource* gInjected = nullptr;
bool gSwapped = false;

}  // namespace

const MouseInputSource& mouseInput() { return gInjected ? *gInjected : systemMouseInput(); }

void setMouseInputSource(const MouseInputSource* source) { gInjected = source; }

bool mouseButtonsSwapped() { return gSwapped; }

void setMouseButtonsSwapped(bool swapped) { gSwapped = swapped; }

int32_t buttonsOfPress(PressedButton button, bool shift, bool control, bool alt) {
  int32_t buttons = 0;
  switch (button) {
    case PressedButton::kLeft:
      buttons = kLButton;
      break;
    case PressedButton::kMiddle:
      buttons = kMButton;
      break;
    case PressedButton::kRight:
      buttons = kRButton;
      break;
  }
  if (shift) buttons |= kShift;
  if (control) buttons |= kControl;
  if (alt) buttons |= kAlt;
  return buttons;
}
