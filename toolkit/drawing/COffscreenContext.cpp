#include "toolkit/drawing/COffscreenContext.h"

#include "toolkit/drawing/CBitmap.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/platform/Platform.h"

namespace {

// An offscreen without a bitmap to take its size from.
constexpr int32_t kDefaultSide = 20;

std::unique_ptr<DrawingSurface> frameCompatible(CFrame* frame, int32_t width, int32_t height) {
  return createMemorySurface(frame ? frame->getWindowHandle() : nullptr, width, height);
}

int32_t sideOf(CBitmap* bitmap, bool wantWidth) {
  if (!bitmap) return kDefaultSide;
  return wantWidth ? bitmap->getWidth() : bitmap->getHeight();
}

std::unique_ptr<DrawingSurface> bitmapCompatible(CDrawContext* context, CBitmap* bitmap, bool drawInBitmap) {
  const DrawingSurface* like = context ? context->getSurface() : nullptr;
  if (drawInBitmap && bitmap && bitmap->getImage()) return createSurfaceOnBitmap(like, *bitmap->getImage());
  return createMemorySurfaceLike(like, sideOf(bitmap, true), sideOf(bitmap, false));
}

}  // namespace

COffscreenContext::COffscreenContext(CFrame* frame, int32_t width, int32_t height, const CColor& background)
    : CDrawContext(frame, frameCompatible(frame, width, height), CRect(0, 0, width, height)),
      height_(height),
      width_(width),
      backgroundColor_(background) {
  const CRect all(0, 0, width, height);
  setFillColor(background);
  setLineColor(background);
  fillRect(all);
  drawRect(all);
}

COffscreenContext::COffscreenContext(CDrawContext* context, CBitmap* bitmap, bool drawInBitmap)
    : CDrawContext(context ? context->getFrame() : nullptr, bitmapCompatible(context, bitmap, drawInBitmap),
                   CRect(0, 0, sideOf(bitmap, true), sideOf(bitmap, false))),
      bitmap_(bitmap),
      height_(sideOf(bitmap, false)),
      width_(sideOf(bitmap, true)) {
  if (bitmap_) bitmap_->retain();
  if (drawInBitmap && bitmap_) return;
  const CRect all(0, 0, width_, height_);
  if (bitmap_) {
    bitmap_->draw(this, all, CPoint());
  } else {
    setFillColor(kBlackCColor);
    setLineColor(kBlackCColor);
    fillRect(all);
    drawRect(all);
  }
}

COffscreenContext::~COffscreenContext() {
  if (bitmap_) bitmap_->release();
}

void* COffscreenContext::getBitmapHandle() const { return getSurface() ? getSurface()->bitmapHandle() : nullptr; }

void COffscreenContext::copyFrom(CDrawContext* context, const CRect& destRect, const CPoint& srcOffset) {
  if (!context || !getSurface() || !context->getSurface() || destRect.isEmpty()) return;
  CRect dest = destRect;
  dest.offset(context->offset.h, context->offset.v);
  getSurface()->copyTo(*context->getSurface(), dest, srcOffset);
}

void COffscreenContext::copyTo(CDrawContext* context, const CRect& srcRect, const CPoint& destPoint) {
  if (!context || !getSurface() || !context->getSurface() || srcRect.isEmpty()) return;
  const CPoint source = CPoint(srcRect.left, srcRect.top).offset(context->offset.h, context->offset.v);
  context->getSurface()->copyTo(*getSurface(), CRect(destPoint, srcRect.width(), srcRect.height()), source);
}
