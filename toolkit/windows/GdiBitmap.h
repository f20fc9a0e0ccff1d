// A device-dependent GDI bitmap, drawn through a memory device context.
#pragma once

#include <windows.h>

#include "toolkit/platform/BitmapImage.h"

class GdiBitmap : public BitmapImage {
 public:
  // Takes over `bitmap`.
  GdiBitmap(HBITMAP bitmap, int32_t width, int32_t height);
  ~GdiBitmap() override;
  GdiBitmap(const GdiBitmap&) = delete;
  GdiBitmap& operator=(const GdiBitmap&) = delete;

  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  void* handle() const override { return bitmap_; }

  void draw(DrawingSurface& target, const CRect& dest, CPoint source) override;
  // Through the mask when one is made, else through TransparentBlt when it
  // is bound, else through a mask made for the call.
  void drawTransparent(DrawingSurface& target, const CRect& dest, CPoint source, CColor transparent) override;
  // Only when AlphaBlend is bound.
  void drawAlphaBlend(DrawingSurface& target, const CRect& dest, CPoint source, uint8_t alpha) override;
  bool makeMask(DrawingSurface& from, CPoint offset, CColor transparent) override;
  bool hasMask() const override { return mask_ != nullptr; }

 private:
  HBITMAP bitmap_;
  HBITMAP mask_ = nullptr;  // monochrome, white where transparent
  int32_t width_;
  int32_t height_;
};
