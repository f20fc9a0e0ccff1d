// The frame's native child window on Linux: an X11 window inside the host's
// window, on a display connection of its own that lives exactly as long as
// the window. Its events are read in the frame's idle pass, on the host's
// GUI thread: expose draws, button presses reach the frame with the
// event's own button and modifiers, the wheel buttons scroll, keys go to
// the frame's key handlers.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "toolkit/base/CRect.h"
#include "toolkit/views/FrameWindow.h"

class CFrame;

class X11FrameWindow : public FrameWindow {
 public:
  // Null when no display answers or the parent is not a window.
  static std::unique_ptr<X11FrameWindow> create(CFrame& frame, Window parent, int32_t width, int32_t height);
  ~X11FrameWindow() override;
  X11FrameWindow(const X11FrameWindow&) = delete;
  X11FrameWindow& operator=(const X11FrameWindow&) = delete;

  void* handle() const override;
  void resize(int32_t width, int32_t height) override;
  void processEvents() override;

  Display* display() const { return display_; }
  Visual* visual() const { return visual_; }
  Window window() const { return window_; }

  // The open window with this handle, or null.
  static X11FrameWindow* find(void* handle);
  // Any open window (for the pointer's state), or null.
  static X11FrameWindow* any();
  // Draws what the pending expose events of every open window ask for.
  static void processAllExposures();

 private:
  X11FrameWindow(CFrame& frame, Display* display, Window window, Visual* visual, int32_t width, int32_t height);
  // Handles one event; expose events collect their area until the last of a
  // series arrives.
  void handle(XEvent& event);
  void processExposures();
  void onButtonPress(const XButtonEvent& press);
  void onKey(XKeyEvent& key, bool down);
  void paint(const CRect& area);

  CFrame& frame_;
  Display* display_;
  Window window_;
  Visual* visual_;
  int32_t width_;
  int32_t height_;
  CRect exposed_;
  bool hasExposed_ = false;
  // How many events are in the frame's hands: a control tracking the mouse
  // runs idle passes, which then draw exposures and nothing else; presses,
  // the wheel and keys wait in the queue until the outermost event is done.
  int dispatching_ = 0;
  bool destroyed_ = false;
};
