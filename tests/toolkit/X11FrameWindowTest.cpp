// The frame's X11 child window on an X display: it sits in the host's
// window with the frame's size; events sent to it reach the frame in the
// idle pass with the event's own buttons (no button is held on the server
// when they are read), the wheel buttons scroll, exposes draw through cairo
// into the window; the pointer's state comes from the server; a host that
// destroys its window first, and a process without a display, are handled.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
// Xlib's None and Bool clash with names of the test framework.
#undef None
#undef Bool
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/linux/X11KeyCode.h"
#include "toolkit/platform/Platform.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/views/MouseInput.h"

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 90;
constexpr CColor kViewColour{10, 200, 30, 255};

class RecordingView : public CView {
 public:
  explicit RecordingView(const CRect& rect) : CView(rect) {}
  void draw(CDrawContext* context) override {
    ++paints;
    context->setFillColor(kViewColour);
    context->fillRect(size);
    setDirty(false);
  }
  void mouse(CDrawContext*, CPoint& where, int32_t buttons) override {
    presses.push_back(buttons);
    lastPoint = where;
    // A left press runs the test's drag, as a control's mouse loop would.
    if ((buttons & kLButton) && drag) {
      auto during = std::move(drag);
      during();
      presses.push_back(kDragEnded);
    }
  }
  bool onWheel(CDrawContext*, const CPoint&, int32_t, float distance) override {
    wheel.push_back(distance);
    return true;
  }
  static constexpr int32_t kDragEnded = -2;
  int paints = 0;
  std::vector<int32_t> presses;
  std::vector<float> wheel;
  CPoint lastPoint;
  std::function<void()> drag;
};

class X11FrameWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A virtual server started just before may take a moment to answer.
    for (int attempt = 0; attempt < 50 && !display; ++attempt) {
      display = XOpenDisplay(nullptr);
      if (!display) usleep(100 * 1000);
    }
    ASSERT_NE(display, nullptr) << "needs an X display";
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 30, 40, kWidth + 20, kHeight + 20, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
  }
  void TearDown() override {
    if (!display) return;
    if (parent) XDestroyWindow(display, parent);
    XCloseDisplay(display);
  }

  CFrame* openFrame() {
    auto* frame = new CFrame(CRect(0, 0, kWidth, kHeight), reinterpret_cast<void*>(parent), nullptr);
    view = new RecordingView(CRect(10, 10, 60, 50));
    frame->addView(view);
    return frame;
  }

  std::vector<Window> childrenOfParent() {
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, parent, &root, &up, &children, &count);
    std::vector<Window> result(children, children + count);
    if (children) XFree(children);
    return result;
  }

  void sendButton(Window window, unsigned int button, unsigned int state, int x, int y) {
    XEvent event{};
    event.xbutton.type = ButtonPress;
    event.xbutton.display = display;
    event.xbutton.window = window;
    event.xbutton.button = button;
    event.xbutton.state = state;
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.same_screen = True;
    XSendEvent(display, window, False, ButtonPressMask, &event);
    XSync(display, False);
  }

  Display* display = nullptr;
  Window parent = 0;
  RecordingView* view = nullptr;
};

TEST_F(X11FrameWindowTest, ChildWindowTakesEventsAndDrawsInTheIdlePass) {
  CFrame* frame = openFrame();
  const auto child = static_cast<Window>(reinterpret_cast<uintptr_t>(frame->getWindowHandle()));
  ASSERT_NE(child, 0u);
  EXPECT_EQ(childrenOfParent(), std::vector<Window>{child});
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, child, &attributes);
  EXPECT_EQ(attributes.width, kWidth);
  EXPECT_EQ(attributes.height, kHeight);
  EXPECT_EQ(attributes.map_state, IsViewable);

  // The expose of the mapping draws the views into the window.
  frame->idle();
  EXPECT_GE(view->paints, 1);
  XImage* image = XGetImage(display, child, 20, 20, 1, 1, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(XGetPixel(image, 0, 0) & 0xFFFFFFu, 0x0AC81Eu);
  XDestroyImage(image);

  // Presses arrive with the event's button and modifiers although the
  // server holds no button while they are read.
  sendButton(child, Button1, ControlMask, 20, 25);
  sendButton(child, Button3, ShiftMask | Mod1Mask, 30, 30);
  sendButton(child, Button2, 0, 30, 30);
  frame->idle();
  EXPECT_EQ(view->presses, (std::vector<int32_t>{kLButton | kControl, kRButton | kShift | kAlt, kMButton}));
  EXPECT_EQ(view->lastPoint, CPoint(30, 30));
  EXPECT_FALSE(mouseInput().isDown(InputKey::kLeftButton));

  // Buttons 4 and 5 are the wheel; the horizontal ones do nothing.
  sendButton(child, 4, 0, 20, 20);
  sendButton(child, 5, 0, 20, 20);
  sendButton(child, 6, 0, 20, 20);
  frame->idle();
  EXPECT_EQ(view->wheel, (std::vector<float>{1.0f, -1.0f}));
  EXPECT_EQ(view->presses.size(), 3u);

  // An expose during a drag is drawn by the pending-paint pass.
  const int paints = view->paints;
  XClearArea(display, child, 0, 0, 0, 0, True);
  XSync(display, False);
  dispatchPendingPaint();
  EXPECT_GT(view->paints, paints);

  // During a drag the idle passes paint what is exposed, also after a paint
  // of their own, while a right press and a wheel turn queued meanwhile
  // wait for the drag to end.
  view->presses.clear();
  view->wheel.clear();
  int paintsInDrag = 0;
  size_t pressesInDrag = 0;
  view->drag = [&] {
    const int before = view->paints;
    XClearArea(display, child, 0, 0, 0, 0, True);
    sendButton(child, Button3, 0, 20, 20);
    sendButton(child, 4, 0, 20, 20);
    frame->idle();
    dispatchPendingPaint();
    XClearArea(display, child, 0, 0, 0, 0, True);
    XSync(display, False);
    frame->idle();
    frame->idle();
    paintsInDrag = view->paints - before;
    pressesInDrag = view->presses.size();
  };
  sendButton(child, Button1, 0, 20, 20);
  frame->idle();
  EXPECT_GE(paintsInDrag, 2);
  EXPECT_EQ(pressesInDrag, 1u);
  EXPECT_EQ(view->presses, (std::vector<int32_t>{kLButton, RecordingView::kDragEnded, kRButton}));
  EXPECT_EQ(view->wheel, (std::vector<float>{1.0f}));

  // The pointer's position and the window's origin come from the server.
  XWarpPointer(display, 0, DefaultRootWindow(display), 0, 0, 0, 0, 70, 90);
  XSync(display, False);
  EXPECT_EQ(mouseInput().cursorPosition(), CPoint(70, 90));
  EXPECT_EQ(mouseInput().windowOrigin(frame->getWindowHandle()), CPoint(30, 40));
  auto* context = new CDrawContext(frame, nullptr, frame->getWindowHandle());
  CPoint where;
  context->getMouseLocation(where);
  EXPECT_EQ(where, CPoint(40, 50));
  context->release();

  frame->release();
  XSync(display, False);
  EXPECT_TRUE(childrenOfParent().empty());
  // Without an open window nothing is held and the pointer rests at 0,0.
  EXPECT_EQ(mouseInput().cursorPosition(), CPoint());
}

TEST_F(X11FrameWindowTest, RepeatedOpenAndCloseLeavesNoWindowsAndAHostDestroyingItsWindowFirstIsSurvived) {
  for (int i = 0; i < 50; ++i) {
    CFrame* frame = openFrame();
    frame->idle();
    frame->release();
  }
  XSync(display, False);
  EXPECT_TRUE(childrenOfParent().empty());

  CFrame* frame = openFrame();
  XDestroyWindow(display, parent);
  parent = 0;
  XSync(display, False);
  frame->idle();
  EXPECT_FALSE(frame->getOpenFlag());
  frame->release();  // destroying the gone window again raises no fatal error
}

TEST_F(X11FrameWindowTest, WithoutADisplayTheFrameHasNoWindow) {
  const std::string saved = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  unsetenv("DISPLAY");
  CFrame* frame = openFrame();
  EXPECT_EQ(frame->getWindowHandle(), nullptr);
  frame->idle();
  frame->release();
  setenv("DISPLAY", saved.c_str(), 1);
}

TEST(X11KeyCode, KeysBecomeVirtualCodesOrCharactersWithModifiers) {
  const VstKeyCode left = vstKeyCodeOf(XK_Left, 0);
  EXPECT_EQ(left.virt, 11);
  EXPECT_EQ(left.character, 0);
  EXPECT_EQ(vstKeyCodeOf(XK_Down, 0).virt, 14);
  EXPECT_EQ(vstKeyCodeOf(XK_KP_Up, 0).virt, 12);
  EXPECT_EQ(vstKeyCodeOf(XK_ISO_Left_Tab, ShiftMask).virt, 2);
  EXPECT_EQ(vstKeyCodeOf(XK_ISO_Left_Tab, ShiftMask).modifier, 1);
  EXPECT_EQ(vstKeyCodeOf(XK_Return, 0).virt, 4);
  EXPECT_EQ(vstKeyCodeOf(XK_space, 0).virt, 7);
  const VstKeyCode letter = vstKeyCodeOf(XK_A, ShiftMask | ControlMask | Mod1Mask);
  EXPECT_EQ(letter.virt, 0);
  EXPECT_EQ(letter.character, 'A');
  EXPECT_EQ(letter.modifier, 1 | 2 | 4);
  EXPECT_EQ(vstKeyCodeOf(XK_F5, 0).character, 0);
}

}  // namespace
