// The plug-in's window: three film-strip knobs with their read-outs, the
// load button, the L and R switches, the impulse-response panel and the
// link over the logo, on the shared background picture. Controls are bound
// to the effect's parameters by tag, reached through a ConvolverAccess. In
// the VST build the editor sets parameters with the effect's plain setter
// (the host hears only the gestures' begin and end), and the effect does
// not move an open editor's controls: they show the values read at open and
// whatever the user has set since. An LV2 host moves them through
// updateControl. GUI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "desktop/FileChooser.h"
#include "editor/ImpulseDisplayOwner.h"
#include "editor/SmoothObjects.h"
#include "toolkit/controls/CControlListener.h"
#include "toolkit/editorbase/AEffGUIEditor.h"

class AudioEffect;
class CControl;
class ConvolverAccess;
class ConvolverEffect;
class ImpulseDisplay;
class ValueDisplay;

class ConvolverEditor : public AEffGUIEditor, public CControlListener, public ImpulseDisplayOwner {
 public:
  static constexpr int32_t kControlCount = 5;

  // Registers itself with `effect` and reaches it directly (EffectAccess).
  explicit ConvolverEditor(ConvolverEffect* effect);
  // Reaches the effect through `access`; registers with `effect` when one
  // is given (a host of another format has none).
  ConvolverEditor(AudioEffect* effect, std::unique_ptr<ConvolverAccess> access);
  ~ConvolverEditor() override;

  bool open(void* parentWindow) override;
  // Also ends a file chooser still open.
  void close() override;
  // Collects the answer of a file chooser that runs beside the editor, if
  // any, before the idle pass.
  void idle() override;
  void valueChanged(CDrawContext* context, CControl* control) override;
  // Not handled: the controls act on modified clicks themselves.
  int32_t modifierClicked(CDrawContext*, CControl*, int32_t) override { return 0; }

  // Shows a new value of parameter `index` (0 to 4) on its control and
  // read-out; the length also redraws the panel at once. Nothing happens
  // when the control already shows exactly `value`.
  void updateControl(int32_t index, float value) override;
  // Refreshes read-out `index` from the effect (tags 3 and 4 have none).
  void updateValueDisplay(int32_t index);
  // Draws the impulse panel into `context` at once.
  void redrawImpulse(CDrawContext* context) override;
  ConvolverAccess* convolverAccess() const override { return access_.get(); }

  CControl* control(int32_t index) const { return controls_[index]; }
  ValueDisplay* valueDisplay(int32_t index) const { return valueDisplays_[index]; }
  ImpulseDisplay* impulseDisplay() const { return impulseDisplay_; }
  // The load button's file chooser while one runs beside the editor, or
  // null.
  const FileChooser* openFileChooser() const;

 private:
  // Asks for a file to load: a modal dialog runs from a call posted to the
  // frame, after the press; the idle pass collects the answer of a chooser
  // that runs beside.
  void chooseImpulseResponse(CDrawContext* context);
  // Runs the chooser; `context` is the press's, or null.
  void runFileChooser(CDrawContext* context);
  // Loads the chosen file and shows the outcome, drawing with the press's
  // context while a modal dialog answers, with a frame context otherwise.
  void loadChosenFile(const NativePath& path);
  // After a chosen file: the knobs and read-outs take the effect's new
  // values and the panel is drawn again.
  void showLoadedResponse(CDrawContext* context);
  // Puts the chooser's notice on the display's warning line.
  void showChooserNotice(CDrawContext* context);
  // Started with the editor, stopped with it.
  SmoothDrawingSession smoothDrawing_;
  std::unique_ptr<ConvolverAccess> access_;
  CControl* controls_[kControlCount] = {};
  ValueDisplay* valueDisplays_[kControlCount] = {};
  ImpulseDisplay* impulseDisplay_ = nullptr;
  // Made at the first press, ended with close. Shared with a press that
  // runs a modal dialog, which a close from inside the dialog must not end.
  std::shared_ptr<FileChooser> fileChooser_;
  // The load button's context while its press runs the chooser.
  CDrawContext* pressContext_ = nullptr;
};
