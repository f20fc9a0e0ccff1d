// The frame's child window under Wine with an X display: the counted window
// class, the window's own properties, the drop registration and cursors,
// the messages of its window procedure (a press's own buttons, the wheel in
// screen coordinates, painting, destruction) and resizing through the host
// or the host's windows.
#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "host/AudioEffectX.h"
#include "host/ModuleHandle.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/editorbase/AEffGUIEditor.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/views/MouseInput.h"
#include "toolkit/windows/FrameDropTarget.h"
#include "toolkit/windows/FrameWindowClass.h"

namespace {

constexpr const char* kParentClass = "UlmarTestParent";

std::string frameClassName() {
  char name[64];
  std::snprintf(name, sizeof(name), "Plugin%p", moduleInstanceHandle());
  return name;
}

bool classRegistered(const std::string& name) {
  WNDCLASSEXA info{};
  info.cbSize = sizeof(info);
  return GetClassInfoExA(static_cast<HINSTANCE>(moduleInstanceHandle()), name.c_str(), &info) != FALSE;
}

HWND frameWindow(CFrame* frame) { return static_cast<HWND>(frame->getWindowHandle()); }

// A top-level window whose client area is width x height.
HWND makeParent(int width, int height) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kParentClass;
    registered = RegisterClassA(&windowClass) != 0;
  }
  // A bordered pop-up: no window manager waits on it when it goes.
  constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
  RECT outer{0, 0, width, height};
  AdjustWindowRect(&outer, kStyle, FALSE);
  return CreateWindowExA(0, kParentClass, "parent", kStyle | WS_VISIBLE, 40, 40, outer.right - outer.left,
                         outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

SIZE clientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right, r.bottom};
}

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// A drop target of the test's own, for checking whose registration holds.
class NullTarget : public IDropTarget {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
};

class RecordingView : public CView {
 public:
  explicit RecordingView(const CRect& rect) : CView(rect) {}
  void draw(CDrawContext* context) override {
    ++paints;
    CView::draw(context);
  }
  void mouse(CDrawContext*, CPoint& where, int32_t buttons) override {
    presses.push_back(buttons);
    lastPoint = where;
  }
  bool onWheel(CDrawContext*, const CPoint& where, int32_t, float distance) override {
    wheel.push_back(distance);
    lastPoint = where;
    return true;
  }
  int paints = 0;
  std::vector<int32_t> presses;
  std::vector<float> wheel;
  CPoint lastPoint;
};

VstInt32 gSizeWindowAnswer = 0;
std::vector<std::string> gHostLog;

VstIntPtr VSTCALLBACK sizingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float) {
  if (opcode == audioMasterVersion) return 2400;
  if (opcode == audioMasterCanDo) {
    gHostLog.push_back(std::string("canDo ") + static_cast<const char*>(ptr));
    return gSizeWindowAnswer;
  }
  if (opcode == audioMasterSizeWindow) {
    gHostLog.push_back("sizeWindow " + std::to_string(index) + "x" + std::to_string(value));
    return gSizeWindowAnswer;
  }
  return 0;
}

class SizingEffect : public AudioEffectX {
 public:
  SizingEffect() : AudioEffectX(sizingHost, 1, 1) {}
  void processReplacing(float**, float**, VstInt32) override {}
};

class PlainEditor : public AEffGUIEditor {
 public:
  using AEffGUIEditor::AEffGUIEditor;
};

class FrameWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setModuleInstanceHandle(GetModuleHandleA(nullptr));
    OleInitialize(nullptr);
    parent = makeParent(300, 200);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override {
    if (IsWindow(parent)) DestroyWindow(parent);
    pumpMessages();
    OleUninitialize();
    setMouseButtonsSwapped(false);
  }
  HWND parent = nullptr;
};

TEST_F(FrameWindow, TwoFramesShareOneCountedClassTheLastOneUnregistersIt) {
  const std::string name = frameClassName();
  EXPECT_FALSE(classRegistered(name));
  HWND second = makeParent(200, 100);
  auto* a = new CFrame(CRect(0, 0, 100, 50), parent, nullptr);
  auto* b = new CFrame(CRect(0, 0, 80, 40), second, nullptr);
  ASSERT_NE(frameWindow(a), nullptr);
  ASSERT_NE(frameWindow(b), nullptr);
  EXPECT_EQ(frameWindowClassUsers(), 2);
  char classA[64] = {}, classB[64] = {};
  GetClassNameA(frameWindow(a), classA, sizeof(classA));
  GetClassNameA(frameWindow(b), classB, sizeof(classB));
  EXPECT_EQ(name, classA);
  EXPECT_EQ(name, classB);

  WNDCLASSEXA info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetClassInfoExA(static_cast<HINSTANCE>(moduleInstanceHandle()), name.c_str(), &info));
  EXPECT_EQ(info.style, 0x4000u);
  EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
  EXPECT_EQ(info.hbrBackground, GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(info.cbClsExtra, 0);
  EXPECT_EQ(info.cbWndExtra, 0);

  a->release();
  EXPECT_TRUE(classRegistered(name));
  EXPECT_EQ(frameWindowClassUsers(), 1);
  b->release();
  EXPECT_FALSE(classRegistered(name));
  EXPECT_EQ(frameWindowClassUsers(), 0);
  DestroyWindow(second);

  // Registered afresh for the next editor.
  auto* c = new CFrame(CRect(0, 0, 10, 10), parent, nullptr);
  EXPECT_TRUE(classRegistered(name));
  c->release();
  EXPECT_FALSE(classRegistered(name));
}

TEST_F(FrameWindow, ChildWindowHoldsTheFrameTakesDropsAndShowsCursors) {
  auto* frame = new CFrame(CRect(0, 0, 120, 90), parent, nullptr);
  HWND window = frameWindow(frame);
  ASSERT_NE(window, nullptr);
  char title[32] = {};
  GetWindowTextA(window, title, sizeof(title));
  EXPECT_STREQ(title, "Window");
  const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  const DWORD expected = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  EXPECT_EQ(style & expected, expected);
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0);
  EXPECT_EQ(GetParent(window), parent);
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(frame));
  EXPECT_EQ(clientSize(window).cx, 120);
  EXPECT_EQ(clientSize(window).cy, 90);

  // Registered as a drop target: a second registration is refused until the
  // frame revokes its own.
  EXPECT_TRUE(frame->isDropActive());
  NullTarget other;
  EXPECT_EQ(RegisterDragDrop(window, &other), DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_TRUE(frame->setDropActive(false));
  EXPECT_FALSE(frame->isDropActive());
  EXPECT_EQ(RegisterDragDrop(window, &other), S_OK);
  RevokeDragDrop(window);
  EXPECT_TRUE(frame->setDropActive(true));
  EXPECT_EQ(RegisterDragDrop(window, &other), DRAGDROP_E_ALREADYREGISTERED);

  // Cursors: the table's system cursors, anything else the one from before.
  HCURSOR before = LoadCursorA(nullptr, MAKEINTRESOURCEA(32515));  // cross
  SetCursor(before);
  const struct {
    int32_t type;
    WORD id;
  } table[] = {{1, 32514}, {2, 32644}, {3, 32645}, {4, 32646}, {5, 32643}, {6, 32642}, {8, 32648}, {9, 32649}};
  for (const auto& entry : table) {
    frame->setCursor(entry.type);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(entry.id))) << entry.type;
  }
  for (const int32_t restoring : {0, 7, 12}) {
    frame->setCursor(9);
    frame->setCursor(restoring);
    EXPECT_EQ(GetCursor(), before) << restoring;
  }
  frame->setCursor(9);
  frame->release();
  // The frame's destruction restores the cursor too.
  EXPECT_EQ(GetCursor(), before);
}

TEST_F(FrameWindow, MessagesReachTheFrameWithTheirOwnButtonsAndPoints) {
  auto* frame = new CFrame(CRect(0, 0, 200, 150), parent, nullptr);
  HWND window = frameWindow(frame);
  auto* view = new RecordingView(CRect(10, 10, 190, 140));
  frame->addView(view);

  // No button is down at all while these are handled: the messages' own
  // buttons and key flags still reach the view.
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(30, 40));
  SendMessageA(window, WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, MAKELPARAM(31, 41));
  SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(32, 42));
  // With swapped buttons the system already sends the logical button: a
  // left-handed user's primary click is WM_LBUTTONDOWN and stays the left.
  setMouseButtonsSwapped(true);
  SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT | MK_CONTROL, MAKELPARAM(33, 43));
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(34, 44));
  setMouseButtonsSwapped(false);
  EXPECT_EQ(view->presses, (std::vector<int32_t>{kLButton | kControl, kMButton | kShift, kRButton,
                                                 kRButton | kShift | kControl, kLButton}));
  // Window coordinates, made local to the view's parent (the frame).
  EXPECT_EQ(view->lastPoint, CPoint(34, 44));
  // A press outside every view reaches none.
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(view->presses.size(), 5u);

  // The wheel comes in screen coordinates.
  RECT onScreen{};
  GetWindowRect(window, &onScreen);
  SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(onScreen.left + 50, onScreen.top + 60));
  SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)),
               MAKELPARAM(onScreen.left + 51, onScreen.top + 61));
  EXPECT_EQ(view->wheel, (std::vector<float>{1.0f, -2.0f}));
  EXPECT_EQ(view->lastPoint, CPoint(51, 61));

  // Paint: only with an update region.
  const int paintsBefore = view->paints;
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_GT(view->paints, paintsBefore);
  const int painted = view->paints;
  SendMessageA(window, WM_PAINT, 0, 0);
  EXPECT_EQ(view->paints, painted);

  // The host destroys its window: the frame is closed and forgets it, and
  // its drop target is revoked while the window still exists, so none is
  // left behind.
  EXPECT_TRUE(frame->getOpenFlag());
  EXPECT_EQ(liveFrameDropTargets(), 1);
  DestroyWindow(parent);
  EXPECT_FALSE(frame->getOpenFlag());
  EXPECT_EQ(frame->getSystemWindow(), nullptr);
  EXPECT_EQ(liveFrameDropTargets(), 0);
  frame->release();
  EXPECT_EQ(liveFrameDropTargets(), 0);
}

// A host whose GUI thread runs OLE itself and which makes its effects on a
// thread of the multithreaded apartment, deleting them on the GUI thread:
// the editor's OLE use pairs up on the thread that made its window, and the
// host's own initialisation survives.
TEST_F(FrameWindow, HostOleSurvivesAnEffectMadeInTheMultithreadedApartment) {
  class WindowEditor : public AEffGUIEditor {
   public:
    using AEffGUIEditor::AEffGUIEditor;
    bool open(void* window) override {
      AEffGUIEditor::open(window);
      frame = new CFrame(CRect(0, 0, 100, 80), window, this);
      return true;
    }
    void close() override {
      if (frame) frame->release();
      frame = nullptr;
      AEffGUIEditor::close();
    }
  };
  SizingEffect* effect = nullptr;
  std::thread maker([&effect] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    effect = new SizingEffect();
    new WindowEditor(effect);
    CoUninitialize();
  });
  maker.join();
  ASSERT_NE(effect, nullptr);
  AEffect* record = effect->getAeffect();
  record->dispatcher(record, effEditOpen, 0, 0, parent, 0.0f);
  EXPECT_TRUE(effect->getEditor()->isOpen());
  record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
  // Open again and delete the effect with the editor still open.
  record->dispatcher(record, effEditOpen, 0, 0, parent, 0.0f);
  record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);

  HWND other = makeParent(50, 50);
  NullTarget target;
  EXPECT_EQ(RegisterDragDrop(other, &target), S_OK);
  RevokeDragDrop(other);
  DestroyWindow(other);
}

TEST_F(FrameWindow, ResizesThroughTheHostOrItsWindows) {
  auto* effect = new SizingEffect();
  auto* editor = new PlainEditor(effect);
  auto* frame = new CFrame(CRect(0, 0, 300, 200), parent, editor);
  HWND window = frameWindow(frame);

  // The host declines: the frame's window and its parent grow by the same.
  gSizeWindowAnswer = 0;
  EXPECT_TRUE(frame->setSize(340, 230));
  EXPECT_EQ(gHostLog, (std::vector<std::string>{"canDo sizeWindow"}));
  EXPECT_EQ(clientSize(window).cx, 340);
  EXPECT_EQ(clientSize(window).cy, 230);
  EXPECT_EQ(clientSize(parent).cx, 340);
  EXPECT_EQ(clientSize(parent).cy, 230);
  CRect size;
  frame->getSize(size);
  EXPECT_EQ(size, CRect(0, 0, 340, 230));
  EXPECT_FALSE(frame->setSize(340, 230));  // unchanged

  // The host resizes its own window: only the frame's follows.
  gHostLog.clear();
  gSizeWindowAnswer = 1;
  EXPECT_TRUE(frame->setSize(310, 210));
  EXPECT_EQ(gHostLog, (std::vector<std::string>{"canDo sizeWindow", "sizeWindow 310x210"}));
  EXPECT_EQ(clientSize(window).cx, 310);
  EXPECT_EQ(clientSize(parent).cx, 340);
  frame->getSize(size);
  EXPECT_EQ(size, CRect(0, 0, 310, 210));

  frame->setOpenFlag(false);
  EXPECT_FALSE(frame->setSize(100, 100));
  frame->release();
  delete effect;
}

}  // namespace
