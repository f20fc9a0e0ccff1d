#include "toolkit/linux/X11KeyCode.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace {

// The virtual keys the toolkit knows, and the modifier bits.
enum : unsigned char {
  kVirtBack = 1,
  kVirtTab,
  kVirtClear,
  kVirtReturn,
  kVirtPause,
  kVirtEscape,
  kVirtSpace,
  kVirtNext,
  kVirtEnd,
  kVirtHome,
  kVirtLeft,
  kVirtUp,
  kVirtRight,
  kVirtDown
};
constexpr unsigned char kModifierShift = 1;
constexpr unsigned char kModifierAlternate = 2;
// The control key, as the Windows build reports it.
constexpr unsigned char kModifierCommand = 4;

unsigned char virtualKeyOf(unsigned long keysym) {
  switch (keysym) {
    case XK_BackSpace:
      return kVirtBack;
    case XK_Tab:
    case XK_ISO_Left_Tab:
      return kVirtTab;
    case XK_Clear:
      return kVirtClear;
    case XK_Return:
    case XK_KP_Enter:
      return kVirtReturn;
    case XK_Pause:
      return kVirtPause;
    case XK_Escape:
      return kVirtEscape;
    case XK_space:
      return kVirtSpace;
    case XK_Next:
    case XK_KP_Next:
      return kVirtNext;
    case XK_End:
    case XK_KP_End:
      return kVirtEnd;
    case XK_Home:
    case XK_KP_Home:
      return kVirtHome;
    case XK_Left:
    case XK_KP_Left:
      return kVirtLeft;
    case XK_Up:
    case XK_KP_Up:
      return kVirtUp;
    case XK_Right:
    case XK_KP_Right:
      return kVirtRight;
    case XK_Down:
    case XK_KP_Down:
      return kVirtDown;
    default:
      return 0;
  }
}

}  // namespace

VstKeyCode vstKeyCodeOf(unsigned long keysym, unsigned int state) {
  VstKeyCode code{};
  code.virt = virtualKeyOf(keysym);
  // Printable Latin-1 keys carry their character; keys with a virtual code
  // carry none, as on Windows.
  if (code.virt == 0 && keysym >= 0x20 && keysym <= 0xFF) code.character = static_cast<VstInt32>(keysym);
  if (state & ShiftMask) code.modifier |= kModifierShift;
  if (state & Mod1Mask) code.modifier |= kModifierAlternate;
  if (state & ControlMask) code.modifier |= kModifierCommand;
  return code;
}
