#include "toolkit/views/CFrame.h"

#include <cstring>

#include "host/AudioEffectX.h"
#include "toolkit/controls/KnobMode.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/drawing/COffscreenContext.h"
#include "toolkit/editorbase/AEffGUIEditor.h"
#include "toolkit/platform/Platform.h"

namespace {

constexpr unsigned char kVirtualTab = 2;
constexpr unsigned char kModifierShift = 1;
// The vertical wheel.
constexpr int32_t kWheelAxisY = 1;

}  // namespace

CFrame::CFrame(const CRect& rect, void* systemWindow, AEffGUIEditor* editor)
    : CViewContainer(rect, nullptr), editor_(editor), systemWindow_(systemWindow) {
  setFrame(this);
  blendBinding_ = bindBlendFunctions();
  // The window is made at once inside the host's window, then takes drops.
  if (systemWindow) attachWindow(createFrameWindow(*this, systemWindow));
  if (window_) setDropActive(true);
}

CFrame::~CFrame() {
  setModalView(nullptr);
  // The window goes first: it restores the cursor, revokes its drop target
  // and stops sending events.
  window_.reset();
  setFrameContext(nullptr);
  if (backBuffer_) backBuffer_->release();
  backBuffer_ = nullptr;
  // The children go while the frame's own state is still there for them.
  removeAll(true);
  unbindBlendFunctions(blendBinding_);
}

void CFrame::attachWindow(std::unique_ptr<FrameWindow> window) { window_ = std::move(window); }

CDrawContext* CFrame::createFrameContext() {
  if (frameContext_) {
    frameContext_->retain();
    return frameContext_;
  }
  return new CDrawContext(this, nullptr, getWindowHandle());
}

void CFrame::setFrameContext(CDrawContext* context) {
  if (context) context->retain();
  if (frameContext_) frameContext_->release();
  frameContext_ = context;
}

// Drawing.

void CFrame::draw(CDrawContext* context) {
  CDrawContext* target = context ? context : createFrameContext();
  CViewContainer::draw(target);
  if (!context) target->release();
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
  firstDraw_ = false;
  CDrawContext* target = context ? context : createFrameContext();
  CRect oldClip;
  target->getClipRect(oldClip);
  CRect clip = updateRect;
  clip.bound(oldClip);
  target->setClipRect(clip);
  if (!updateRect.isEmpty()) CViewContainer::drawRect(target, updateRect);
  target->setClipRect(oldClip);
  if (!context) target->release();
}

void CFrame::update(CDrawContext* context) {
  if (!openFlag_ || updatesDisabled_) return;
  CDrawContext* target = context ? context : createFrameContext();
  if (CView::isDirty()) {
    draw(target);
    setDirty(false);
  } else {
    if (modalView_ && modalView_->isDirty()) modalView_->update(target);
    CRect oldClip;
    target->getClipRect(oldClip);
    for (int32_t i = 0; CView* child = getView(i); ++i) {
      CRect clip;
      child->getViewSize(clip);
      clip.bound(oldClip);
      target->setClipRect(clip);
      child->update(target);
    }
    target->setClipRect(oldClip);
  }
  if (!context) target->release();
}

void CFrame::idle() {
  // The events read here may start a control's mouse loop.
  const AEffGUIEditor::LoopGuard guard(editor_, this);
  if (window_) window_->processEvents();
  if (!posted_.empty()) runPosted();
  if (!openFlag_ || firstDraw_) return;
  if (!isDirty()) return;
  CDrawContext* context = createFrameContext();
  update(context);
  context->release();
}

void CFrame::invalidate(const CRect& rect) {
  for (int32_t i = 0; CView* child = getView(i); ++i) {
    CRect childSize;
    child->getViewSize(childSize);
    if (childSize.rectOverlap(rect)) child->setDirty(true);
  }
}

void CFrame::drawView(CView* view) {
  CView* target = view && isChild(view) ? view : this;
  CDrawContext* context = createFrameContext();
  if (target == this) {
    draw(context);
  } else {
    CRect oldClip;
    context->getClipRect(oldClip);
    CRect clip;
    target->getViewSize(clip);
    clip.bound(oldClip);
    context->setClipRect(clip);
    target->draw(context);
    context->setClipRect(oldClip);
  }
  context->release();
}

// Events.

void CFrame::mouse(CDrawContext* context, CPoint& where, int32_t buttons) {
  const AEffGUIEditor::LoopGuard guard(editor_, this);
  setFocusView(nullptr);
  if (buttons == -1 && context) buttons = context->getMouseButtons();
  if (modalView_) {
    if (modalView_->hitTest(where, buttons)) modalView_->mouse(context, where, buttons);
    return;
  }
  CViewContainer::mouse(context, where, buttons);
}

int32_t CFrame::onKeyDown(VstKeyCode& keyCode) {
  int32_t result = focusView_ ? focusView_->onKeyDown(keyCode) : -1;
  if (result == -1 && modalView_) result = modalView_->onKeyDown(keyCode);
  if (result == -1 && keyCode.virt == kVirtualTab) {
    advanceFocus(focusView_, (keyCode.modifier & kModifierShift) != 0);
    return 1;
  }
  return result;
}

int32_t CFrame::onKeyUp(VstKeyCode& keyCode) {
  int32_t result = focusView_ ? focusView_->onKeyUp(keyCode) : -1;
  if (result == -1 && modalView_) result = modalView_->onKeyUp(keyCode);
  return result;
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance) {
  CView* view = modalView_ ? modalView_ : getViewAt(where, false);
  if (!view) return false;
  CDrawContext* target = context ? context : createFrameContext();
  const bool result = view->onWheel(target, where, axis, distance);
  if (!context) target->release();
  return result;
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  return onWheel(context, where, kWheelAxisY, distance);
}

bool CFrame::advanceFocus(CView* oldFocus, bool reverse) {
  if (modalView_) return false;
  if (!oldFocus) oldFocus = focusView_;
  if (!oldFocus) return CViewContainer::advanceFocus(nullptr, reverse);
  if (isChild(oldFocus)) {
    if (CViewContainer::advanceFocus(oldFocus, reverse)) return true;
    setFocusView(nullptr);
    return false;
  }
  // Each enclosing container in turn, outwards, past the branch that holds
  // the old focus.
  CView* branch = oldFocus;
  for (CView* parent = oldFocus->getParentView(); parent && parent != this; parent = parent->getParentView()) {
    auto* container = dynamic_cast<CViewContainer*>(parent);
    if (container && container->advanceFocus(branch, reverse)) return true;
    branch = parent;
  }
  return CViewContainer::advanceFocus(branch->getParentView() == this ? branch : nullptr, reverse);
}

void CFrame::setFocusView(CView* view) {
  CView* old = focusView_;
  focusView_ = view;
  if (focusView_ && focusView_->wantsFocus()) focusView_->setDirty(true);
  if (old) {
    old->looseFocus(nullptr);
    if (old->wantsFocus()) old->setDirty(true);
  }
}

CView* CFrame::getFocusView() const { return focusView_; }

bool CFrame::setModalView(CView* view) {
  if (view && modalView_) return false;
  if (modalView_) removeView(modalView_, false);
  modalView_ = view;
  if (view) addView(view);
  return true;
}

CView* CFrame::getModalView() const { return modalView_; }

CView* CFrame::getCurrentView() const { return modalView_ ? modalView_ : CViewContainer::getCurrentView(); }

void CFrame::post(std::function<void()> call) {
  posted_.push_back(std::move(call));
  if (window_ && posted_.size() == 1) window_->wakeForPostedCalls();
}

void CFrame::runPosted() {
  const AEffGUIEditor::LoopGuard guard(editor_, this);
  // Calls posted while these run wait for the next round.
  std::vector<std::function<void()>> calls;
  calls.swap(posted_);
  for (auto& call : calls) call();
}

void CFrame::viewLeavingTree(CView* view) {
  if (!view) return;
  if (focusView_ && focusView_->isDescendantOf(view)) setFocusView(nullptr);
  if (modalView_ && modalView_->isDescendantOf(view)) modalView_ = nullptr;
}

bool CFrame::getCurrentLocation(CPoint& where) {
  CDrawContext* context = createFrameContext();
  context->getMouseLocation(where);
  context->release();
  return true;
}

// State.

void CFrame::setViewSize(const CRect& rect) { setSize(rect.width(), rect.height()); }

bool CFrame::setSize(int32_t width, int32_t height) {
  if (!openFlag_ || (width == size.width() && height == size.height())) return false;
  if (backBuffer_) backBuffer_->release();
  backBuffer_ = nullptr;
  auto* effect = editor_ ? dynamic_cast<AudioEffectX*>(editor_->getEffect()) : nullptr;
  char sizeWindow[] = "sizeWindow";
  if (effect && effect->canHostDo(sizeWindow) && effect->sizeWindow(width, height)) {
    // The host resized its window; only the frame's own follows.
    if (window_) window_->resize(width, height);
  } else if (window_) {
    // A walk that stops at a window with too much room around its child
    // still leaves the frame's views at the size of its window.
    window_->resizeWithAncestors(width, height);
  }
  CViewContainer::setViewSize(CRect(0, 0, width, height));
  return true;
}

bool CFrame::getSize(CRect& rect) const {
  rect = size;
  return true;
}

bool CFrame::getSize(CRect* rect) const { return rect && getSize(*rect); }

bool CFrame::setPosition(int32_t, int32_t) { return false; }

bool CFrame::getPosition(int32_t& x, int32_t& y) const {
  x = size.left;
  y = size.top;
  return true;
}

AEffGUIEditor* CFrame::getEditor() const { return editor_; }

bool CFrame::open(CPoint*) { return false; }

bool CFrame::close() { return false; }

bool CFrame::isOpen() const { return openFlag_; }

// A frame reaches its editor's idle pass, clock and gestures through the
// editor base class; on its own it has none of them.
void CFrame::doIdle() {
  if (!editor_) return;
  editor_->doIdle();
  // The host closed the editor inside the pass (the loop's guard keeps
  // both): the frame is closed, so the loop that called ends.
  if (editor_->getFrame() != this) openFlag_ = false;
}

uint32_t CFrame::getTicks() const { return editor_ ? editor_->getTicks() : 0; }

// The knob mode is process-wide: the editor base stores it for every editor.
int32_t CFrame::getKnobMode() const { return getGlobalKnobMode(); }

void CFrame::beginEdit(int32_t index) {
  if (editor_) editor_->beginEdit(index);
}

void CFrame::endEdit(int32_t index) {
  if (editor_) editor_->endEdit(index);
}

void CFrame::setCursor(int32_t type) {
  if (window_) window_->setCursor(type);
}

bool CFrame::setDropActive(bool active) {
  if (window_ && !window_->setDropActive(active)) return false;
  dropActive_ = active;
  return true;
}

bool CFrame::isDropActive() const { return dropActive_; }

void CFrame::setOpenFlag(bool open) { openFlag_ = open; }

void CFrame::windowDestroyed() {
  if (window_) window_->windowDestroying();
  openFlag_ = false;
  systemWindow_ = nullptr;
}

bool CFrame::getOpenFlag() const { return openFlag_; }

bool CFrame::updatesDisabled(bool state) {
  const bool previous = updatesDisabled_;
  updatesDisabled_ = state;
  return previous;
}

bool CFrame::updatesDisabled() const { return updatesDisabled_; }

bool CFrame::isTypeOf(const char* name) const {
  return std::strcmp(name, "CFrame") == 0 || CViewContainer::isTypeOf(name);
}
