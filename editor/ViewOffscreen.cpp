#include "editor/ViewOffscreen.h"

#include "toolkit/drawing/CBitmap.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/drawing/COffscreenContext.h"

ViewOffscreen::~ViewOffscreen() { release(); }

void ViewOffscreen::release() {
  if (context_) context_->release();
  if (bitmap_) bitmap_->release();
  context_ = nullptr;
  bitmap_ = nullptr;
}

COffscreenContext* ViewOffscreen::begin(CDrawContext* context, const CRect& viewSize, CBitmap* windowPicture) {
  if (!context_ || !bitmap_) {
    release();
    bitmap_ = new CBitmap(context->getFrame(), viewSize.width(), viewSize.height());
    context_ = new COffscreenContext(context, bitmap_, true);
  }
  if (windowPicture) {
    windowPicture->draw(context_, CRect(0, 0, viewSize.width(), viewSize.height()), viewSize.topLeft());
  }
  return context_;
}

void* ViewOffscreen::deviceContext() const { return context_ ? context_->getDeviceContext() : nullptr; }

void* ViewOffscreen::deviceHandle() const { return bitmap_ ? bitmap_->getHandle() : nullptr; }

void ViewOffscreen::copyTo(CDrawContext* context, const CRect& viewSize) {
  if (context_) context_->copyFrom(context, viewSize, CPoint(0, 0));
}
