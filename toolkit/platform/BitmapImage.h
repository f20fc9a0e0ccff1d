// The seam between CBitmap and a platform's bitmaps: a native image that
// draws itself onto a drawing surface of the same platform.
#pragma once

#include <cstdint>

#include "toolkit/base/CColor.h"
#include "toolkit/base/CRect.h"

class DrawingSurface;

class BitmapImage {
 public:
  virtual ~BitmapImage() = default;

  virtual int32_t width() const = 0;
  virtual int32_t height() const = 0;
  // HBITMAP, or cairo_surface_t*.
  virtual void* handle() const = 0;

  // Copies dest's size of pixels from `source` in the image to dest.
  virtual void draw(DrawingSurface& target, const CRect& dest, CPoint source) = 0;
  // The same, leaving the target's pixels where the image has `transparent`
  // or, once a mask is made, where the mask is set.
  virtual void drawTransparent(DrawingSurface& target, const CRect& dest, CPoint source, CColor transparent) = 0;
  // Blends with a constant opacity of alpha/255.
  virtual void drawAlphaBlend(DrawingSurface& target, const CRect& dest, CPoint source, uint8_t alpha) = 0;
  // Makes the image's transparency mask, of the image's size, from the
  // pixels of `from` at `offset`: set where they have `transparent`.
  virtual bool makeMask(DrawingSurface& from, CPoint offset, CColor transparent) = 0;
  virtual bool hasMask() const = 0;
};
