// A stand-in for the platform's anti-aliased renderer that records every
// object made and every drawing operation, so tests can check what a view
// asked for (colours, widths, rectangles, fonts, order) rather than only
// the pixels a renderer made of it. Installed for its lifetime.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "editor/SmoothRenderer.h"

namespace editor_test {

class RecordingRenderer final : public SmoothRenderer {
 public:
  struct Object {
    std::string kind;  // "brush", "pen", "graphics", "family", "font", "format"
    uint32_t argb = 0;
    float width = 0.0f;
    SmoothUnit unit = SmoothUnit::kWorld;
    std::string name;
    float emSize = 0.0f;
    int32_t style = -1;
    uintptr_t family = 0;
    int32_t align = -1;  // -1: never set
    void* deviceContext = nullptr;
    void* deviceHandle = nullptr;
    int32_t interpolation = -1;
    int32_t smoothing = -1;
    int32_t textHint = -1;
    bool deleted = false;
  };
  struct Line {
    int32_t x1, y1, x2, y2;
    uint32_t argb;
    float width;
  };
  struct Fill {
    int32_t x, y, width, height;
    uint32_t argb;
  };
  struct Text {
    std::string text;
    SmoothRect layout;
    uint32_t argb;
    float emSize;
    int32_t style;
    SmoothUnit unit;
    std::string family;
    int32_t align;     // -1 without a format
    int32_t textHint;  // the graphics' hint when drawn
  };

  RecordingRenderer();
  ~RecordingRenderer() override;

  // What was drawn, in order; "line", "fill" and "text" entries of `order`.
  std::vector<Line> lines;
  std::vector<Fill> fills;
  std::vector<Text> texts;
  std::vector<std::string> order;
  // Objects by handle; creations and deletions in order, as handles.
  std::map<uintptr_t, Object> objects;
  std::vector<uintptr_t> created;
  std::vector<uintptr_t> deletedInOrder;
  std::vector<uintptr_t> startedTokens;
  std::vector<uintptr_t> shutdownTokens;

  // Operations named here ("createPen", "drawLine", "startup", ...) answer
  // this status and create nothing.
  std::map<std::string, SmoothStatus> failing;

  void clearDrawing();
  const Object& object(const void* handle) const;

  SmoothStatus startup(uintptr_t* token) override;
  void shutdown(uintptr_t token) override;
  SmoothStatus createSolidFill(uint32_t argb, SmoothNativeBrush** brush) override;
  SmoothStatus deleteBrush(SmoothNativeBrush* brush) override;
  SmoothStatus createPen(uint32_t argb, float width, SmoothUnit unit, SmoothNativePen** pen) override;
  SmoothStatus deletePen(SmoothNativePen* pen) override;
  SmoothStatus createGraphics(void* deviceContext, void* deviceHandle, SmoothNativeGraphics** graphics) override;
  SmoothStatus deleteGraphics(SmoothNativeGraphics* graphics) override;
  SmoothStatus createFontFamily(const char* name, SmoothNativeFontFamily** family) override;
  SmoothStatus deleteFontFamily(SmoothNativeFontFamily* family) override;
  SmoothStatus createFont(const SmoothNativeFontFamily* family, float emSize, int32_t style, SmoothUnit unit,
                          SmoothNativeFont** font) override;
  SmoothStatus deleteFont(SmoothNativeFont* font) override;
  SmoothStatus createStringFormat(int32_t flags, int32_t language, SmoothNativeFormat** format) override;
  SmoothStatus deleteStringFormat(SmoothNativeFormat* format) override;
  SmoothStatus setStringFormatAlign(SmoothNativeFormat* format, SmoothAlignment align) override;
  SmoothStatus setInterpolationMode(SmoothNativeGraphics* graphics, SmoothInterpolation mode) override;
  SmoothStatus setSmoothingMode(SmoothNativeGraphics* graphics, SmoothSmoothing mode) override;
  SmoothStatus setTextRenderingHint(SmoothNativeGraphics* graphics, SmoothTextHint hint) override;
  SmoothStatus drawLine(SmoothNativeGraphics* graphics, const SmoothNativePen* pen, int32_t x1, int32_t y1, int32_t x2,
                        int32_t y2) override;
  SmoothStatus fillRectangle(SmoothNativeGraphics* graphics, const SmoothNativeBrush* brush, int32_t x, int32_t y,
                             int32_t width, int32_t height) override;
  SmoothStatus drawString(SmoothNativeGraphics* graphics, const char* text, const SmoothNativeFont* font,
                          const SmoothRect& layout, const SmoothNativeFormat* format,
                          const SmoothNativeBrush* brush) override;

 private:
  template <typename Native>
  SmoothStatus make(const std::string& operation, Object object, Native** handle);
  SmoothStatus remove(const void* handle, const char* kind);
  // The live object of `kind` at `handle`, or null.
  Object* live(const void* handle, const char* kind);
  // Sets one setting of the live object of `kind` at `handle`.
  SmoothStatus setField(const void* handle, const char* kind, int32_t Object::*field, int32_t value);

  uintptr_t nextHandle_ = 0x1000;
  SmoothRenderer* previous_;
};

}  // namespace editor_test
