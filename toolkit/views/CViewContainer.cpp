#include "toolkit/views/CViewContainer.h"

#include <cstring>

#include "toolkit/drawing/CBitmap.h"
#include "toolkit/drawing/COffscreenContext.h"
#include "toolkit/views/CFrame.h"

CViewContainer::CViewContainer(const CRect& rect, CFrame* frame, CBitmap* background) : CView(rect) {
  setFrame(frame);
  if (background) setBackground(background);
  setDirty(false);
}

CViewContainer::~CViewContainer() {
  removeAll(true);
  releaseOffscreen();
}

// Drawing.

bool CViewContainer::ensureOffscreen() {
  if (!offscreen_ && !localBounds().isEmpty()) {
    offscreen_ = new COffscreenContext(getFrame(), size.width(), size.height(), backgroundColor_);
  }
  if (offscreen_ && !offscreen_->getSurface()) releaseOffscreen();
  return offscreen_ != nullptr;
}

void CViewContainer::releaseOffscreen() {
  if (offscreen_) offscreen_->release();
  offscreen_ = nullptr;
}

void CViewContainer::drawInto(CDrawContext* target, const CRect& clip, const CRect& local, bool restricted) {
  target->setClipRect(clip);
  if (restricted) {
    drawBackgroundRect(target, local);
  } else if (CBitmap* bitmap = getBackground()) {
    if (getTransparency()) {
      bitmap->drawTransparent(target, localBounds(), backgroundOffset_);
    } else {
      bitmap->draw(target, localBounds(), backgroundOffset_);
    }
  } else if (!getTransparency()) {
    target->setFillColor(backgroundColor_);
    target->fillRect(localBounds());
  }
  const bool scrolls = isTypeOf("CScrollContainer");
  for (Node* node = first_; node; node = node->next) {
    CView* child = node->view;
    if (restricted && !child->checkUpdate(local)) continue;
    CRect childSize;
    child->getViewSize(childSize);
    CRect childClip = childSize;
    childClip.bound(clip);
    if (restricted && childClip.isEmpty()) continue;
    const bool wasDirty = child->isDirty();
    target->setClipRect(childClip);
    if (restricted) {
      child->drawRect(target, local);
      // Only part of it was drawn: the rest still needs drawing.
      if (wasDirty && childClip != childSize && !scrolls) child->setDirty(true);
    } else {
      child->draw(target);
    }
  }
}

void CViewContainer::draw(CDrawContext* context) {
  if (context) drawArea(context, localBounds(), false);
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
  if (!context) return;
  CRect local = updateRect;
  local.bound(size);
  local.offset(-size.left, -size.top);
  drawArea(context, local, true);
}

void CViewContainer::drawArea(CDrawContext* context, const CRect& local, bool restricted) {
  const CPoint savedOffset = context->offset;
  const bool buffered = drawInOffscreen_ && ensureOffscreen();
  CDrawContext* target = buffered ? offscreen_ : context;
  if (!buffered) context->offset.offset(size.left, size.top);
  CRect clip;
  context->getClipRect(clip);
  // The clip is in the parent's coordinates while the offscreen is in this
  // container's own.
  if (buffered && static_cast<const CView*>(getFrame()) != this) clip.offset(-size.left, -size.top);
  clip.bound(local);
  CRect oldTargetClip;
  target->getClipRect(oldTargetClip);
  drawInto(target, clip, local, restricted);
  target->setClipRect(oldTargetClip);
  context->offset = savedOffset;
  if (buffered) offscreen_->copyFrom(context, CRect(local).offset(size.left, size.top), local.topLeft());
  setDirty(false);
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect) {
  if (CBitmap* bitmap = getBackground()) {
    CRect oldClip;
    context->getClipRect(oldClip);
    CRect clip = rect;
    clip.bound(oldClip);
    context->setClipRect(clip);
    const CRect whole(0, 0, bitmap->getWidth(), bitmap->getHeight());
    if (getTransparency()) {
      bitmap->drawTransparent(context, whole, backgroundOffset_);
    } else {
      bitmap->draw(context, whole, backgroundOffset_);
    }
    context->setClipRect(oldClip);
  } else if (!getTransparency()) {
    context->setFillColor(backgroundColor_);
    context->fillRect(rect);
  }
}

void CViewContainer::redrawRect(CDrawContext* context, const CRect& rect) {
  CRect inParent = rect;
  inParent.offset(size.left, size.top);
  if (getTransparency()) {
    if (CView* parent = getParentView()) {
      parent->redrawRect(context, inParent);
    } else if (CFrame* frame = getFrame(); frame && static_cast<CView*>(frame) != this) {
      frame->drawRect(context, inParent);
    }
    return;
  }
  if (!context) return;
  CPoint parentPosition;
  if (CView* parent = getParentView()) parent->localToFrame(parentPosition);
  const CPoint savedOffset = context->offset;
  context->offset.offset(parentPosition.h, parentPosition.v);
  drawRect(context, inParent);
  context->offset = savedOffset;
}

void CViewContainer::update(CDrawContext* context) {
  if (mode_ == kNormalUpdate) {
    if (isDirty()) redrawRect(context, localBounds());
  } else if (CView::isDirty()) {
    redrawRect(context, localBounds());
  } else {
    for (Node* node = first_; node; node = node->next) {
      CView* child = node->view;
      if (!child->isDirty() || !child->checkUpdate(localBounds())) continue;
      if (child->notify(this, kMsgCheckIfViewContainer) == 1) {
        child->update(context);
      } else {
        CRect part;
        child->getViewSize(part);
        part.bound(localBounds());
        redrawRect(context, part);
      }
    }
  }
  setDirty(false);
}

bool CViewContainer::isDirty() const {
  if (CView::isDirty()) return true;
  for (Node* node = first_; node; node = node->next) {
    if (!node->view->isDirty()) continue;
    CRect visible;
    node->view->getViewSize(visible);
    visible.bound(localBounds());
    if (!visible.isEmpty()) return true;
  }
  return false;
}

// Events.

CView* CViewContainer::viewAtLocal(const CPoint& local) const {
  for (Node* node = last_; node; node = node->previous) {
    CRect area;
    node->view->getMouseArea(area);
    if (local.isInside(area)) return node->view;
  }
  return nullptr;
}

void CViewContainer::mouse(CDrawContext* context, CPoint& where, int32_t buttons) {
  CPoint local = where;
  local.offset(-size.left, -size.top);
  for (Node* node = last_; node; node = node->previous) {
    CView* child = node->view;
    if (child->getMouseEnabled() && child->hitTest(local, buttons)) {
      // Kept while its mouse loop runs, even if the loop removes it.
      child->retain();
      child->mouse(context, local, buttons);
      child->release();
      return;
    }
  }
}

bool CViewContainer::hitTest(const CPoint& where, int32_t buttons) { return CView::hitTest(where, buttons); }

int32_t CViewContainer::onKeyDown(VstKeyCode& keyCode) {
  for (Node* node = last_; node; node = node->previous) {
    const int32_t result = node->view->onKeyDown(keyCode);
    if (result != -1) return result;
  }
  return -1;
}

int32_t CViewContainer::onKeyUp(VstKeyCode& keyCode) {
  for (Node* node = last_; node; node = node->previous) {
    const int32_t result = node->view->onKeyUp(keyCode);
    if (result != -1) return result;
  }
  return -1;
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance) {
  CPoint local = where;
  local.offset(-size.left, -size.top);
  CView* view = viewAtLocal(local);
  return view && view->getMouseEnabled() && view->onWheel(context, local, axis, distance);
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  return onWheel(context, where, 1, distance);
}

// The drag operations work in this container's coordinates: the point and
// the context's offset move by its origin while a child is called.
namespace {

class LocalDrag {
 public:
  LocalDrag(CDrawContext* context, const CPoint& where, const CRect& size) : context_(context), local_(where) {
    local_.offset(-size.left, -size.top);
    if (context_) {
      saved_ = context_->offset;
      context_->offset.offset(size.left, size.top);
    }
  }
  ~LocalDrag() {
    if (context_) context_->offset = saved_;
  }
  LocalDrag(const LocalDrag&) = delete;
  LocalDrag& operator=(const LocalDrag&) = delete;
  const CPoint& where() const { return local_; }

 private:
  CDrawContext* context_;
  CPoint local_;
  CPoint saved_;
};

}  // namespace

void CViewContainer::onDragEnter(CDrawContext* context, CDropData* drag, const CPoint& where) {
  LocalDrag local(context, where, size);
  if (currentDragView_) currentDragView_->onDragLeave(context, drag, local.where());
  currentDragView_ = viewAtLocal(local.where());
  if (currentDragView_) currentDragView_->onDragEnter(context, drag, local.where());
}

void CViewContainer::onDragMove(CDrawContext* context, CDropData* drag, const CPoint& where) {
  LocalDrag local(context, where, size);
  CView* view = viewAtLocal(local.where());
  if (view != currentDragView_) {
    if (currentDragView_) currentDragView_->onDragLeave(context, drag, local.where());
    currentDragView_ = view;
    if (view) view->onDragEnter(context, drag, local.where());
  } else if (view) {
    view->onDragMove(context, drag, local.where());
  }
}

void CViewContainer::onDragLeave(CDrawContext* context, CDropData* drag, const CPoint& where) {
  LocalDrag local(context, where, size);
  if (currentDragView_) currentDragView_->onDragLeave(context, drag, local.where());
  currentDragView_ = nullptr;
}

bool CViewContainer::onDrop(CDrawContext* context, CDropData* drag, const CPoint& where) {
  LocalDrag local(context, where, size);
  CView* view = viewAtLocal(local.where());
  if (view != currentDragView_) {
    if (currentDragView_) currentDragView_->onDragLeave(context, drag, local.where());
    currentDragView_ = view;
    if (view) view->onDragEnter(context, drag, local.where());
  }
  bool result = false;
  if (view) {
    result = view->onDrop(context, drag, local.where());
    view->onDragLeave(context, drag, local.where());
  }
  currentDragView_ = nullptr;
  return result;
}

void CViewContainer::looseFocus(CDrawContext* context) {
  for (Node* node = first_; node; node = node->next) node->view->looseFocus(context);
}

void CViewContainer::takeFocus(CDrawContext* context) {
  for (Node* node = first_; node; node = node->next) node->view->takeFocus(context);
}

bool CViewContainer::advanceFocus(CView* oldFocus, bool reverse) {
  bool skipping = oldFocus != nullptr;
  for (Node* node = reverse ? last_ : first_; node; node = reverse ? node->previous : node->next) {
    CView* child = node->view;
    if (skipping) {
      skipping = child != oldFocus;
      continue;
    }
    if (child->wantsFocus()) {
      if (CFrame* frame = getFrame()) frame->setFocusView(child);
      return true;
    }
    auto* inner = child->notify(this, kMsgCheckIfViewContainer) == 1 ? dynamic_cast<CViewContainer*>(child) : nullptr;
    if (inner && inner->advanceFocus(nullptr, reverse)) return true;
  }
  return false;
}

CView* CViewContainer::getCurrentView() const {
  CFrame* frame = getFrame();
  if (!frame) return nullptr;
  CPoint where;
  frame->getCurrentLocation(where);
  frameToLocal(where);
  return viewAtLocal(where);
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
  CPoint local = where;
  local.offset(-size.left, -size.top);
  CView* view = viewAtLocal(local);
  if (view && deep && view->notify(const_cast<CViewContainer*>(this), kMsgCheckIfViewContainer) == 1) {
    if (auto* inner = dynamic_cast<CViewContainer*>(view)) {
      if (CView* found = inner->getViewAt(local, deep)) return found;
    }
  }
  return view;
}

// Coordinates.

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
  point.offset(-size.left, -size.top);
  return CView::frameToLocal(point);
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
  point.offset(size.left, size.top);
  return CView::localToFrame(point);
}

int32_t CViewContainer::notify(CView*, const char* message) {
  return message && std::strcmp(message, kMsgCheckIfViewContainer) == 0 ? 1 : 0;
}

bool CViewContainer::isTypeOf(const char* name) const {
  return std::strcmp(name, "CViewContainer") == 0 || CView::isTypeOf(name);
}

// Geometry and lifecycle.

void CViewContainer::setViewSize(const CRect& rect) {
  CView::setViewSize(rect);
  if (offscreen_ && drawInOffscreen_) {
    releaseOffscreen();
    if (!localBounds().isEmpty()) {
      offscreen_ = new COffscreenContext(getFrame(), size.width(), size.height(), kBlackCColor);
    }
  }
}

bool CViewContainer::removed(CView* parent) {
  releaseOffscreen();
  return CView::removed(parent);
}

bool CViewContainer::attached(CView* parent) {
  // Children added before this container joined a frame learn it now.
  for (Node* node = first_; node; node = node->next) {
    if (!node->view->getFrame()) node->view->setFrame(getFrame());
  }
  if (drawInOffscreen_) ensureOffscreen();
  return CView::attached(parent);
}

void CViewContainer::addView(CView* view, const CRect& area, bool mouseEnabled) {
  if (!view) return;
  view->setMouseArea(area);
  view->setMouseEnabled(mouseEnabled);
  addView(view);
}

void CViewContainer::addView(CView* view) {
  if (!view) return;
  Node* node = new Node{view, nullptr, last_};
  if (last_) {
    last_->next = node;
  } else {
    first_ = node;
  }
  last_ = node;
  view->setParentView(this);
  view->setFrame(getFrame());
  view->attached(this);
  view->setDirty(true);
}

void CViewContainer::unlink(Node* node, bool withRelease) {
  CView* view = node->view;
  if (currentDragView_ == view) currentDragView_ = nullptr;
  // The frame must not keep pointing at a view that is leaving (and may be
  // destroyed below), nor at anything inside it.
  if (CFrame* frame = getFrame()) frame->viewLeavingTree(view);
  view->removed(this);
  (node->previous ? node->previous->next : first_) = node->next;
  (node->next ? node->next->previous : last_) = node->previous;
  delete node;
  view->setParentView(nullptr);
  view->setFrame(nullptr);
  if (withRelease) view->release();
}

void CViewContainer::removeView(CView* view, bool withRelease) {
  for (Node* node = first_; node; node = node->next) {
    if (node->view == view) {
      unlink(node, withRelease);
      return;
    }
  }
}

void CViewContainer::removeAll(bool withRelease) {
  while (first_) unlink(first_, withRelease);
}

bool CViewContainer::isChild(CView* view) const {
  for (Node* node = first_; node; node = node->next) {
    if (node->view == view) return true;
  }
  return false;
}

int32_t CViewContainer::getViewCount() const {
  int32_t count = 0;
  for (Node* node = first_; node; node = node->next) ++count;
  return count;
}

CView* CViewContainer::getView(int32_t index) const {
  if (index < 0) return nullptr;
  Node* node = first_;
  while (node && index-- > 0) node = node->next;
  return node ? node->view : nullptr;
}

void CViewContainer::setBackgroundColor(const CColor& colour) {
  backgroundColor_ = colour;
  setDirty(true);
}

CColor CViewContainer::getBackgroundColor() const { return backgroundColor_; }

void CViewContainer::setBackgroundOffset(const CPoint& offset) { backgroundOffset_ = offset; }

const CPoint& CViewContainer::getBackgroundOffset() const { return backgroundOffset_; }

void CViewContainer::setMode(int32_t mode) { mode_ = mode; }

int32_t CViewContainer::getMode() const { return mode_; }

void CViewContainer::useOffscreen(bool use) {
  drawInOffscreen_ = use;
  if (!use) releaseOffscreen();
}
