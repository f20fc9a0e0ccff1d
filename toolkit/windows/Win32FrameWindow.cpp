#include "toolkit/windows/Win32FrameWindow.h"

#include <ole2.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/ModuleHandle.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/windows/FrameDropTarget.h"
#include "toolkit/windows/FrameWindowClass.h"
#include "toolkit/windows/FrameWindowProc.h"

namespace {

// A walk up the host's windows stops where the room around a child grows
// beyond this: such a window is not a frame around the editor.
constexpr int32_t kMaxAncestorExtra = 80;

// The system cursor of each toolkit cursor type; 0 restores the saved one.
WORD cursorIdOf(int32_t type) {
  switch (type) {
    case 1:
      return 32514;  // wait
    case 2:
      return 32644;  // size west-east
    case 3:
      return 32645;  // size north-south
    case 4:
      return 32646;  // size all
    case 5:
      return 32643;  // size north-east/south-west
    case 6:
      return 32642;  // size north-west/south-east
    case 8:
      return 32648;  // no
    case 9:
      return 32649;  // hand
    default:
      return 0;
  }
}

SIZE sizeOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void resizeWindow(HWND window, int32_t width, int32_t height) {
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool isMdiClient(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  return std::strcmp(name, "MDIClient") == 0;
}

}  // namespace

std::unique_ptr<Win32FrameWindow> Win32FrameWindow::create(CFrame& frame, HWND parent, int32_t width, int32_t height) {
  const char* className = acquireFrameWindowClass();
  if (!className) return nullptr;
  HWND window =
      CreateWindowExA(0, className, "Window", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, width,
                      height, parent, nullptr, static_cast<HINSTANCE>(moduleInstanceHandle()), nullptr);
  if (!window) {
    releaseFrameWindowClass();
    return nullptr;
  }
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&frame));
  return std::unique_ptr<Win32FrameWindow>(new Win32FrameWindow(frame, window));
}

Win32FrameWindow::~Win32FrameWindow() {
  setCursor(0);
  setDropActive(false);
  // No message reaches the frame once its window is on its way out.
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
  releaseFrameWindowClass();
}

void Win32FrameWindow::setCursor(int32_t type) {
  if (!cursorSaved_) {
    savedCursor_ = GetCursor();
    cursorSaved_ = true;
  }
  const WORD id = cursorIdOf(type);
  SetCursor(id ? LoadCursorA(nullptr, MAKEINTRESOURCEA(id)) : savedCursor_);
}

bool Win32FrameWindow::setDropActive(bool active) {
  if (dropTarget_) {
    // Revoked while the window exists (see windowDestroying), the
    // registration's reference goes back; the drag in progress may keep the
    // target a while, cut off from the frame.
    RevokeDragDrop(window_);
    detachFrameDropTarget(dropTarget_);
    dropTarget_->Release();
    dropTarget_ = nullptr;
  }
  if (!active) return true;
  if (!ole_.active()) return false;
  IDropTarget* target = newFrameDropTarget(&frame_);
  target->AddRef();
  if (FAILED(RegisterDragDrop(window_, target))) {
    target->Release();
    return false;
  }
  dropTarget_ = target;
  return true;
}

void Win32FrameWindow::windowDestroying() { setDropActive(false); }

bool Win32FrameWindow::wakeForPostedCalls() { return PostMessageA(window_, kRunPostedCallsMessage, 0, 0) != FALSE; }

void Win32FrameWindow::resize(int32_t width, int32_t height) { resizeWindow(window_, width, height); }

bool Win32FrameWindow::resizeWithAncestors(int32_t width, int32_t height) {
  // The room each ancestor has around its child is measured before any
  // window changes size.
  struct Step {
    HWND window;
    int32_t extraWidth;
    int32_t extraHeight;
  };
  std::vector<Step> steps;
  const int32_t dialogFrame = GetSystemMetrics(SM_CYDLGFRAME);
  int32_t extraWidth = 0;
  int32_t extraHeight = 0;
  bool stoppedEarly = false;
  HWND child = window_;
  for (HWND parent = GetParent(child); parent && !isMdiClient(parent); parent = GetParent(child)) {
    const SIZE outer = sizeOf(parent);
    const SIZE inner = sizeOf(child);
    extraWidth += std::max<int32_t>(0, outer.cx - inner.cx);
    extraHeight += std::max<int32_t>(0, outer.cy - inner.cy);
    if (extraWidth > kMaxAncestorExtra || extraHeight > kMaxAncestorExtra) {
      stoppedEarly = true;
      break;
    }
    steps.push_back(Step{parent, extraWidth, extraHeight});
    if (extraWidth == 2 * dialogFrame) break;
    child = parent;
  }
  resizeWindow(window_, width, height);
  for (const Step& step : steps) resizeWindow(step.window, width + step.extraWidth, height + step.extraHeight);
  return !stoppedEarly;
}
