#include <windows.h>

#include "host/ModuleHandle.h"
#include "tests/toolkit/TestPlatform.h"
#include "toolkit/drawing/COffscreenContext.h"
#include "toolkit/windows/Msimg32Binding.h"

namespace toolkit_test {

Pixels readPixels(COffscreenContext& offscreen) {
  Pixels result;
  auto dc = static_cast<HDC>(offscreen.getDeviceContext());
  auto bitmap = static_cast<HBITMAP>(offscreen.getBitmapHandle());
  if (!dc || !bitmap) return result;
  BITMAP info{};
  GetObjectA(bitmap, sizeof(info), &info);
  result.width = info.bmWidth;
  result.height = info.bmHeight;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  request.bmiHeader.biWidth = info.bmWidth;
  request.bmiHeader.biHeight = -info.bmHeight;  // top row first
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  result.rgb.resize(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), result.rgb.data(), &request, DIB_RGB_COLORS);
  for (uint32_t& p : result.rgb) p &= 0xFFFFFFu;
  return result;
}

// The bitmaps are compiled into the test program as resources.
void provideTestBitmaps() { setModuleInstanceHandle(GetModuleHandleA(nullptr)); }

void setBlendFunctionsBound(bool bound) {
  static HMODULE module = nullptr;
  if (bound) {
    if (!module) module = bindMsimg32();
  } else {
    blendFunctions() = BlendFunctions{};
    if (module) unbindMsimg32(module);
    module = nullptr;
  }
}

const char* backendName() { return "gdi"; }

}  // namespace toolkit_test
