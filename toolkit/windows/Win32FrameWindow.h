// The frame's native child window on Windows: made from the counted window
// class inside the host's window, with the frame in its user data; shows
// the toolkit's cursors, takes drops, and resizes itself and the host's
// windows around it.
#pragma once

#include <windows.h>

#include <memory>

#include "toolkit/views/FrameWindow.h"
#include "toolkit/windows/OleSession.h"

struct IDropTarget;

class CFrame;

class Win32FrameWindow : public FrameWindow {
 public:
  // Null when the class or the window cannot be made.
  static std::unique_ptr<Win32FrameWindow> create(CFrame& frame, HWND parent, int32_t width, int32_t height);
  ~Win32FrameWindow() override;
  Win32FrameWindow(const Win32FrameWindow&) = delete;
  Win32FrameWindow& operator=(const Win32FrameWindow&) = delete;

  void* handle() const override { return window_; }
  void setCursor(int32_t type) override;
  bool setDropActive(bool active) override;
  void resize(int32_t width, int32_t height) override;
  bool resizeWithAncestors(int32_t width, int32_t height) override;
  // The window is being destroyed (the host destroyed its own first): the
  // drop registration must go while the window still exists.
  void windowDestroying() override;
  bool wakeForPostedCalls() override;

 private:
  Win32FrameWindow(CFrame& frame, HWND window) : frame_(frame), window_(window) {}

  // Begun on the thread that makes the window, before the drop
  // registration, and ended after the window is gone.
  OleSession ole_;
  CFrame& frame_;
  HWND window_;
  // Our own reference to the registered target.
  IDropTarget* dropTarget_ = nullptr;
  bool cursorSaved_ = false;
  HCURSOR savedCursor_ = nullptr;
};
