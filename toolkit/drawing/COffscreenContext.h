// A drawing context on a memory bitmap: the double buffer of containers and
// views. A size below 1 x 1 makes a context that draws nothing.
#pragma once

#include <cstdint>

#include "toolkit/drawing/CDrawContext.h"

class CBitmap;

class COffscreenContext : public CDrawContext {
 public:
  // width x height, compatible with the frame's window, filled with
  // `background`.
  COffscreenContext(CFrame* frame, int32_t width, int32_t height, const CColor& background = kBlackCColor);
  // The bitmap's size (20 x 20 without one), compatible with `context`.
  // With drawInBitmap the drawing goes straight into the bitmap; otherwise
  // into a copy of it (black without a bitmap).
  COffscreenContext(CDrawContext* context, CBitmap* bitmap, bool drawInBitmap = false);
  ~COffscreenContext() override;

  // This offscreen's pixels from srcOffset to destRect on `context`.
  void copyFrom(CDrawContext* context, const CRect& destRect, const CPoint& srcOffset = CPoint());
  // `context`'s pixels at srcRect into this offscreen at destPoint.
  void copyTo(CDrawContext* context, const CRect& srcRect, const CPoint& destPoint = CPoint());

  int32_t getWidth() const { return width_; }
  int32_t getHeight() const { return height_; }
  CColor getBackgroundColor() const { return backgroundColor_; }
  // The memory bitmap (HBITMAP, or cairo_surface_t*); null when refused.
  void* getBitmapHandle() const;

 private:
  CBitmap* bitmap_ = nullptr;
  int32_t height_ = 0;
  int32_t width_ = 0;
  CColor backgroundColor_ = kBlackCColor;
};
