// The OLE services (drag and drop, shell links) of the thread that makes a
// frame's window, begun with the window and ended with it. The end runs only
// where the beginning succeeded, and only on the same thread: a thread
// already in the multithreaded apartment refuses OLE, and ending it there
// anyway, or on another thread, would take away an initialisation that
// belongs to the host.
#pragma once

#include <windows.h>

class OleSession {
 public:
  OleSession();
  ~OleSession();
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

  // Whether OLE runs on this session's thread.
  bool active() const { return initialised_; }

 private:
  bool initialised_ = false;
  DWORD thread_ = 0;
};
