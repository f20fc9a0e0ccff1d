// A bitmap as a cairo image surface (24-bit colour, no alpha).
#pragma once

#include <cairo.h>

#include "toolkit/platform/BitmapImage.h"

class CairoBitmap : public BitmapImage {
 public:
  // Takes over `image`, an RGB24 image surface.
  explicit CairoBitmap(cairo_surface_t* image);
  ~CairoBitmap() override;
  CairoBitmap(const CairoBitmap&) = delete;
  CairoBitmap& operator=(const CairoBitmap&) = delete;

  int32_t width() const override;
  int32_t height() const override;
  void* handle() const override { return image_; }

  void draw(DrawingSurface& target, const CRect& dest, CPoint source) override;
  void drawTransparent(DrawingSurface& target, const CRect& dest, CPoint source, CColor transparent) override;
  void drawAlphaBlend(DrawingSurface& target, const CRect& dest, CPoint source, uint8_t alpha) override;

 private:
  // A copy of the area at `source` of the given size, clear where the
  // image has `transparent` or ends. Made for each drawing: a context may
  // draw into the image between two drawings.
  cairo_surface_t* keyedArea(CPoint source, int32_t width, int32_t height, CColor transparent) const;

  cairo_surface_t* image_;
};
