#include "toolkit/drawing/CBitmap.h"

#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/platform/Platform.h"

namespace {

// The target rectangle in device coordinates, or nothing to draw on.
DrawingSurface* targetOf(CDrawContext* context, const CRect& rect, CRect& device) {
  if (!context || !context->getSurface() || rect.isEmpty()) return nullptr;
  device = rect;
  device.offset(context->offset.h, context->offset.v);
  return context->getSurface();
}

}  // namespace

CBitmap::CBitmap(int32_t resourceId) { loadFromResource(resourceId); }

CBitmap::CBitmap(CFrame* /*frame*/, int32_t width, int32_t height) {
  image_ = createBitmapImage(width, height);
  if (image_) {
    width_ = width;
    height_ = height;
  }
}

CBitmap::CBitmap() = default;

CBitmap::~CBitmap() { dispose(); }

void CBitmap::dispose() {
  image_.reset();
  width_ = 0;
  height_ = 0;
}

bool CBitmap::loadFromResource(int32_t resourceId) {
  dispose();
  resourceId_ = resourceId;
  image_ = loadBitmapImage(resourceId);
  if (!image_ || image_->width() <= 0 || image_->height() <= 0) {
    image_.reset();
    return false;
  }
  width_ = image_->width();
  height_ = image_->height();
  return true;
}

bool CBitmap::loadFromPath(const void* /*path*/) {
  dispose();
  return false;
}

bool CBitmap::setTransparencyMask(CDrawContext* context, const CPoint& offset) {
  if (!image_ || !context || !context->getSurface()) return false;
  CPoint device = offset;
  device.offset(context->offset.h, context->offset.v);
  return image_->makeMask(*context->getSurface(), device, transparentColor_);
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  CRect device;
  if (DrawingSurface* target = image_ ? targetOf(context, rect, device) : nullptr)
    image_->draw(*target, device, offset);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  CRect device;
  if (DrawingSurface* target = image_ ? targetOf(context, rect, device) : nullptr)
    image_->drawTransparent(*target, device, offset, transparentColor_);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset, uint8_t alpha) {
  CRect device;
  if (DrawingSurface* target = image_ ? targetOf(context, rect, device) : nullptr)
    image_->drawAlphaBlend(*target, device, offset, alpha);
}
