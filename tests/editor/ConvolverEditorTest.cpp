// The editor without a window: its size before any open, the eleven views
// in order with their rectangles and the values read at open, the L/R
// mirror, the length knob and right click redrawing the panel at once,
// updateControl doing nothing for the value already shown, host changes
// showing only after a reopen, and two editors sharing the bitmaps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editor/ConvolverEditor.h"
#include "editor/EditorLayout.h"
#include "editor/ImpulseDisplay.h"
#include "editor/SharedBitmaps.h"
#include "editor/ValueDisplay.h"
#include "effect/ConvolverEffect.h"
#include "tests/editor/RecordingRenderer.h"
#include "tests/support/TestSupport.h"
#include "toolkit/drawing/CBitmap.h"
#include "toolkit/controls/CControl.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"

#ifdef _WIN32
#include <windows.h>

#include "host/ModuleHandle.h"
#endif

namespace {

namespace layout = editor_layout;

struct Instance {
  // The effect owns the editor it registers.
  ConvolverEffect effect{test_support::recordingHost};
  ConvolverEditor* editor = new ConvolverEditor(&effect);
};

std::string display(ConvolverEffect& effect, int index) {
  char text[64] = {};
  effect.getParameterDisplay(index, text);
  return text;
}

std::string rectText(const CRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class ConvolverEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    setModuleInstanceHandle(GetModuleHandleA(nullptr));
#endif
  }
  editor_test::RecordingRenderer renderer;
};

TEST_F(ConvolverEditorTest, OpensElevenViewsInOrderShowingTheParametersAndClosesThemAll) {
  Instance a;
  ERect* size = nullptr;
  ASSERT_TRUE(a.editor->getRect(&size));
  EXPECT_EQ(size->right - size->left, 304);
  EXPECT_EQ(size->bottom - size->top, 245);
  EXPECT_EQ(a.editor->getFrame(), nullptr);

  ASSERT_TRUE(a.editor->open(nullptr));
  CFrame* frame = a.editor->getFrame();
  ASSERT_NE(frame, nullptr);
  const CRect expected[11] = {layout::kKnobs[0],    layout::kReadOuts[0],  layout::kKnobs[1],   layout::kReadOuts[1],
                              layout::kKnobs[2],    layout::kReadOuts[2],  layout::kLoadButton, layout::kLeftButton,
                              layout::kRightButton, layout::kImpulsePanel, layout::kLinkArea};
  ASSERT_EQ(frame->getViewCount(), 11);
  for (int32_t i = 0; i < 11; ++i) {
    CRect r;
    frame->getView(i)->getViewSize(r);
    EXPECT_EQ(rectText(r), rectText(expected[i])) << "view " << i;
  }
  EXPECT_EQ(frame->getView(9), a.editor->impulseDisplay());
  for (int32_t tag = 0; tag < 5; ++tag) {
    ASSERT_NE(a.editor->control(tag), nullptr);
    EXPECT_EQ(a.editor->control(tag)->getTag(), tag);
    EXPECT_EQ(a.editor->control(tag)->getValue(), a.effect.getParameter(tag));
  }
  for (int32_t tag = 0; tag < 3; ++tag) EXPECT_EQ(a.editor->valueDisplay(tag)->getText(), display(a.effect, tag));
  EXPECT_EQ(a.editor->valueDisplay(3), nullptr);
  EXPECT_EQ(a.editor->valueDisplay(4), nullptr);
  a.editor->close();
  EXPECT_EQ(a.editor->getFrame(), nullptr);
}

TEST_F(ConvolverEditorTest, ControlsSetTheirParametersAndTheLengthRedrawsThePanelAtOnce) {
  Instance a;
  a.editor->open(nullptr);
  CFrame* frame = a.editor->getFrame();
  CDrawContext* context = frame->createFrameContext();

  // L switches bypass; R shows the same without its parameter changing.
  CControl* left = a.editor->control(3);
  left->setValue(1.0f);
  a.editor->valueChanged(context, left);
  EXPECT_EQ(a.effect.getParameter(3), 1.0f);
  EXPECT_EQ(a.editor->control(4)->getValue(), 1.0f);
  EXPECT_EQ(a.effect.getParameter(4), 0.0f);
  CControl* right = a.editor->control(4);
  right->setValue(0.0f);
  a.editor->valueChanged(context, right);
  EXPECT_EQ(a.effect.getParameter(4), 0.0f);
  EXPECT_EQ(left->getValue(), 0.0f);

  // Mix changes only its own read-out; length redraws the panel at once.
  renderer.clearDrawing();
  CControl* mix = a.editor->control(0);
  mix->setValue(0.8f);
  a.editor->valueChanged(context, mix);
  EXPECT_EQ(a.effect.getParameter(0), 0.8f);
  EXPECT_EQ(a.editor->valueDisplay(0)->getText(), display(a.effect, 0));
  EXPECT_TRUE(renderer.lines.empty());
  CControl* length = a.editor->control(2);
  length->setValue(1.0f);
  a.editor->valueChanged(context, length);
  EXPECT_EQ(a.editor->valueDisplay(2)->getText(), display(a.effect, 2));
  ASSERT_EQ(renderer.fills.size(), 1u);
  EXPECT_EQ(renderer.fills[0].width, 276) << "the panel shows the new length";

  // A right click at the panel's middle: the knob, read-out and split follow.
  renderer.clearDrawing();
  CPoint middle(14 + 138, 150);
  a.editor->impulseDisplay()->mouse(context, middle, kRButton);
  EXPECT_EQ(a.effect.getParameter(2), 0.5f);
  EXPECT_EQ(length->getValue(), 0.5f);
  EXPECT_EQ(a.editor->valueDisplay(2)->getText(), display(a.effect, 2));
  ASSERT_EQ(renderer.fills.size(), 1u);
  EXPECT_EQ(renderer.fills[0].width, 138);
  // The same value again redraws nothing.
  renderer.clearDrawing();
  a.editor->updateControl(2, 0.5f);
  EXPECT_TRUE(renderer.fills.empty());
  context->release();
  a.editor->close();
}

TEST_F(ConvolverEditorTest, HostChangesShowAfterReopenAndTwoEditorsShareTheBitmaps) {
  Instance a;
  Instance b;
  EXPECT_EQ(sharedBitmap(EditorBitmap::kBack)->getWidth(), 304);
  a.editor->open(nullptr);
  b.editor->open(nullptr);
  EXPECT_NE(a.editor->getFrame(), b.editor->getFrame());
  EXPECT_EQ(a.editor->getFrame()->getBackground(), b.editor->getFrame()->getBackground());

  a.effect.setParameter(0, 0.9f);
  EXPECT_EQ(a.editor->control(0)->getValue(), 0.5f) << "an open editor keeps its knob";
  a.editor->close();
  a.editor->open(nullptr);
  EXPECT_EQ(a.editor->control(0)->getValue(), 0.9f);
  EXPECT_EQ(b.editor->control(0)->getValue(), 0.5f);
  a.editor->close();
  b.editor->close();
}

}  // namespace
