// The effect of the test plug-in: five stored parameters and the test
// editor, nothing else.
#pragma once

#include "host/AudioEffectX.h"

class TestEditorEffect : public AudioEffectX {
 public:
  static constexpr VstInt32 kParameters = 5;

  explicit TestEditorEffect(audioMasterCallback audioMaster);

  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;

 private:
  float values_[kParameters] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
};
