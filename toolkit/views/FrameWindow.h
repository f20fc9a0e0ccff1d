// The frame's native window, made by the platform's window layer. A frame
// without one (as in tests) draws into the contexts it is given and makes
// window-less contexts of its own.
#pragma once

#include <cstdint>

class FrameWindow {
 public:
  virtual ~FrameWindow() = default;
  // The native window handle (HWND, or an X11 window id).
  virtual void* handle() const = 0;
  // Shows one of the toolkit's cursor types; unknown types restore the
  // cursor that was current before the first change.
  virtual void setCursor(int32_t /*type*/) {}
  // Registers the window as a drop target (replacing an earlier
  // registration) or revokes it. Answers whether the window now is in the
  // requested state.
  virtual bool setDropActive(bool /*active*/) { return false; }
  // Resizes the window alone (the host has resized its own).
  virtual void resize(int32_t /*width*/, int32_t /*height*/) {}
  // Resizes the window and the host's windows around it, each by the room
  // it has around its child. Answers false when the walk stopped at a window
  // with too much room around its child to be one of the host's frames.
  virtual bool resizeWithAncestors(int32_t /*width*/, int32_t /*height*/) { return true; }
  // Handles the window's pending events, where the platform delivers them
  // to the frame's idle pass rather than through a window procedure.
  virtual void processEvents() {}
  // The native window is being destroyed by the system (its parent went
  // first): registrations that need the window go now.
  virtual void windowDestroying() {}
  // Asks the window to have the frame run its posted calls from a message
  // of its own, once the event being handled has returned. False where the
  // platform has no such message: the frame's idle pass runs them then.
  virtual bool wakeForPostedCalls() { return false; }
};
