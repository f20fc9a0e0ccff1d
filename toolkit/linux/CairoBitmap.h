// A bitmap as a cairo image surface (24-bit colour, no alpha).
#pragma once

#include <cairo.h>

#include <vector>

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
  bool makeMask(DrawingSurface& from, CPoint offset, CColor transparent) override;
  bool hasMask() const override { return !mask_.empty(); }

 private:
  // A copy of the area at `source` of the given size, clear where the
  // image has `transparent` (or the mask is set, once made) or ends. Made for each drawing: a context may
  // draw into the image between two drawings.
  cairo_surface_t* keyedArea(CPoint source, int32_t width, int32_t height, CColor transparent) const;

  cairo_surface_t* image_;
  std::vector<bool> mask_;  // the image's size, row by row; set where transparent
};
