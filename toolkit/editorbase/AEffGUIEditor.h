// The editor base that the host's editor opcodes reach: it holds the
// editor's rectangle and frame, passes keys and the wheel to the frame,
// forwards edit gestures to the effect, and runs the idle pass that the
// controls call while they track the mouse. GUI thread only.
#pragma once

#include <cstdint>

#include "host/AEffEditor.h"

class CFrame;

class AEffGUIEditor : public AEffEditor {
 public:
  // Registers itself with `effect` (setEditor).
  explicit AEffGUIEditor(AudioEffect* effect);
  ~AEffGUIEditor() override;

  // Hands out a pointer to `rect`.
  bool getRect(ERect** rect) override;
  // Stores the host's window and answers false; an editor that makes its
  // frame overrides it.
  bool open(void* parentWindow) override;
  void close() override;
  bool isOpen() override;
  // Redraws the frame's dirty views, except while the idle pass itself is
  // telling the host that it is idle.
  void idle() override;
  bool onKeyDown(VstKeyCode& keyCode) override;
  bool onKeyUp(VstKeyCode& keyCode) override;
  // The wheel at the pointer's position over the host's window.
  bool onWheel(float distance) override;
  // Stores the process-wide knob mode that every editor's knobs follow.
  bool setKnobMode(VstInt32 mode) override;
  virtual void setParameter(VstInt32 index, float value);
  // Reported to the host through the effect.
  virtual void beginEdit(VstInt32 index);
  virtual void endEdit(VstInt32 index);
  // At most one pass per 100 ms: redraw, handle a pending paint, let the
  // host idle. Called early it sleeps 4 ms and, still too early, returns.
  virtual void doIdle();

  void wait(uint32_t milliseconds);
  uint32_t getTicks();

  CFrame* getFrame() const { return frame; }

 protected:
  ERect rect{};

 private:
  uint32_t lastTicks_;
  bool inIdle_ = false;

 protected:
  // Made by the derived editor's open, destroyed by its close.
  CFrame* frame = nullptr;
};
