// The extended effect base: opcodes 25 to 79 and the extended host calls.
#pragma once

#include "host/AudioEffect.h"

class AudioEffectX : public AudioEffect {
 public:
  using AudioEffect::AudioEffect;

  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

  // Asks for MIDI only for a synth or an effect that can receive it.
  void resume() override;

  virtual bool canParameterBeAutomated(VstInt32 /*index*/) { return true; }
  virtual VstInt32 getPlugCategory();
  virtual bool getEffectName(char* /*name*/) { return false; }
  virtual bool getVendorString(char* /*text*/) { return false; }
  virtual bool getProductString(char* /*text*/) { return false; }
  virtual VstInt32 getVendorVersion() { return 0; }
  virtual VstInt32 canDo(char* /*text*/) { return 0; }
  virtual VstInt32 getTailSize() { return 0; }
  virtual VstInt32 getVstVersion() { return kVstVersion; }

  // Host calls.
  bool wantEvents(VstInt32 filter = 1);
  bool sizeWindow(VstInt32 width, VstInt32 height);
  bool canHostDo(char* text);
  bool beginEdit(VstInt32 index);
  bool endEdit(VstInt32 index);
  float updateSampleRate();
  VstInt32 updateBlockSize();
};
