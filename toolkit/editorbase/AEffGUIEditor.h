// The editor base that the host's editor opcodes reach: it holds the
// editor's rectangle and frame, passes keys and the wheel to the frame,
// forwards edit gestures to the effect, and runs the idle pass that the
// controls call while they track the mouse. GUI thread only.
//
// The rule for nested loops. A control tracking the mouse runs idle passes
// that call the host (masterIdle), and a modal dialog pumps messages: in
// either, any host call (effEditClose, effClose, effEditOpen, setParameter,
// setChunk) may arrive, and nothing that call released may be touched once
// the loop returns. Every path that can run such a loop holds a LoopGuard
// for its duration: it retains the view (or frame) the loop runs in and
// holds the effect, so that a close inside the loop releases the views, the
// frame, the editor and the effect only when the outermost guard goes; and
// the outermost guard holds the library, which a host may free right after
// the last effClose. The editor's window may still go at once. After a
// loop, code asks loopOutlived() whether its editor and effect are still
// the host's before it acts on what the loop returned.
#pragma once

#include <cstdint>
#include <optional>

#include "host/AEffEditor.h"
#include "host/ModuleHold.h"

class CFrame;
class CView;

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

  // Held by every path that may run a nested loop of `editor` (either may
  // be null): a press or an event read reaching the frame, the idle pass,
  // a modal dialog.
  class LoopGuard {
   public:
    LoopGuard(AEffGUIEditor* editor, CView* view);
    ~LoopGuard();
    LoopGuard(const LoopGuard&) = delete;
    LoopGuard& operator=(const LoopGuard&) = delete;

    // Whether the editor is still open and its effect not closed by the
    // host: what the loop returned may be applied.
    bool loopOutlived() const;

   private:
    AEffGUIEditor* editor_;
    CView* view_;
    AudioEffect* effect_ = nullptr;
    std::optional<ModuleHold> module_;
  };
  // How many guards of this editor are on the stack.
  int loopDepth() const { return loopDepth_; }

 protected:
  ERect rect{};

 private:
  uint32_t lastTicks_;
  bool inIdle_ = false;
  int loopDepth_ = 0;

 protected:
  // Made by the derived editor's open, destroyed by its close.
  CFrame* frame = nullptr;
};
