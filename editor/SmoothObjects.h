// Thin owners of the renderer's native objects (SmoothRenderer.h). Each
// keeps the last failure any of its operations reported (kSmoothOk until
// one fails; a later success leaves it), and deletes its native object when
// it ends, through the renderer that made it. A drawing pass makes them on
// the stack and lets them end in the reverse order of their making.
#pragma once

#include <cstdint>

#include "editor/SmoothRenderer.h"

// A colour as the renderer takes it: alpha << 24 | red << 16 | green << 8 | blue.
class SmoothColor {
 public:
  constexpr SmoothColor(uint8_t red, uint8_t green, uint8_t blue) : SmoothColor(255, red, green, blue) {}
  constexpr SmoothColor(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue)
      : argb_(uint32_t{alpha} << 24 | uint32_t{red} << 16 | uint32_t{green} << 8 | blue) {}
  constexpr uint32_t argb() const { return argb_; }

 private:
  uint32_t argb_;
};

class SmoothObject {
 public:
  SmoothObject(const SmoothObject&) = delete;
  SmoothObject& operator=(const SmoothObject&) = delete;
  SmoothStatus lastStatus() const { return lastStatus_; }

 protected:
  SmoothObject() : renderer_(smoothRenderer()) {}
  ~SmoothObject() = default;
  SmoothStatus keep(SmoothStatus status) {
    if (status != kSmoothOk) lastStatus_ = status;
    return status;
  }

  SmoothRenderer& renderer_;

 private:
  SmoothStatus lastStatus_ = kSmoothOk;
};

class SmoothSolidBrush : public SmoothObject {
 public:
  explicit SmoothSolidBrush(SmoothColor colour);
  ~SmoothSolidBrush();
  const SmoothNativeBrush* native() const { return brush_; }

 private:
  SmoothNativeBrush* brush_ = nullptr;
};

// Its width is in world units, so it scales with any transformation.
class SmoothPen : public SmoothObject {
 public:
  SmoothPen(SmoothColor colour, float width);
  ~SmoothPen();
  const SmoothNativePen* native() const { return pen_; }

 private:
  SmoothNativePen* pen_ = nullptr;
};

class SmoothFontFamily : public SmoothObject {
 public:
  explicit SmoothFontFamily(const char* name);
  ~SmoothFontFamily();
  const SmoothNativeFontFamily* native() const { return family_; }

 private:
  SmoothNativeFontFamily* family_ = nullptr;
};

class SmoothFont : public SmoothObject {
 public:
  SmoothFont(const SmoothFontFamily& family, float emSize, int32_t style, SmoothUnit unit);
  ~SmoothFont();
  const SmoothNativeFont* native() const { return font_; }

 private:
  SmoothNativeFont* font_ = nullptr;
};

class SmoothStringFormat : public SmoothObject {
 public:
  explicit SmoothStringFormat(int32_t flags = 0, int32_t language = 0);
  ~SmoothStringFormat();
  SmoothStatus setAlignment(SmoothAlignment align);
  const SmoothNativeFormat* native() const { return format_; }

 private:
  SmoothNativeFormat* format_ = nullptr;
};

// Drawing on a device context whose target is `deviceHandle`.
class SmoothGraphics : public SmoothObject {
 public:
  SmoothGraphics(void* deviceContext, void* deviceHandle);
  ~SmoothGraphics();

  SmoothStatus setInterpolationMode(SmoothInterpolation mode);
  SmoothStatus setSmoothingMode(SmoothSmoothing mode);
  SmoothStatus setTextRenderingHint(SmoothTextHint hint);
  SmoothStatus drawLine(const SmoothPen& pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  SmoothStatus fillRectangle(const SmoothSolidBrush& brush, int32_t x, int32_t y, int32_t width, int32_t height);
  // `format` may be null.
  SmoothStatus drawString(const char* text, const SmoothFont& font, const SmoothRect& layout,
                          const SmoothStringFormat* format, const SmoothSolidBrush& brush);

 private:
  SmoothNativeGraphics* graphics_ = nullptr;
};

// The renderer started for one editor's lifetime.
class SmoothDrawingSession : public SmoothObject {
 public:
  SmoothDrawingSession();
  ~SmoothDrawingSession();
  bool started() const { return started_; }

 private:
  uintptr_t token_ = 0;
  bool started_ = false;
};
