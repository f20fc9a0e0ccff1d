// Without an anti-aliasing renderer on this platform every operation fails
// and draws nothing, so the views show the window picture under them.
#include "editor/SmoothRenderer.h"

namespace {

class AbsentSmoothRenderer final : public SmoothRenderer {
 public:
  SmoothStatus startup(uintptr_t* token) override {
    *token = 0;
    return kSmoothNotImplemented;
  }
  void shutdown(uintptr_t) override {}

  SmoothStatus createSolidFill(uint32_t, SmoothNativeBrush** brush) override { return none(brush); }
  SmoothStatus deleteBrush(SmoothNativeBrush*) override { return kSmoothNotImplemented; }
  SmoothStatus createPen(uint32_t, float, SmoothUnit, SmoothNativePen** pen) override { return none(pen); }
  SmoothStatus deletePen(SmoothNativePen*) override { return kSmoothNotImplemented; }
  SmoothStatus createGraphics(void*, void*, SmoothNativeGraphics** graphics) override { return none(graphics); }
  SmoothStatus deleteGraphics(SmoothNativeGraphics*) override { return kSmoothNotImplemented; }
  SmoothStatus createFontFamily(const char*, SmoothNativeFontFamily** family) override { return none(family); }
  SmoothStatus deleteFontFamily(SmoothNativeFontFamily*) override { return kSmoothNotImplemented; }
  SmoothStatus createFont(const SmoothNativeFontFamily*, float, int32_t, SmoothUnit, SmoothNativeFont** font) override {
    return none(font);
  }
  SmoothStatus deleteFont(SmoothNativeFont*) override { return kSmoothNotImplemented; }
  SmoothStatus createStringFormat(int32_t, int32_t, SmoothNativeFormat** format) override { return none(format); }
  SmoothStatus deleteStringFormat(SmoothNativeFormat*) override { return kSmoothNotImplemented; }
  SmoothStatus setStringFormatAlign(SmoothNativeFormat*, SmoothAlignment) override { return kSmoothNotImplemented; }
  SmoothStatus setInterpolationMode(SmoothNativeGraphics*, SmoothInterpolation) override {
    return kSmoothNotImplemented;
  }
  SmoothStatus setSmoothingMode(SmoothNativeGraphics*, SmoothSmoothing) override { return kSmoothNotImplemented; }
  SmoothStatus setTextRenderingHint(SmoothNativeGraphics*, SmoothTextHint) override { return kSmoothNotImplemented; }
  SmoothStatus drawLine(SmoothNativeGraphics*, const SmoothNativePen*, int32_t, int32_t, int32_t, int32_t) override {
    return kSmoothNotImplemented;
  }
  SmoothStatus fillRectangle(SmoothNativeGraphics*, const SmoothNativeBrush*, int32_t, int32_t, int32_t,
                             int32_t) override {
    return kSmoothNotImplemented;
  }
  SmoothStatus drawString(SmoothNativeGraphics*, const char*, const SmoothNativeFont*, const SmoothRect&,
                          const SmoothNativeFormat*, const SmoothNativeBrush*) override {
    return kSmoothNotImplemented;
  }

 private:
  template <typename Native>
  static SmoothStatus none(Native** object) {
    *object = nullptr;
    return kSmoothNotImplemented;
  }
};

}  // namespace

SmoothRenderer& platformSmoothRenderer() {
  static AbsentSmoothRenderer renderer;
  return renderer;
}
