// The Windows back-end's entry points: GDI device contexts and bitmaps, the
// asynchronous key state and the cursor position, the tick counter, the
// frame's child window.
#include <windows.h>

#include "host/ModuleHandle.h"
#include "toolkit/editorbase/EditorClock.h"
#include "toolkit/platform/Platform.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/views/MouseInput.h"
#include "toolkit/windows/GdiBitmap.h"
#include "toolkit/windows/GdiSurface.h"
#include "toolkit/windows/Msimg32Binding.h"
#include "toolkit/windows/Win32FrameWindow.h"

namespace {

class SystemInput : public MouseInputSource {
 public:
  bool isDown(InputKey key) const override {
    // The physical buttons; swapping is applied by the caller.
    static constexpr int kVirtualKeys[] = {VK_LBUTTON, VK_MBUTTON, VK_RBUTTON, VK_SHIFT, VK_CONTROL, VK_MENU};
    return GetAsyncKeyState(kVirtualKeys[static_cast<int>(key)]) < 0;
  }
  CPoint cursorPosition() const override {
    POINT p{};
    GetCursorPos(&p);
    return CPoint(p.x, p.y);
  }
  CPoint windowOrigin(void* window) const override {
    RECT r{};
    if (!window || !GetWindowRect(static_cast<HWND>(window), &r)) return CPoint();
    return CPoint(r.left, r.top);
  }
};

class TickCounter : public EditorClock {
 public:
  uint32_t ticks() const override { return GetTickCount(); }
  void sleep(uint32_t milliseconds) const override { Sleep(milliseconds); }
};

HDC dcOf(const DrawingSurface* surface) { return surface ? static_cast<const GdiSurface*>(surface)->dc() : nullptr; }

}  // namespace

std::unique_ptr<DrawingSurface> openSurface(void* deviceContext, void* window) {
  if (deviceContext) return GdiSurface::onDeviceContext(static_cast<HDC>(deviceContext));
  if (window) return GdiSurface::onWindow(static_cast<HWND>(window));
  return nullptr;
}

std::unique_ptr<DrawingSurface> createMemorySurface(void* window, int32_t width, int32_t height) {
  if (width < 1 || height < 1) return nullptr;
  // Compatible with the window's device context, which is only borrowed.
  HDC windowDc = GetDC(static_cast<HWND>(window));
  auto surface = GdiSurface::inMemory(windowDc, width, height);
  if (windowDc) ReleaseDC(static_cast<HWND>(window), windowDc);
  return surface;
}

std::unique_ptr<DrawingSurface> createMemorySurfaceLike(const DrawingSurface* like, int32_t width, int32_t height) {
  return GdiSurface::inMemory(dcOf(like), width, height);
}

std::unique_ptr<DrawingSurface> createSurfaceOnBitmap(const DrawingSurface* like, BitmapImage& bitmap) {
  return GdiSurface::inMemory(dcOf(like), bitmap.width(), bitmap.height(), static_cast<HBITMAP>(bitmap.handle()));
}

std::unique_ptr<BitmapImage> loadBitmapImage(int32_t resourceId) {
  auto instance = static_cast<HINSTANCE>(moduleInstanceHandle());
  if (!instance) return nullptr;
  HBITMAP bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(resourceId));
  if (!bitmap) return nullptr;
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof(info), &info)) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return std::make_unique<GdiBitmap>(bitmap, info.bmWidth, info.bmHeight);
}

std::unique_ptr<BitmapImage> createBitmapImage(int32_t width, int32_t height) {
  if (width < 1 || height < 1) return nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  return bitmap ? std::make_unique<GdiBitmap>(bitmap, width, height) : nullptr;
}

const MouseInputSource& systemMouseInput() {
  static const SystemInput input;
  return input;
}

uint32_t systemDoubleClickTime() { return GetDoubleClickTime(); }

void* bindBlendFunctions() { return bindMsimg32(); }

void unbindBlendFunctions(void* binding) { unbindMsimg32(static_cast<HMODULE>(binding)); }

const EditorClock& systemClock() {
  static const TickCounter clock;
  return clock;
}

std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame, void* systemWindow) {
  CRect size;
  frame.getViewSize(size);
  return Win32FrameWindow::create(frame, static_cast<HWND>(systemWindow), size.width(), size.height());
}

void dispatchPendingPaint() {
  MSG message;
  if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
}
