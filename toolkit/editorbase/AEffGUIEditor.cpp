#include "toolkit/editorbase/AEffGUIEditor.h"

#include "host/AudioEffectX.h"
#include "toolkit/controls/KnobMode.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/editorbase/EditorClock.h"
#include "toolkit/platform/Platform.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/views/CView.h"

namespace {

// One idle pass per this many milliseconds.
constexpr uint32_t kIdleInterval = 100;
// A call that comes early sleeps this long first, then runs if it is now
// within kIdleTolerance of the next pass.
constexpr uint32_t kEarlyPause = 4;
constexpr uint32_t kIdleTolerance = 50;

}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect), lastTicks_(editorClock().ticks()) {
  if (effect) effect->setEditor(this);
}

AEffGUIEditor::~AEffGUIEditor() {
  // A host that closes the effect with its editor still open: the frame and
  // its window go too, rather than leave a window pointing at freed views.
  if (frame) frame->release();
  frame = nullptr;
}

bool AEffGUIEditor::getRect(ERect** out) {
  if (out) *out = &rect;
  return true;
}

bool AEffGUIEditor::open(void* parentWindow) {
  systemWindow = parentWindow;
  return false;
}

void AEffGUIEditor::close() { systemWindow = nullptr; }

bool AEffGUIEditor::isOpen() { return systemWindow != nullptr; }

void AEffGUIEditor::idle() {
  if (inIdle_) return;
  if (frame) frame->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) { return frame && frame->onKeyDown(keyCode) == 1; }

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) { return frame && frame->onKeyUp(keyCode) == 1; }

bool AEffGUIEditor::onWheel(float distance) {
  if (!frame) return false;
  auto* context = new CDrawContext(frame, nullptr, systemWindow);
  CPoint where;
  context->getMouseLocation(where);
  const bool result = frame->onWheel(context, where, distance);
  context->release();
  return result;
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
  setGlobalKnobMode(mode);
  return true;
}

void AEffGUIEditor::setParameter(VstInt32, float) {}

namespace {

// The effect to tell of a gesture on `index`: only the effect's parameters
// reach the host; a button's own tag is no parameter.
AudioEffectX* gestureTarget(AudioEffect* effect, VstInt32 index) {
  auto* effectX = dynamic_cast<AudioEffectX*>(effect);
  if (!effectX || index < 0 || index >= effectX->getAeffect()->numParams) return nullptr;
  return effectX;
}

}  // namespace

void AEffGUIEditor::beginEdit(VstInt32 index) {
  if (AudioEffectX* effectX = gestureTarget(getEffect(), index)) effectX->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index) {
  if (AudioEffectX* effectX = gestureTarget(getEffect(), index)) effectX->endEdit(index);
}

void AEffGUIEditor::doIdle() {
  // The host's idle below may close the editor and the effect.
  const LoopGuard guard(this, nullptr);
  // The tick counter wraps; every comparison goes by wrapped difference so
  // that the throttle works the same on both sides of the wrap.
  uint32_t now = getTicks();
  if (!ticksReached(now, lastTicks_)) {
    wait(kEarlyPause);
    now += kEarlyPause;
    if (!ticksReached(now, lastTicks_ - kIdleTolerance)) return;
  }
  idle();
  dispatchPendingPaint();
  lastTicks_ = now + kIdleInterval;
  inIdle_ = true;
  if (AudioEffect* effect = getEffect()) effect->masterIdle();
  inIdle_ = false;
}

void AEffGUIEditor::wait(uint32_t milliseconds) { editorClock().sleep(milliseconds); }

uint32_t AEffGUIEditor::getTicks() { return editorClock().ticks(); }

AEffGUIEditor::LoopGuard::LoopGuard(AEffGUIEditor* editor, CView* view) : editor_(editor), view_(view) {
  if (view_) view_->retain();
  if (!editor_) return;
  if (editor_->loopDepth_++ == 0) module_.emplace();
  effect_ = editor_->getEffect();
  if (effect_) effect_->keepHold();
}

AEffGUIEditor::LoopGuard::~LoopGuard() {
  // The view first: the frame it may take with it still has its editor.
  if (view_) view_->release();
  if (!editor_) return;
  --editor_->loopDepth_;
  if (effect_ && effect_->isClosed()) {
    // This may be the effect's last hold, and the host may have freed the
    // library after effClose: the thread is still in the library's code
    // until it returns to the host, so the library stays loaded.
    if (module_) module_->keepForever();
  }
  // May delete the effect and with it the editor.
  if (effect_) effect_->releaseHold();
}

bool AEffGUIEditor::LoopGuard::loopOutlived() const {
  if (!editor_) return true;
  return (!effect_ || !effect_->isClosed()) && editor_->frame != nullptr;
}
