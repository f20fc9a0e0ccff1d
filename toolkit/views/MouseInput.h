// Where the toolkit learns the state of the mouse buttons, the modifier keys
// and the pointer. The system's source answers by default; tests install
// their own to press buttons or move the pointer without a real one.
#pragma once

#include <cstdint>

#include "toolkit/base/CPoint.h"

// Physical keys and buttons, before any swapping of the mouse buttons.
enum class InputKey { kLeftButton, kMiddleButton, kRightButton, kShift, kControl, kAlt };

class MouseInputSource {
 public:
  virtual ~MouseInputSource() = default;
  // Whether the key or button is held down right now.
  virtual bool isDown(InputKey key) const = 0;
  // The pointer in screen coordinates.
  virtual CPoint cursorPosition() const = 0;
  // The screen position of a native window's top-left corner; (0,0) for null.
  virtual CPoint windowOrigin(void* window) const = 0;
};

// The source in use: the injected one, or the system's.
const MouseInputSource& mouseInput();
// Installs a source (null goes back to the system's). The caller keeps it
// alive while installed.
void setMouseInputSource(const MouseInputSource* source);

// Whether the system reports swapped mouse buttons: the physical right
// button is then the logical left one. Only polled state (isDown) is
// physical; button events already name the logical button.
bool mouseButtonsSwapped();
void setMouseButtonsSwapped(bool swapped);

// The button of a press as its event names it: the logical one (a
// left-handed user's primary button arrives as kLeft).
enum class PressedButton { kLeft, kMiddle, kRight };

// The button and modifier bits of a press as the event itself carries them,
// for events handled after the button may already be up again. The event's
// button is taken as it comes: swapping it again would turn a left-handed
// user's primary click into a secondary one.
int32_t buttonsOfPress(PressedButton button, bool shift, bool control, bool alt);
