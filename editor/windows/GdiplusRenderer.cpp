// The anti-aliased drawing layer on GDI+ through its flat interface.
// gdiplus.h needs windows.h and, with the lean headers, the COM property
// ids of objidl.h, in this order.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <cstring>

#include "editor/SmoothRenderer.h"

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// Wide-character text, including the terminator.
constexpr int kWideTextCapacity = 260;

// The 8-bit text in the system code page as a zero-terminated wide string.
// Longer text is cut to what fits rather than dropped.
void toWide(const char* text, WCHAR (&wide)[kWideTextCapacity]) {
  wide[0] = 0;
  if (!text) return;
  const size_t length = strnlen(text, kWideTextCapacity - 1);
  const int written = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide, kWideTextCapacity - 1);
  wide[written > 0 ? written : 0] = 0;
}

template <typename Native, typename Ours>
Native* gp(Ours* object) {
  return reinterpret_cast<Native*>(object);
}
template <typename Native, typename Ours>
const Native* gp(const Ours* object) {
  return reinterpret_cast<const Native*>(object);
}

class GdiplusRenderer final : public SmoothRenderer {
 public:
  SmoothStatus startup(uintptr_t* token) override {
    GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR native = 0;
    const Status status = GdiplusStartup(&native, &input, nullptr);
    *token = native;
    return status;
  }
  void shutdown(uintptr_t token) override { GdiplusShutdown(token); }

  SmoothStatus createSolidFill(uint32_t argb, SmoothNativeBrush** brush) override {
    GpSolidFill* fill = nullptr;
    const Status status = GdipCreateSolidFill(argb, &fill);
    *brush = reinterpret_cast<SmoothNativeBrush*>(static_cast<GpBrush*>(fill));
    return status;
  }
  SmoothStatus deleteBrush(SmoothNativeBrush* brush) override { return GdipDeleteBrush(gp<GpBrush>(brush)); }

  SmoothStatus createPen(uint32_t argb, float width, SmoothUnit unit, SmoothNativePen** pen) override {
    GpPen* native = nullptr;
    const Status status = GdipCreatePen1(argb, width, static_cast<GpUnit>(unit), &native);
    *pen = reinterpret_cast<SmoothNativePen*>(native);
    return status;
  }
  SmoothStatus deletePen(SmoothNativePen* pen) override { return GdipDeletePen(gp<GpPen>(pen)); }

  SmoothStatus createGraphics(void* deviceContext, void* deviceHandle, SmoothNativeGraphics** graphics) override {
    GpGraphics* native = nullptr;
    const Status status =
        GdipCreateFromHDC2(static_cast<HDC>(deviceContext), static_cast<HANDLE>(deviceHandle), &native);
    *graphics = reinterpret_cast<SmoothNativeGraphics*>(native);
    return status;
  }
  SmoothStatus deleteGraphics(SmoothNativeGraphics* graphics) override {
    return GdipDeleteGraphics(gp<GpGraphics>(graphics));
  }

  SmoothStatus createFontFamily(const char* name, SmoothNativeFontFamily** family) override {
    WCHAR wide[kWideTextCapacity];
    toWide(name, wide);
    GpFontFamily* native = nullptr;
    const Status status = GdipCreateFontFamilyFromName(wide, nullptr, &native);
    *family = reinterpret_cast<SmoothNativeFontFamily*>(native);
    return status;
  }
  SmoothStatus deleteFontFamily(SmoothNativeFontFamily* family) override {
    return GdipDeleteFontFamily(gp<GpFontFamily>(family));
  }

  SmoothStatus createFont(const SmoothNativeFontFamily* family, float emSize, int32_t style, SmoothUnit unit,
                          SmoothNativeFont** font) override {
    GpFont* native = nullptr;
    const Status status =
        GdipCreateFont(gp<GpFontFamily>(family), emSize, static_cast<INT>(style), static_cast<Unit>(unit), &native);
    *font = reinterpret_cast<SmoothNativeFont*>(native);
    return status;
  }
  SmoothStatus deleteFont(SmoothNativeFont* font) override { return GdipDeleteFont(gp<GpFont>(font)); }

  SmoothStatus createStringFormat(int32_t flags, int32_t language, SmoothNativeFormat** format) override {
    GpStringFormat* native = nullptr;
    const Status status = GdipCreateStringFormat(static_cast<INT>(flags), static_cast<LANGID>(language), &native);
    *format = reinterpret_cast<SmoothNativeFormat*>(native);
    return status;
  }
  SmoothStatus deleteStringFormat(SmoothNativeFormat* format) override {
    return GdipDeleteStringFormat(gp<GpStringFormat>(format));
  }
  SmoothStatus setStringFormatAlign(SmoothNativeFormat* format, SmoothAlignment align) override {
    return GdipSetStringFormatAlign(gp<GpStringFormat>(format), static_cast<StringAlignment>(align));
  }

  SmoothStatus setInterpolationMode(SmoothNativeGraphics* graphics, SmoothInterpolation mode) override {
    return GdipSetInterpolationMode(gp<GpGraphics>(graphics), static_cast<InterpolationMode>(mode));
  }
  SmoothStatus setSmoothingMode(SmoothNativeGraphics* graphics, SmoothSmoothing mode) override {
    return GdipSetSmoothingMode(gp<GpGraphics>(graphics), static_cast<SmoothingMode>(mode));
  }
  SmoothStatus setTextRenderingHint(SmoothNativeGraphics* graphics, SmoothTextHint hint) override {
    return GdipSetTextRenderingHint(gp<GpGraphics>(graphics), static_cast<TextRenderingHint>(hint));
  }

  SmoothStatus drawLine(SmoothNativeGraphics* graphics, const SmoothNativePen* pen, int32_t x1, int32_t y1, int32_t x2,
                        int32_t y2) override {
    return GdipDrawLineI(gp<GpGraphics>(graphics), const_cast<GpPen*>(gp<GpPen>(pen)), x1, y1, x2, y2);
  }
  SmoothStatus fillRectangle(SmoothNativeGraphics* graphics, const SmoothNativeBrush* brush, int32_t x, int32_t y,
                             int32_t width, int32_t height) override {
    return GdipFillRectangleI(gp<GpGraphics>(graphics), const_cast<GpBrush*>(gp<GpBrush>(brush)), x, y, width, height);
  }
  SmoothStatus drawString(SmoothNativeGraphics* graphics, const char* text, const SmoothNativeFont* font,
                          const SmoothRect& layout, const SmoothNativeFormat* format,
                          const SmoothNativeBrush* brush) override {
    WCHAR wide[kWideTextCapacity];
    toWide(text, wide);
    const RectF rect(layout.x, layout.y, layout.width, layout.height);
    return GdipDrawString(gp<GpGraphics>(graphics), wide, -1, gp<GpFont>(font), &rect, gp<GpStringFormat>(format),
                          gp<GpBrush>(brush));
  }
};

}  // namespace

SmoothRenderer& platformSmoothRenderer() {
  static GdiplusRenderer renderer;
  return renderer;
}
