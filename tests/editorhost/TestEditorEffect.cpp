#include "tests/editorhost/TestEditorEffect.h"

#include <new>

#include "host/PluginEntry.h"
#include "tests/editorhost/TestEditor.h"
#include "toolkit/editorbase/AEffGUIEditor.h"

TestEditorEffect::TestEditorEffect(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, 1, kParameters) {
  // The editor registers itself with the effect, which owns it from then on.
  new (std::nothrow) TestEditor(this);
  setNumInputs(1);
  setNumOutputs(1);
  canProcessReplacing(true);
}

void TestEditorEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  for (VstInt32 i = 0; i < sampleFrames; ++i) outputs[0][i] = inputs[0][i];
}

void TestEditorEffect::setParameter(VstInt32 index, float value) {
  if (index < 0 || index >= kParameters) return;
  values_[index] = value;
  // Unlike the plug-in's own effect, this one keeps its editor's controls
  // in step, so that a test can set a control's starting value.
  if (auto* editor = dynamic_cast<AEffGUIEditor*>(getEditor())) editor->setParameter(index, value);
}

float TestEditorEffect::getParameter(VstInt32 index) {
  return index >= 0 && index < kParameters ? values_[index] : 0.0f;
}

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new (std::nothrow) TestEditorEffect(audioMaster);
}
