#include "toolkit/linux/X11FrameWindow.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/linux/X11KeyCode.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/views/MouseInput.h"

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            KeyReleaseMask | StructureNotifyMask;
// X's wheel: buttons 4 (away from the user) and 5 (towards), one notch each.
constexpr unsigned int kWheelUp = 4;
constexpr unsigned int kWheelDown = 5;

// The open windows. Changed on the GUI thread; the error handler reads them
// from whichever thread meets an error, so changes and that read hold the
// lock.
std::vector<X11FrameWindow*>& openWindows() {
  static std::vector<X11FrameWindow*> windows;
  return windows;
}

std::mutex& openWindowsLock() {
  static std::mutex lock;
  return lock;
}

int ignoreError(Display*, XErrorEvent*) { return 0; }

// While editor windows are open, errors on their connections are ignored
// (the host may destroy its window, and ours with it, before it closes the
// editor, and Xlib's default handler would end the host); errors on every
// other connection go on to the handler that was installed before.
XErrorHandler gHostErrorHandler = nullptr;

int editorErrorHandler(Display* display, XErrorEvent* error) {
  XErrorHandler host;
  {
    const std::lock_guard<std::mutex> lock(openWindowsLock());
    for (const X11FrameWindow* window : openWindows())
      if (window->display() == display) return 0;
    host = gHostErrorHandler;
  }
  return host ? host(display, error) : 0;
}

void addOpenWindow(X11FrameWindow* window) {
  const std::lock_guard<std::mutex> lock(openWindowsLock());
  if (openWindows().empty()) gHostErrorHandler = XSetErrorHandler(editorErrorHandler);
  openWindows().push_back(window);
}

void removeOpenWindow(X11FrameWindow* window) {
  const std::lock_guard<std::mutex> lock(openWindowsLock());
  auto& windows = openWindows();
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
  if (!windows.empty()) return;
  // The host's handler comes back unless the host has set another since.
  const XErrorHandler current = XSetErrorHandler(gHostErrorHandler);
  if (current != editorErrorHandler) XSetErrorHandler(current);
  gHostErrorHandler = nullptr;
}

// Marks an event as being in the frame's hands for as long as it is; nested
// events (a paint inside a drag) leave the outer mark in place.
class Dispatching {
 public:
  explicit Dispatching(int& depth) : depth_(depth) { ++depth_; }
  ~Dispatching() { --depth_; }
  Dispatching(const Dispatching&) = delete;
  Dispatching& operator=(const Dispatching&) = delete;

 private:
  int& depth_;
};

bool pressedButtonOf(unsigned int button, PressedButton& pressed) {
  switch (button) {
    case Button1:
      pressed = PressedButton::kLeft;
      return true;
    case Button2:
      pressed = PressedButton::kMiddle;
      return true;
    case Button3:
      pressed = PressedButton::kRight;
      return true;
    default:
      return false;
  }
}

}  // namespace

std::unique_ptr<X11FrameWindow> X11FrameWindow::create(CFrame& frame, Window parent, int32_t width, int32_t height) {
  if (parent == 0 || width < 1 || height < 1) return nullptr;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  // A window id that is not a window would end the host through Xlib's
  // default error handler: it is checked first, with errors ignored.
  XSync(display, False);
  XErrorHandler previous = XSetErrorHandler(ignoreError);
  XWindowAttributes parentAttributes{};
  const Status found = XGetWindowAttributes(display, parent, &parentAttributes);
  XSetErrorHandler(previous);
  if (!found) {
    XCloseDisplay(display);
    return nullptr;
  }
  XSetWindowAttributes attributes{};
  // No background: every pixel comes from the frame's drawing, so nothing
  // flickers between the server's clearing and the expose.
  attributes.background_pixmap = None;
  attributes.event_mask = kEventMask;
  const Window window =
      XCreateWindow(display, parent, 0, 0, static_cast<unsigned int>(width), static_cast<unsigned int>(height), 0,
                    CopyFromParent, InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
  XMapWindow(display, window);
  XFlush(display);
  XWindowAttributes own{};
  XGetWindowAttributes(display, window, &own);
  auto result = std::unique_ptr<X11FrameWindow>(new X11FrameWindow(frame, display, window, own.visual, width, height));
  addOpenWindow(result.get());
  return result;
}

X11FrameWindow::X11FrameWindow(CFrame& frame, Display* display, Window window, Visual* visual, int32_t width,
                               int32_t height)
    : frame_(frame), display_(display), window_(window), visual_(visual), width_(width), height_(height) {}

X11FrameWindow::~X11FrameWindow() {
  // Still listed, so that an error for a window the host destroyed first
  // is ignored.
  if (!destroyed_) XDestroyWindow(display_, window_);
  XSync(display_, False);
  removeOpenWindow(this);
  XCloseDisplay(display_);
}

void* X11FrameWindow::handle() const { return reinterpret_cast<void*>(window_); }

void X11FrameWindow::resize(int32_t width, int32_t height) {
  if (width < 1 || height < 1) return;
  width_ = width;
  height_ = height;
  XResizeWindow(display_, window_, static_cast<unsigned int>(width), static_cast<unsigned int>(height));
  XFlush(display_);
}

X11FrameWindow* X11FrameWindow::find(void* handle) {
  for (X11FrameWindow* window : openWindows())
    if (window->handle() == handle) return window;
  return nullptr;
}

X11FrameWindow* X11FrameWindow::any() {
  const auto& windows = openWindows();
  return windows.empty() ? nullptr : windows.front();
}

void X11FrameWindow::processAllExposures() {
  // A window may close while another draws: the list is copied first.
  const std::vector<X11FrameWindow*> windows = openWindows();
  for (X11FrameWindow* window : windows)
    if (find(window->handle()) == window) window->processExposures();
}

void X11FrameWindow::processEvents() {
  if (destroyed_) return;
  if (dispatching_ > 0) {
    processExposures();
    return;
  }
  while (!destroyed_ && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    handle(event);
  }
  XFlush(display_);
}

void X11FrameWindow::processExposures() {
  if (destroyed_) return;
  XEvent event;
  while (XCheckTypedWindowEvent(display_, window_, Expose, &event)) handle(event);
  XFlush(display_);
}

void X11FrameWindow::handle(XEvent& event) {
  if (event.xany.window != window_) return;
  switch (event.type) {
    case Expose: {
      const XExposeEvent& expose = event.xexpose;
      const CRect area(expose.x, expose.y, expose.x + expose.width, expose.y + expose.height);
      if (hasExposed_) {
        exposed_ = CRect(std::min(exposed_.left, area.left), std::min(exposed_.top, area.top),
                         std::max(exposed_.right, area.right), std::max(exposed_.bottom, area.bottom));
      } else {
        exposed_ = area;
        hasExposed_ = true;
      }
      if (expose.count == 0) {
        hasExposed_ = false;
        paint(exposed_);
      }
      break;
    }
    case ButtonPress:
      onButtonPress(event.xbutton);
      break;
    case KeyPress:
      onKey(event.xkey, true);
      break;
    case KeyRelease:
      onKey(event.xkey, false);
      break;
    case ConfigureNotify:
      width_ = event.xconfigure.width;
      height_ = event.xconfigure.height;
      break;
    case DestroyNotify:
      destroyed_ = true;
      frame_.windowDestroyed();
      break;
    default:
      // Releases and motion: the controls poll the pointer while they track.
      break;
  }
}

void X11FrameWindow::paint(const CRect& area) {
  auto* context = new CDrawContext(&frame_, nullptr, handle());
  {
    const Dispatching inFrame(dispatching_);
    frame_.drawRect(context, area);
  }
  context->release();
}

void X11FrameWindow::onButtonPress(const XButtonEvent& press) {
  CPoint where(press.x, press.y);
  auto* context = new CDrawContext(&frame_, nullptr, handle());
  const Dispatching inFrame(dispatching_);
  PressedButton button;
  if (press.button == kWheelUp || press.button == kWheelDown) {
    frame_.onWheel(context, where, press.button == kWheelUp ? 1.0f : -1.0f);
  } else if (pressedButtonOf(press.button, button)) {
    // The event's own button and modifiers: by the time it is read a quick
    // click may be over, and the pointer's state would show no button.
    frame_.mouse(context, where,
                 buttonsOfPress(button, (press.state & ShiftMask) != 0, (press.state & ControlMask) != 0,
                                (press.state & Mod1Mask) != 0));
  }
  context->release();
}

void X11FrameWindow::onKey(XKeyEvent& key, bool down) {
  char text[8];
  KeySym keysym = NoSymbol;
  XLookupString(&key, text, sizeof(text), &keysym, nullptr);
  VstKeyCode code = vstKeyCodeOf(keysym, key.state);
  const Dispatching inFrame(dispatching_);
  if (down) {
    frame_.onKeyDown(code);
  } else {
    frame_.onKeyUp(code);
  }
}
