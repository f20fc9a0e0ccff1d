// The anti-aliased drawing layer of the editor's own views: smoothed lines,
// translucent rectangles and text laid out in a rectangle, on a native
// device context. One renderer per platform implements SmoothRenderer; the
// views use it only through the wrapper objects of SmoothObjects.h, which
// create, use and delete the renderer's native objects.
//
// Every operation answers a status (kSmoothOk or a failure code); a failed
// creation leaves its handle null, and operations on null handles fail
// without drawing. GUI thread only.
#pragma once

#include <cstdint>

using SmoothStatus = int32_t;
inline constexpr SmoothStatus kSmoothOk = 0;
inline constexpr SmoothStatus kSmoothGenericError = 1;
inline constexpr SmoothStatus kSmoothInvalidParameter = 2;
inline constexpr SmoothStatus kSmoothNotImplemented = 6;
inline constexpr SmoothStatus kSmoothFontFamilyNotFound = 14;
inline constexpr SmoothStatus kSmoothNotInitialized = 18;

// Units of pen widths and font sizes.
enum class SmoothUnit : int32_t { kWorld = 0, kPixel = 2 };
enum class SmoothInterpolation : int32_t { kHighQuality = 2 };
enum class SmoothSmoothing : int32_t { kHighQuality = 2 };
enum class SmoothTextHint : int32_t { kAntiAlias = 4 };
enum class SmoothAlignment : int32_t { kNear = 0, kCenter = 1, kFar = 2 };
inline constexpr int32_t kSmoothFontRegular = 0;
inline constexpr int32_t kSmoothFontBold = 1;

// A float rectangle for text layout: text starts at its top-left, wraps at
// its right edge and is cut at its bottom edge.
struct SmoothRect {
  float x = 0.0f;
  float y = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
};

// The renderer's native objects, opaque outside the renderer.
struct SmoothNativeBrush;
struct SmoothNativePen;
struct SmoothNativeGraphics;
struct SmoothNativeFontFamily;
struct SmoothNativeFont;
struct SmoothNativeFormat;

class SmoothRenderer {
 public:
  virtual ~SmoothRenderer() = default;

  // Starts the renderer for one user (an editor); every successful start is
  // ended by one shutdown with the token it gave.
  virtual SmoothStatus startup(uintptr_t* token) = 0;
  virtual void shutdown(uintptr_t token) = 0;

  // argb: alpha << 24 | red << 16 | green << 8 | blue.
  virtual SmoothStatus createSolidFill(uint32_t argb, SmoothNativeBrush** brush) = 0;
  virtual SmoothStatus deleteBrush(SmoothNativeBrush* brush) = 0;
  virtual SmoothStatus createPen(uint32_t argb, float width, SmoothUnit unit, SmoothNativePen** pen) = 0;
  virtual SmoothStatus deletePen(SmoothNativePen* pen) = 0;
  // On a device context (HDC, or cairo_t*) whose target is `deviceHandle`
  // (the bitmap selected into it: HBITMAP, or cairo_surface_t*).
  virtual SmoothStatus createGraphics(void* deviceContext, void* deviceHandle, SmoothNativeGraphics** graphics) = 0;
  virtual SmoothStatus deleteGraphics(SmoothNativeGraphics* graphics) = 0;
  virtual SmoothStatus createFontFamily(const char* name, SmoothNativeFontFamily** family) = 0;
  virtual SmoothStatus deleteFontFamily(SmoothNativeFontFamily* family) = 0;
  virtual SmoothStatus createFont(const SmoothNativeFontFamily* family, float emSize, int32_t style, SmoothUnit unit,
                                  SmoothNativeFont** font) = 0;
  virtual SmoothStatus deleteFont(SmoothNativeFont* font) = 0;
  virtual SmoothStatus createStringFormat(int32_t flags, int32_t language, SmoothNativeFormat** format) = 0;
  virtual SmoothStatus deleteStringFormat(SmoothNativeFormat* format) = 0;
  virtual SmoothStatus setStringFormatAlign(SmoothNativeFormat* format, SmoothAlignment align) = 0;

  virtual SmoothStatus setInterpolationMode(SmoothNativeGraphics* graphics, SmoothInterpolation mode) = 0;
  virtual SmoothStatus setSmoothingMode(SmoothNativeGraphics* graphics, SmoothSmoothing mode) = 0;
  virtual SmoothStatus setTextRenderingHint(SmoothNativeGraphics* graphics, SmoothTextHint hint) = 0;
  // From (x1, y1) to (x2, y2), both ends included.
  virtual SmoothStatus drawLine(SmoothNativeGraphics* graphics, const SmoothNativePen* pen, int32_t x1, int32_t y1,
                                int32_t x2, int32_t y2) = 0;
  virtual SmoothStatus fillRectangle(SmoothNativeGraphics* graphics, const SmoothNativeBrush* brush, int32_t x,
                                     int32_t y, int32_t width, int32_t height) = 0;
  // `text`: zero-terminated, in the system's 8-bit code page. `format` may
  // be null: left-aligned from the top.
  virtual SmoothStatus drawString(SmoothNativeGraphics* graphics, const char* text, const SmoothNativeFont* font,
                                  const SmoothRect& layout, const SmoothNativeFormat* format,
                                  const SmoothNativeBrush* brush) = 0;
};

// The renderer the views use: the platform's, unless a test replaced it.
SmoothRenderer& smoothRenderer();
// Replaces it (null puts the platform's back) and answers the one before.
SmoothRenderer* setSmoothRenderer(SmoothRenderer* renderer);
// The platform's renderer, from the back-end folder compiled in.
SmoothRenderer& platformSmoothRenderer();
