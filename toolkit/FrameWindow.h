// The frame's native window, made by the platform's window layer. A frame
// without one (as in tests) draws into the contexts it is given and makes
// window-less contexts of its own.
#pragma once

class FrameWindow {
 public:
  virtual ~FrameWindow() = default;
  // The native window handle (HWND, or an X11 window id).
  virtual void* handle() const = 0;
};
