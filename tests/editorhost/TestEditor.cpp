#include "tests/editorhost/TestEditor.h"

#include "host/AudioEffect.h"
#include "resources/ResourceIds.h"
#include "tests/editorhost/PressProbe.h"
#include "toolkit/controls/CAnimKnob.h"
#include "toolkit/drawing/CBitmap.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/controls/CKickButton.h"
#include "toolkit/controls/COnOffButton.h"

using namespace test_editor;

namespace {

// Adds the control to the frame with its value taken from the effect.
void place(CFrame* frame, CControl* control, AudioEffect* effect) {
  control->setValue(effect->getParameter(control->getTag()));
  frame->addView(control);
}

}  // namespace

TestEditor::TestEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
  rect.left = static_cast<VstInt16>(kFrameSize.left);
  rect.top = static_cast<VstInt16>(kFrameSize.top);
  rect.right = static_cast<VstInt16>(kFrameSize.right);
  rect.bottom = static_cast<VstInt16>(kFrameSize.bottom);
}

bool TestEditor::open(void* parentWindow) {
  AEffGUIEditor::open(parentWindow);
  frame = new CFrame(kFrameSize, parentWindow, this);
  auto* background = new CBitmap(IDB_BACK);
  auto* knobStrip = new CBitmap(IDB_KNOB);
  auto* kickImages = new CBitmap(IDB_LOAD);
  auto* onOffImages = new CBitmap(IDB_LEFT);
  frame->setBackground(background);
  AudioEffect* effect = getEffect();
  place(frame, new CAnimKnob(kKnob, this, kKnobTag, knobStrip), effect);
  place(frame, new CKickButton(kKick, this, kKickTag, kickImages), effect);
  place(frame, new COnOffButton(kOnOff, this, kOnOffTag, onOffImages), effect);
  frame->addView(new PressProbe(kProbe, effect, kProbeTag));
  // The views hold their own references.
  for (CBitmap* bitmap : {background, knobStrip, kickImages, onOffImages}) bitmap->release();
  return true;
}

void TestEditor::close() {
  if (frame) frame->release();
  frame = nullptr;
  AEffGUIEditor::close();
}

void TestEditor::setParameter(VstInt32 index, float value) {
  if (CControl* control = controlWithTag(index)) {
    control->setValue(value);
    control->setDirty(true);
  }
}

void TestEditor::valueChanged(CDrawContext*, CControl* control) {
  getEffect()->setParameterAutomated(control->getTag(), control->getValue());
}

int32_t TestEditor::modifierClicked(CDrawContext*, CControl*, int32_t) { return 0; }

CControl* TestEditor::controlWithTag(int32_t tag) const {
  if (!frame) return nullptr;
  for (int32_t i = 0; CView* view = frame->getView(i); ++i) {
    auto* control = dynamic_cast<CControl*>(view);
    if (control && control->getTag() == tag) return control;
  }
  return nullptr;
}
