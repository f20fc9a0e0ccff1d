// What the effect base needs of an editor: the operations the host's
// editor opcodes are forwarded to, in their slot order. The GUI toolkit's
// editor base derives from it.
#pragma once

#include "host/VstAbi.h"

class AudioEffect;

class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* effect) : effect_(effect) {}
  virtual ~AEffEditor() = default;
  AEffEditor(const AEffEditor&) = delete;
  AEffEditor& operator=(const AEffEditor&) = delete;

  virtual AudioEffect* getEffect() { return effect_; }
  // Stores the editor's rectangle into *rect; answers whether it did.
  virtual bool getRect(ERect** rect) = 0;
  virtual bool open(void* parentWindow) = 0;
  virtual void close() = 0;
  virtual bool isOpen() { return systemWindow != nullptr; }
  virtual void idle() {}
  virtual bool onKeyDown(VstKeyCode& /*key*/) { return false; }
  virtual bool onKeyUp(VstKeyCode& /*key*/) { return false; }
  virtual bool onWheel(float /*distance*/) { return false; }
  virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }

  AudioEffect* effect() const { return effect_; }

 private:
  AudioEffect* effect_;

 protected:
  // The host's parent window while the editor is open, else null.
  void* systemWindow = nullptr;
};
