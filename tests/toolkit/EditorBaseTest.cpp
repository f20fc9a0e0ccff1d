// The editor base without a window: the host's editor opcodes reach it, the
// idle pass throttles itself by an injected clock (across the counter's
// wrap too), gestures reach the host once each, and a press handled after
// its button went up still carries its buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/AudioEffectX.h"
#include "toolkit/controls/CKnob.h"
#include "toolkit/controls/KnobMode.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/editorbase/AEffGUIEditor.h"
#include "toolkit/editorbase/EditorClock.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/views/MouseInput.h"

namespace {

class FakeClock : public EditorClock {
 public:
  uint32_t ticks() const override { return now; }
  void sleep(uint32_t milliseconds) const override {
    sleeps.push_back(milliseconds);
    now += milliseconds;
  }
  mutable uint32_t now = 1000;
  mutable std::vector<uint32_t> sleeps;
};

// Nothing held, the pointer at the origin: a click that is already over.
class ReleasedMouse : public MouseInputSource {
 public:
  bool isDown(InputKey key) const override { return key == InputKey::kAlt && altDown; }
  CPoint cursorPosition() const override { return CPoint(); }
  CPoint windowOrigin(void*) const override { return CPoint(); }
  bool altDown = false;
};

std::vector<std::string> gHostLog;
AEffect* gReenterOnIdle = nullptr;
// A host that closes the editor and then the effect from its idle callback.
AEffect* gCloseOnIdle = nullptr;

VstIntPtr VSTCALLBACK testHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  switch (opcode) {
    case audioMasterVersion:
      return 2400;
    case audioMasterIdle:
      gHostLog.push_back("idle");
      // A host that runs the editor's idle from its own idle callback.
      if (gReenterOnIdle) gReenterOnIdle->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
      if (AEffect* closing = gCloseOnIdle) {
        gCloseOnIdle = nullptr;
        closing->dispatcher(closing, effEditClose, 0, 0, nullptr, 0.0f);
        closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f);
        gHostLog.push_back("closed");
      }
      return 1;
    case audioMasterBeginEdit:
      gHostLog.push_back("begin " + std::to_string(index));
      return 1;
    case audioMasterEndEdit:
      gHostLog.push_back("end " + std::to_string(index));
      return 1;
    default:
      return 0;
  }
}

int gEffectsDeleted = 0;

class TestEffect : public AudioEffectX {
 public:
  TestEffect() : AudioEffectX(testHost, 1, 2) {}
  ~TestEffect() override { ++gEffectsDeleted; }
  void processReplacing(float**, float**, VstInt32) override {}
};

// The left button held for a number of polls, then let go.
class HeldMouse : public MouseInputSource {
 public:
  bool isDown(InputKey key) const override { return key == InputKey::kLeftButton && polls-- > 0; }
  CPoint cursorPosition() const override { return CPoint(20, 5); }
  CPoint windowOrigin(void*) const override { return CPoint(); }
  mutable int polls = 0;
};

class KnobListener : public CControlListener {
 public:
  void valueChanged(CDrawContext*, CControl* control) override {
    gHostLog.push_back("changed " + std::to_string(control->getTag()));
  }
  int32_t modifierClicked(CDrawContext*, CControl*, int32_t) override { return 0; }
};

int gFramesDestroyed = 0;

// A frame that counts its idle calls.
class CountingFrame : public CFrame {
 public:
  using CFrame::CFrame;
  ~CountingFrame() override { ++gFramesDestroyed; }
  void idle() override {
    ++idles;
    gHostLog.push_back("frame idle");
    CFrame::idle();
  }
  int idles = 0;
};

// An editor whose open makes a window-less frame.
class TestEditor : public AEffGUIEditor {
 public:
  explicit TestEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
    rect.right = 120;
    rect.bottom = 80;
  }
  bool open(void* parent) override {
    AEffGUIEditor::open(parent);
    frame = new CountingFrame(CRect(0, 0, 120, 80), nullptr, this);
    return true;
  }
  void close() override {
    if (frame) frame->release();
    frame = nullptr;
    AEffGUIEditor::close();
  }
  CountingFrame* counting() const { return static_cast<CountingFrame*>(frame); }
};

// A view that records the buttons it gets and the keys it handles.
class ButtonView : public CView {
 public:
  explicit ButtonView(const CRect& rect) : CView(rect) {}
  void mouse(CDrawContext* context, CPoint&, int32_t buttons) override {
    received.push_back(buttons);
    // A drag loop polls the current state: with the button already up it
    // ends at once, after one step.
    int steps = 1;
    while (context->getMouseButtons() & kLButton) ++steps;
    loopSteps = steps;
  }
  int32_t onKeyDown(VstKeyCode& key) override { return key.character == 'k' ? 1 : -1; }
  std::vector<int32_t> received;
  int loopSteps = 0;
};

class EditorBase : public ::testing::Test {
 protected:
  void SetUp() override {
    gHostLog.clear();
    gReenterOnIdle = nullptr;
    gCloseOnIdle = nullptr;
    setEditorClock(&clock);
    effect = new TestEffect();
    editor = new TestEditor(effect);
  }
  // A new effect and editor made at `ticks`, as a host would open one then.
  void restartAt(uint32_t ticks) {
    delete effect;
    clock.now = ticks;
    effect = new TestEffect();
    editor = new TestEditor(effect);
  }
  void TearDown() override {
    delete effect;  // and its editor
    setEditorClock(nullptr);
    setMouseInputSource(nullptr);
    setMouseButtonsSwapped(false);
  }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
    return effect->getAeffect()->dispatcher(effect->getAeffect(), opcode, index, value, ptr, opt);
  }
  // A completed pass at the clock's time.
  void passNow() {
    editor->doIdle();
    gHostLog.clear();
    clock.sleeps.clear();
  }
  bool ranPass() const {
    for (const std::string& entry : gHostLog)
      if (entry == "idle") return true;
    return false;
  }
  void expectThrottledPasses(uint32_t later);

  FakeClock clock;
  TestEffect* effect = nullptr;
  TestEditor* editor = nullptr;
};

TEST_F(EditorBase, HostOpcodesReachTheEditorAndItsFrame) {
  EXPECT_EQ(effect->getEditor(), editor);
  EXPECT_TRUE(effect->getAeffect()->flags & effFlagsHasEditor);
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 120);
  EXPECT_EQ(rect->bottom, 80);

  // Keys and the wheel without a frame are not handled.
  EXPECT_EQ(dispatch(effEditKeyDown, 'k', 0, nullptr, 0), 0);
  EXPECT_FALSE(editor->onWheel(1.0f));
  EXPECT_FALSE(editor->isOpen());

  int parent = 0;
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, &parent), 1);
  EXPECT_TRUE(editor->isOpen());
  auto* view = new ButtonView(CRect(0, 0, 50, 50));
  editor->getFrame()->addView(view);
  editor->getFrame()->setFocusView(view);
  EXPECT_EQ(dispatch(effEditKeyDown, 'k', 0, nullptr, 0), 1);
  EXPECT_EQ(dispatch(effEditKeyDown, 'x', 0, nullptr, 0), 0);
  EXPECT_EQ(dispatch(effEditKeyUp, 'k', 0, nullptr, 0), 0);  // the view handles no key-up

  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 1);
  EXPECT_EQ(getGlobalKnobMode(), 2);
  EXPECT_EQ(editor->getFrame()->getKnobMode(), 2);
  setGlobalKnobMode(kKnobModeCircular);

  // The frame's clock, idle pass and gestures are the editor's; only the
  // effect's parameters (two here) reach the host with theirs.
  EXPECT_EQ(editor->getFrame()->getTicks(), clock.now);
  for (const int32_t index : {1, 2, -1, 1005}) {
    editor->getFrame()->beginEdit(index);
    editor->getFrame()->endEdit(index);
  }
  EXPECT_EQ(gHostLog, (std::vector<std::string>{"begin 1", "end 1"}));
  gHostLog.clear();
  clock.now += 500;
  editor->getFrame()->doIdle();
  EXPECT_EQ(gHostLog, (std::vector<std::string>{"frame idle", "idle"}));

  gHostLog.clear();
  EXPECT_EQ(dispatch(effEditIdle), 0);
  EXPECT_EQ(gHostLog, (std::vector<std::string>{"frame idle"}));
  EXPECT_EQ(dispatch(effEditClose), 0);
  EXPECT_FALSE(editor->isOpen());
  EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(EditorBase, AnEditorLeftOpenTakesItsFrameWithIt) {
  int parent = 0;
  dispatch(effEditOpen, 0, 0, &parent);
  gFramesDestroyed = 0;
  // effClose without effEditClose: the effect deletes the editor.
  restartAt(clock.now);
  EXPECT_EQ(gFramesDestroyed, 1);
}

// From a pass just run: 10 ms later a call sleeps 4 ms and skips; 60 ms
// after the pass (46 + the 4 slept + the 10 before) it sleeps 4 ms and runs.
// The next pass is due `later` ms after the time the last one counted (the
// sleep included); a call then runs without sleeping.
void EditorBase::expectThrottledPasses(uint32_t later) {
  clock.now += 10;
  editor->doIdle();
  EXPECT_EQ(clock.sleeps, std::vector<uint32_t>{4});
  EXPECT_FALSE(ranPass());
  clock.sleeps.clear();
  clock.now += 46;
  editor->doIdle();
  EXPECT_EQ(clock.sleeps, std::vector<uint32_t>{4});
  EXPECT_TRUE(ranPass());
  gHostLog.clear();
  clock.sleeps.clear();
  clock.now += later;
  editor->doIdle();
  EXPECT_TRUE(clock.sleeps.empty());
  EXPECT_TRUE(ranPass());
}

TEST_F(EditorBase, IdlePassThrottlesToOnePassPer100MsAndSleeps4MsWhenEarly) {
  passNow();
  expectThrottledPasses(100);
}

TEST_F(EditorBase, IdleThrottleWorksTheSameAcrossTheTickCounterWrap) {
  // Passes just before the wrap, and the same steps as above across it,
  // the last one long after the pass, well past the wrap.
  for (const uint32_t start : {0xFFFFFF00u, 0xFFFFFFC0u, 0xFFFFFFFFu, 0x7FFFFFF0u}) {
    SCOPED_TRACE(start);
    restartAt(start);
    passNow();
    expectThrottledPasses(200);
  }
}

TEST_F(EditorBase, IdlePassRedrawsFirstThenLetsTheHostIdleWithoutReenteringTheFrame) {
  int parent = 0;
  dispatch(effEditOpen, 0, 0, &parent);
  gReenterOnIdle = effect->getAeffect();
  clock.now += 1000;
  editor->doIdle();
  // The host's effEditIdle from inside its idle callback does not reach the
  // frame a second time.
  EXPECT_EQ(gHostLog, (std::vector<std::string>{"frame idle", "idle"}));
  EXPECT_EQ(editor->counting()->idles, 1);
  // Outside the pass it does.
  gReenterOnIdle = nullptr;
  dispatch(effEditIdle);
  EXPECT_EQ(editor->counting()->idles, 2);
  dispatch(effEditClose);
}

TEST_F(EditorBase, PressCarriesItsOwnButtonsWhenTheButtonIsAlreadyUp) {
  // The event's own button and modifiers. The event names the logical
  // button already, so swapped buttons change nothing here.
  EXPECT_EQ(buttonsOfPress(PressedButton::kLeft, false, false, false), kLButton);
  EXPECT_EQ(buttonsOfPress(PressedButton::kMiddle, true, false, false), kMButton | kShift);
  EXPECT_EQ(buttonsOfPress(PressedButton::kRight, false, true, true), kRButton | kControl | kAlt);
  setMouseButtonsSwapped(true);
  EXPECT_EQ(buttonsOfPress(PressedButton::kLeft, false, false, false), kLButton);
  EXPECT_EQ(buttonsOfPress(PressedButton::kRight, false, true, false), kRButton | kControl);
  setMouseButtonsSwapped(false);

  // The button is up by the time the press is handled: the view still gets
  // the press's buttons, and its drag loop, polling, ends after one step.
  ReleasedMouse released;
  setMouseInputSource(&released);
  int parent = 0;
  dispatch(effEditOpen, 0, 0, &parent);
  auto* view = new ButtonView(CRect(0, 0, 50, 50));
  editor->getFrame()->addView(view);
  auto* context = new CDrawContext(editor->getFrame(), nullptr, nullptr);
  CPoint where(10, 10);
  editor->getFrame()->mouse(context, where, buttonsOfPress(PressedButton::kLeft, false, true, false));
  // Asking the state instead (-1) finds nothing held: the fault this mends.
  editor->getFrame()->mouse(context, where, -1);
  context->release();
  EXPECT_EQ(view->received, (std::vector<int32_t>{kLButton | kControl, 0}));
  EXPECT_EQ(view->loopSteps, 1);
  dispatch(effEditClose);
}

// The host closes the editor and the effect from its idle callback while a
// knob drag runs its idle passes: the drag goes on to the button's release
// on views that still exist, tells the closed host nothing more, and the
// frame, editor and effect go as the press returns. A new instance then
// works.
TEST_F(EditorBase, HostClosingInsideAKnobDragReleasesEverythingAsThePressReturns) {
  for (int round = 0; round < 2; ++round) {
    int parent = 0;
    dispatch(effEditOpen, 0, 0, &parent);
    KnobListener listener;
    editor->getFrame()->addView(new CKnob(CRect(0, 0, 40, 40), &listener, 1, nullptr, nullptr));
    HeldMouse mouse;
    mouse.polls = 40;
    setMouseInputSource(&mouse);
    gFramesDestroyed = 0;
    gEffectsDeleted = 0;
    clock.now += 1000;
    gCloseOnIdle = round == 0 ? effect->getAeffect() : nullptr;
    auto* context = new CDrawContext(editor->getFrame(), nullptr, nullptr);
    CPoint where(30, 5);
    editor->getFrame()->mouse(context, where, kLButton);
    context->release();
    setMouseInputSource(nullptr);
    if (round == 1) {
      // The new instance's drag: its gesture reaches the host whole.
      EXPECT_EQ(gHostLog.front(), "begin 1");
      EXPECT_EQ(gHostLog.back(), "end 1");
      EXPECT_EQ(gFramesDestroyed, 0);
      break;
    }
    EXPECT_EQ(gHostLog.front(), "begin 1");
    // After effClose no host call went out (no idle, no end): only the
    // listener heard the rest of the drag.
    const auto closed = std::find(gHostLog.begin(), gHostLog.end(), "closed");
    ASSERT_NE(closed, gHostLog.end());
    for (auto entry = closed + 1; entry != gHostLog.end(); ++entry) EXPECT_EQ(entry->rfind("changed", 0), 0u) << *entry;
    EXPECT_EQ(gFramesDestroyed, 1);
    EXPECT_EQ(gEffectsDeleted, 1);
    // The host's instance is gone; a new one takes its place.
    effect = new TestEffect();
    editor = new TestEditor(effect);
    gHostLog.clear();
  }
  dispatch(effEditClose);
}

// A call posted during a press runs after it, from the idle pass of a
// window-less frame, as a loop of its own: the host may close everything
// inside it, and what it released goes once it returns.
TEST_F(EditorBase, PostedCallsRunAfterTheEventAndMayCloseTheHostsInstance) {
  int parent = 0;
  dispatch(effEditOpen, 0, 0, &parent);
  CFrame* frame = editor->getFrame();
  AEffect* record = effect->getAeffect();
  std::vector<std::string> ran;
  frame->post([&] {
    ran.push_back("first");
    frame->post([&] { ran.push_back("posted while running"); });
    record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    // Still here until the call returns.
    ran.push_back(frame->getEditor() == editor ? "editor kept" : "editor gone");
  });
  EXPECT_TRUE(ran.empty());
  gFramesDestroyed = 0;
  gEffectsDeleted = 0;
  frame->idle();
  EXPECT_EQ(ran, (std::vector<std::string>{"first", "editor kept"}));
  EXPECT_EQ(gFramesDestroyed, 1);
  EXPECT_EQ(gEffectsDeleted, 1);
  effect = nullptr;
}

}  // namespace
