// A bitmap of the toolkit: loaded from the module's resources or made empty
// in a given size, drawn opaquely, with a transparent colour, or with
// constant alpha. A bitmap that did not load has no handle, a size of 0 x 0
// and draws nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/base/CColor.h"
#include "toolkit/base/CCountedObject.h"
#include "toolkit/base/CRect.h"
#include "toolkit/platform/BitmapImage.h"

class CDrawContext;
class CFrame;

class CBitmap : public CCountedObject {
 public:
  explicit CBitmap(int32_t resourceId);
  // Compatible with the screen; a size below 1 x 1 makes no bitmap.
  CBitmap(CFrame* frame, int32_t width, int32_t height);
  CBitmap();
  ~CBitmap() override;

  // Copies rect's size from `offset` in the bitmap (frame n of a vertical
  // strip: offset (0, n x frame height)).
  virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint());
  // The same, leaving the pixels of the transparent colour undrawn.
  virtual void drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint());
  // Blends with a constant opacity of alpha/255.
  virtual void drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(),
                              uint8_t alpha = 128);
  virtual void dispose();
  virtual bool loadFromResource(int32_t resourceId);
  // Files are not supported: disposes and answers false.
  virtual bool loadFromPath(const void* path);

  int32_t getWidth() const { return width_; }
  int32_t getHeight() const { return height_; }
  int32_t getResourceId() const { return resourceId_; }
  void* getHandle() const { return image_ ? image_->handle() : nullptr; }
  bool isLoaded() const { return image_ != nullptr; }
  void setTransparentColor(const CColor& colour) { transparentColor_ = colour; }
  // Makes a mask from `context`'s pixels at `offset` (the bitmap's size):
  // from then on transparent drawing leaves the pixels where the context
  // had the transparent colour, whatever the bitmap holds there.
  bool setTransparencyMask(CDrawContext* context, const CPoint& offset = CPoint());
  CColor getTransparentColor() const { return transparentColor_; }
  // The platform's image, for offscreens that draw into the bitmap.
  BitmapImage* getImage() const { return image_.get(); }

 private:
  int32_t resourceId_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  CColor transparentColor_ = kTransparentCColor;
  std::unique_ptr<BitmapImage> image_;
};
