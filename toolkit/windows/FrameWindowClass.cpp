#include "toolkit/windows/FrameWindowClass.h"

#include <cstdio>

#include "host/ModuleHandle.h"
#include "toolkit/views/MouseInput.h"
#include "toolkit/windows/FrameWindowProc.h"

namespace {

// A global class, so that other modules' windows may be made from it too.
constexpr UINT kClassStyle = 0x4000;

int gUsers = 0;
// "Plugin" and the module's instance handle: each loaded copy of the
// library has a class of its own.
char gClassName[64] = {};

HINSTANCE instance() { return static_cast<HINSTANCE>(moduleInstanceHandle()); }

}  // namespace

const char* acquireFrameWindowClass() {
  if (gUsers == 0) {
    std::snprintf(gClassName, sizeof(gClassName), "Plugin%p", moduleInstanceHandle());
    WNDCLASSA windowClass{};
    windowClass.style = kClassStyle;
    windowClass.lpfnWndProc = frameWindowProc;
    windowClass.hInstance = instance();
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = gClassName;
    if (!RegisterClassA(&windowClass)) return nullptr;
    setMouseButtonsSwapped(GetSystemMetrics(SM_SWAPBUTTON) > 0);
  }
  ++gUsers;
  return gClassName;
}

void releaseFrameWindowClass() {
  if (gUsers == 0) return;
  if (--gUsers == 0) UnregisterClassA(gClassName, instance());
}

int frameWindowClassUsers() { return gUsers; }
