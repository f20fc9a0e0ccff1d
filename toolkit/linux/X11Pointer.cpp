#include "toolkit/linux/X11Pointer.h"

#include <X11/Xlib.h>

#include "toolkit/linux/X11FrameWindow.h"

namespace {

struct PointerState {
  bool valid = false;
  int rootX = 0;
  int rootY = 0;
  unsigned int mask = 0;
};

PointerState queryPointer() {
  PointerState state;
  X11FrameWindow* window = X11FrameWindow::any();
  if (!window) return state;
  Window root = 0;
  Window child = 0;
  int x = 0;
  int y = 0;
  state.valid = XQueryPointer(window->display(), window->window(), &root, &child, &state.rootX, &state.rootY, &x, &y,
                              &state.mask) != 0;
  return state;
}

unsigned int maskOf(InputKey key) {
  switch (key) {
    case InputKey::kLeftButton:
      return Button1Mask;
    case InputKey::kMiddleButton:
      return Button2Mask;
    case InputKey::kRightButton:
      return Button3Mask;
    case InputKey::kShift:
      return ShiftMask;
    case InputKey::kControl:
      return ControlMask;
    case InputKey::kAlt:
      return Mod1Mask;
  }
  return 0;
}

}  // namespace

bool X11Pointer::isDown(InputKey key) const {
  const PointerState state = queryPointer();
  return state.valid && (state.mask & maskOf(key)) != 0;
}

CPoint X11Pointer::cursorPosition() const {
  const PointerState state = queryPointer();
  return state.valid ? CPoint(state.rootX, state.rootY) : CPoint();
}

CPoint X11Pointer::windowOrigin(void* handle) const {
  X11FrameWindow* window = X11FrameWindow::find(handle);
  if (!window) return CPoint();
  int x = 0;
  int y = 0;
  Window child = 0;
  XTranslateCoordinates(window->display(), window->window(), DefaultRootWindow(window->display()), 0, 0, &x, &y,
                        &child);
  return CPoint(x, y);
}
