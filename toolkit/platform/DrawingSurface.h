// The seam between the toolkit and a platform's 2-D drawing layer: one
// native drawing target (a window's or a memory bitmap's) with its current
// pen, brush, font, text colour, raster mode and clip. CDrawContext keeps
// the toolkit's state, compares before changing anything, moves coordinates
// by its offset and hands device coordinates to these operations.
//
// Geometry is the same on every platform: fillRect covers columns
// left..right-1 and rows top..bottom-1; lineTo leaves out its end pixel;
// a width of 0 or 1 is a one-pixel line.
#pragma once

#include <cstdint>

#include "toolkit/base/CColor.h"
#include "toolkit/base/CRect.h"

enum class PenStyle { kSolid, kDotted };

// How lines and polygon interiors meet the pixels below them (rectangle
// fills, text and copies always replace them).
enum class RasterMode {
  kCopy,    // the source replaces the destination
  kMerge,   // destination OR source
  kNotXor,  // NOT (destination XOR source)
};

enum class TextAlign { kLeft, kCenter, kRight };

struct FontRequest {
  const char* face;
  int32_t height;  // character height in pixels
  bool bold;
  bool italic;
  bool underline;
  bool decorative;
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // The native handles: the device context (HDC, or cairo_t*) and, for a
  // memory surface, the bitmap drawn into (HBITMAP, or cairo_surface_t*).
  virtual void* deviceContext() const = 0;
  virtual void* bitmapHandle() const = 0;

  virtual void setPen(PenStyle style, int32_t width, CColor colour) = 0;
  // Also the background colour of opaque text. False when no brush could be
  // made; the previous brush then stays.
  virtual bool setBrush(CColor colour) = 0;
  virtual void setFont(const FontRequest& font) = 0;
  virtual void setTextColor(CColor colour) = 0;
  virtual void setRasterMode(RasterMode mode) = 0;
  virtual void setClip(const CRect& rect) = 0;

  virtual void moveTo(CPoint point) = 0;
  virtual void lineTo(CPoint point) = 0;
  virtual void fillRect(const CRect& rect) = 0;
  // count is 1 or more; the caller refuses other counts.
  virtual void polyline(const CPoint* points, int32_t count) = 0;
  // Brush only, no outline.
  virtual void fillPolygon(const CPoint* points, int32_t count) = 0;
  // One line of text, vertically centred in rect and clipped to it.
  virtual void drawText(const char* text, const CRect& rect, TextAlign align, bool opaque) = 0;
  virtual int32_t textWidth(const char* text) = 0;

  // Copies rect's size of pixels from `source` here to targetRect on
  // `target` (which may be this surface), through the target's clip.
  virtual void copyTo(DrawingSurface& target, const CRect& targetRect, CPoint source) = 0;
};
