#include "toolkit/windows/FrameWindowProc.h"

#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/editorbase/AEffGUIEditor.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/views/MouseInput.h"

namespace {

// One notch of the wheel.
constexpr float kWheelDelta = 120.0f;

CFrame* frameOf(HWND window) { return reinterpret_cast<CFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

// Coordinates in a mouse message's lParam: two unsigned 16-bit words.
CPoint pointOf(LPARAM lParam) {
  return CPoint(static_cast<int32_t>(lParam & 0xFFFF), static_cast<int32_t>((lParam >> 16) & 0xFFFF));
}

void onButtonDown(HWND window, CFrame& frame, UINT message, WPARAM wParam, LPARAM lParam) {
  // Outlives the context: a close inside the press's loop takes the frame
  // and its window only after the context on the window is gone.
  const AEffGUIEditor::LoopGuard guard(frame.getEditor(), &frame);
  auto* context = new CDrawContext(&frame, nullptr, window);
  CPoint where = pointOf(lParam);
  // The message's own buttons: by the time it is handled a quick click may
  // already be over, and the key state would show no button at all.
  frame.mouse(context, where, buttonsOfMessage(message, wParam));
  context->release();
}

void onWheel(HWND window, CFrame& frame, WPARAM wParam, LPARAM lParam) {
  auto* context = new CDrawContext(&frame, nullptr, window);
  const auto notches = static_cast<float>(static_cast<int16_t>(HIWORD(wParam))) / kWheelDelta;
  // The message carries the pointer in screen coordinates (signed words).
  const CPoint screen(static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam)));
  const CPoint origin = context->getWindowOrigin();
  const CPoint where(screen.h - origin.h, screen.v - origin.v);
  frame.onWheel(context, where, notches);
  context->release();
}

bool onPaint(HWND window, CFrame& frame) {
  RECT update{};
  if (!GetUpdateRect(window, &update, FALSE)) return false;
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  auto* context = new CDrawContext(&frame, dc, window);
  frame.drawRect(context, CRect(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom));
  context->release();
  EndPaint(window, &paint);
  return true;
}

}  // namespace

int32_t buttonsOfMessage(UINT message, WPARAM wParam) {
  PressedButton button;
  switch (message) {
    case WM_LBUTTONDOWN:
      button = PressedButton::kLeft;
      break;
    case WM_MBUTTONDOWN:
      button = PressedButton::kMiddle;
      break;
    case WM_RBUTTONDOWN:
      button = PressedButton::kRight;
      break;
    default:
      return -1;
  }
  return buttonsOfPress(button, (wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0,
                        mouseInput().isDown(InputKey::kAlt));
}

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CFrame* frame = frameOf(window);
  if (!frame) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      onButtonDown(window, *frame, message, wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
      onWheel(window, *frame, wParam, lParam);
      break;
    case WM_PAINT:
      if (onPaint(window, *frame)) return 0;
      break;
    case kRunPostedCallsMessage:
      frame->runPosted();
      return 0;
    case WM_DESTROY:
      frame->windowDestroyed();
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
