// The editor of the test plug-in: a frame on the background bitmap with a
// film-strip knob, a kick button, an on/off button and a press probe. The
// controls report through setParameterAutomated, so the host sees every
// value they send. Positions (frame coordinates) are the ones
// real-mouse-scenarios.sh clicks.
#pragma once

#include "toolkit/editorbase/AEffGUIEditor.h"
#include "toolkit/controls/CControlListener.h"
#include "toolkit/base/CRect.h"

class CControl;

namespace test_editor {

inline constexpr CRect kFrameSize{0, 0, 304, 245};
// 60 x 60, the knob strip's image size.
inline constexpr CRect kKnob{10, 10, 70, 70};
inline constexpr int32_t kKnobTag = 0;
// 73 x 25, the load button's image size.
inline constexpr CRect kKick{120, 80, 193, 105};
inline constexpr int32_t kKickTag = 1005;
// 18 x 20, the L button's image size.
inline constexpr CRect kOnOff{220, 80, 238, 100};
inline constexpr int32_t kOnOffTag = 3;
// Reports the buttons of each press in parameter kProbeTag.
inline constexpr CRect kProbe{20, 150, 120, 200};
inline constexpr int32_t kProbeTag = 4;

}  // namespace test_editor

class TestEditor : public AEffGUIEditor, public CControlListener {
 public:
  explicit TestEditor(AudioEffect* effect);

  bool open(void* parentWindow) override;
  void close() override;
  // The effect's parameter changed: the control with that tag follows.
  void setParameter(VstInt32 index, float value) override;

  void valueChanged(CDrawContext* context, CControl* control) override;
  int32_t modifierClicked(CDrawContext* context, CControl* control, int32_t buttons) override;

 private:
  CControl* controlWithTag(int32_t tag) const;
};
