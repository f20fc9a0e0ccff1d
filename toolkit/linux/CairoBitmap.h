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
  // The image with the pixels of `transparent` see-through, kept until the
  // colour changes.
  cairo_surface_t* keyedImage(CColor transparent);

  cairo_surface_t* image_;
  cairo_surface_t* keyed_ = nullptr;
  CColor keyedColour_{};
};
