#include "toolkit/views/CView.h"

#include <cstring>
#include <new>

#include "toolkit/drawing/CBitmap.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"

struct CView::Attribute {
  uint32_t id;
  uint32_t size;
  unsigned char* data;
  Attribute* next;
};

CView::CView(const CRect& rect) : size(rect), mouseArea(rect) {}

CView::~CView() {
  if (background_) background_->release();
  while (attributes_) {
    Attribute* next = attributes_->next;
    delete[] attributes_->data;
    delete attributes_;
    attributes_ = next;
  }
}

void CView::draw(CDrawContext* context) {
  if (background_) {
    if (transparent_) {
      background_->drawTransparent(context, size, CPoint());
    } else {
      background_->draw(context, size, CPoint());
    }
  }
  setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/) { draw(context); }

bool CView::checkUpdate(const CRect& updateRect) { return updateRect.rectOverlap(size); }

void CView::mouse(CDrawContext*, CPoint&, int32_t) {}

void CView::setBackground(CBitmap* background) {
  if (background_) background_->release();
  background_ = background;
  if (background_) background_->retain();
  setDirty(true);
}

CBitmap* CView::getBackground() const { return background_; }

int32_t CView::onKeyDown(VstKeyCode&) { return -1; }

int32_t CView::onKeyUp(VstKeyCode&) { return -1; }

bool CView::onWheel(CDrawContext* context, const CPoint& where, int32_t /*axis*/, float distance) {
  return onWheel(context, where, distance);
}

bool CView::onWheel(CDrawContext*, const CPoint&, float) { return false; }

bool CView::onDrop(CDrawContext*, CDropData*, const CPoint&) { return false; }

void CView::onDragEnter(CDrawContext*, CDropData*, const CPoint&) {}

void CView::onDragLeave(CDrawContext*, CDropData*, const CPoint&) {}

void CView::onDragMove(CDrawContext*, CDropData*, const CPoint&) {}

void CView::looseFocus(CDrawContext*) {}

void CView::takeFocus(CDrawContext*) {}

bool CView::isDirty() const { return dirty_; }

void CView::setDirty(bool dirty) { dirty_ = dirty; }

void CView::setMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }

bool CView::getMouseEnabled() const { return mouseEnabled_; }

void CView::setMouseArea(const CRect& rect) { mouseArea = rect; }

CRect& CView::getMouseArea(CRect& rect) const {
  rect = mouseArea;
  return rect;
}

bool CView::hitTest(const CPoint& where, int32_t) { return where.isInside(mouseArea); }

void CView::setTransparency(bool transparent) { transparent_ = transparent; }

bool CView::getTransparency() const { return transparent_; }

void CView::setViewSize(const CRect& rect) {
  size = rect;
  setDirty(true);
}

CRect& CView::getViewSize(CRect& rect) const {
  rect = size;
  return rect;
}

bool CView::removed(CView*) { return true; }

bool CView::attached(CView*) { return true; }

void CView::getMouseLocation(CDrawContext* context, CPoint& point) {
  if (!context) return;
  if (parentView_ && parentView_->notify(this, kMsgCheckIfViewContainer) == 1) {
    CRect parentSize;
    parentView_->getViewSize(parentSize);
    const CPoint savedOrigin = context->getWindowOrigin();
    const CPoint savedOffset = context->offset;
    context->setWindowOrigin(CPoint(savedOrigin).offset(parentSize.left, parentSize.top));
    context->offset.offset(parentSize.left, parentSize.top);
    parentView_->getMouseLocation(context, point);
    context->setWindowOrigin(savedOrigin);
    context->offset = savedOffset;
    return;
  }
  context->getMouseLocation(point);
}

CPoint& CView::frameToLocal(CPoint& point) const {
  if (parentView_ && parentView_->isTypeOf("CViewContainer")) return parentView_->frameToLocal(point);
  return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
  if (parentView_ && parentView_->isTypeOf("CViewContainer")) return parentView_->localToFrame(point);
  return point;
}

AEffGUIEditor* CView::getEditor() const { return parentFrame_ ? parentFrame_->getEditor() : nullptr; }

int32_t CView::notify(CView*, const char*) { return 0; }

void CView::redrawRect(CDrawContext* context, const CRect& rect) {
  if (parentView_) {
    parentView_->redrawRect(context, rect);
  } else if (parentFrame_) {
    parentFrame_->drawRect(context, rect);
  }
}

bool CView::wantsFocus() const { return wantsFocus_; }

void CView::setWantsFocus(bool wants) { wantsFocus_ = wants; }

bool CView::isTypeOf(const char* name) const { return std::strcmp(name, "CView") == 0; }

void CView::update(CDrawContext* context) {
  if (isDirty()) {
    if (context) {
      redrawRect(context, size);
    } else {
      redraw();
    }
    setDirty(false);
  }
}

void CView::redraw() {
  if (parentFrame_) parentFrame_->drawView(this);
}

bool CView::isDescendantOf(const CView* ancestor) const {
  for (const CView* view = this; view; view = view->parentView_) {
    if (view == ancestor) return true;
  }
  return false;
}

bool CView::setAttribute(uint32_t id, uint32_t bytes, const void* data) {
  auto* copy = new (std::nothrow) unsigned char[bytes == 0 ? 1 : bytes];
  if (!copy) return false;
  if (bytes) std::memcpy(copy, data, bytes);
  for (Attribute* a = attributes_; a; a = a->next) {
    if (a->id == id) {
      delete[] a->data;
      a->data = copy;
      a->size = bytes;
      return true;
    }
  }
  auto* added = new (std::nothrow) Attribute{id, bytes, copy, attributes_};
  if (!added) {
    delete[] copy;
    return false;
  }
  attributes_ = added;
  return true;
}

bool CView::getAttributeSize(uint32_t id, uint32_t& bytes) const {
  for (const Attribute* a = attributes_; a; a = a->next) {
    if (a->id == id) {
      bytes = a->size;
      return true;
    }
  }
  return false;
}

bool CView::getAttribute(uint32_t id, uint32_t capacity, void* data, uint32_t& written) const {
  for (const Attribute* a = attributes_; a; a = a->next) {
    if (a->id == id) {
      if (capacity < a->size) return false;
      if (a->size) std::memcpy(data, a->data, a->size);
      written = a->size;
      return true;
    }
  }
  return false;
}

bool CView::removeAttribute(uint32_t id) {
  for (Attribute** link = &attributes_; *link; link = &(*link)->next) {
    if ((*link)->id == id) {
      Attribute* gone = *link;
      *link = gone->next;
      delete[] gone->data;
      delete gone;
      return true;
    }
  }
  return false;
}
