// The cairo drawing surface: the toolkit's drawing operations on a cairo
// surface (an image surface for offscreens and bitmaps), pixel for pixel
// where the Windows drawing layer puts them. Geometry is drawn without
// anti-aliasing; lines are rasterised here so that end pixels and the
// dotted pattern match.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "toolkit/platform/DrawingSurface.h"

class CairoSurface : public DrawingSurface {
 public:
  // Draws on `surface`, which this object references for its lifetime.
  explicit CairoSurface(cairo_surface_t* surface);
  ~CairoSurface() override;
  CairoSurface(const CairoSurface&) = delete;
  CairoSurface& operator=(const CairoSurface&) = delete;

  // On this platform the device context is the cairo surface itself.
  void* deviceContext() const override { return surface_; }
  void* bitmapHandle() const override { return surface_; }
  cairo_surface_t* surface() const { return surface_; }
  // The cairo context with the current clip applied.
  cairo_t* context() const { return cr_; }

  void setPen(PenStyle style, int32_t width, CColor colour) override;
  bool setBrush(CColor colour) override;
  void setFont(const FontRequest& font) override;
  void setTextColor(CColor colour) override;
  void setRasterMode(RasterMode mode) override;
  void setClip(const CRect& rect) override;

  void moveTo(CPoint point) override;
  void lineTo(CPoint point) override;
  void fillRect(const CRect& rect) override;
  void polyline(const CPoint* points, int32_t count) override;
  void fillPolygon(const CPoint* points, int32_t count) override;
  void drawText(const char* text, const CRect& rect, TextAlign align, bool opaque) override;
  int32_t textWidth(const char* text) override;

  void copyTo(DrawingSurface& target, const CRect& targetRect, CPoint source) override;

  // Paints `source` (positioned so that its `from` lands on rect's
  // top-left) into rect through the clip, replacing the pixels, or blended
  // with a constant alpha when alpha < 255.
  void paintSurface(cairo_surface_t* source, const CRect& rect, CPoint from, uint8_t alpha, bool replace);

 private:
  // Paints what `shape` draws in `colour` under `mode`. As on Windows, the
  // raster mode applies to lines and polygons; rectangle fills, text and
  // copies always replace the pixels.
  template <typename Shape>
  void paint(CColor colour, Shape shape, RasterMode mode);
  void applyFont();
  void line(CPoint from, CPoint to);

  cairo_surface_t* surface_;
  cairo_t* cr_;
  PenStyle penStyle_ = PenStyle::kSolid;
  int32_t penWidth_ = 1;
  CColor penColour_{};
  CColor brushColour_{};
  CColor textColour_{};
  RasterMode mode_ = RasterMode::kCopy;
  CPoint position_;
  std::string face_;
  FontRequest font_{};
};
