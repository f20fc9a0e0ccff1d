#include "toolkit/editorbase/AEffGUIEditor.h"

#include "host/AudioEffectX.h"
#include "toolkit/controls/KnobMode.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/editorbase/EditorClock.h"
#include "toolkit/platform/Platform.h"
#include "toolkit/views/CFrame.h"

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

void AEffGUIEditor::beginEdit(VstInt32 index) {
  if (auto* effectX = dynamic_cast<AudioEffectX*>(getEffect())) effectX->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index) {
  if (auto* effectX = dynamic_cast<AudioEffectX*>(getEffect())) effectX->endEdit(index);
}

void AEffGUIEditor::doIdle() {
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
