// A view's own double buffer: a bitmap of the view's size and an offscreen
// context drawing into it, made at the first drawing and reused by every
// later one. A pass starts from the part of the window picture that lies
// under the view and ends with one copy to the target context.
#pragma once

#include "toolkit/base/CRect.h"

class CBitmap;
class CDrawContext;
class COffscreenContext;

class ViewOffscreen {
 public:
  ViewOffscreen() = default;
  ~ViewOffscreen();
  ViewOffscreen(const ViewOffscreen&) = delete;
  ViewOffscreen& operator=(const ViewOffscreen&) = delete;

  // The offscreen for a view at `viewSize`, holding what `windowPicture`
  // has under it (nothing drawn without a picture).
  COffscreenContext* begin(CDrawContext* context, const CRect& viewSize, CBitmap* windowPicture);
  // The offscreen's device context and the bitmap it draws into.
  void* deviceContext() const;
  void* deviceHandle() const;
  // One copy of the whole offscreen to the view's rectangle.
  void copyTo(CDrawContext* context, const CRect& viewSize);

  COffscreenContext* context() const { return context_; }
  CBitmap* bitmap() const { return bitmap_; }

 private:
  void release();

  COffscreenContext* context_ = nullptr;
  CBitmap* bitmap_ = nullptr;
};
