#include "toolkit/windows/OleSession.h"

#include <ole2.h>

OleSession::OleSession() : thread_(GetCurrentThreadId()) {
  // S_FALSE (already initialised on this thread) counts too and must pair.
  initialised_ = SUCCEEDED(OleInitialize(nullptr));
}

OleSession::~OleSession() {
  // A host that destroys the window from another thread keeps the count it
  // had; undoing it here would undo somebody else's.
  if (initialised_ && GetCurrentThreadId() == thread_) OleUninitialize();
}
