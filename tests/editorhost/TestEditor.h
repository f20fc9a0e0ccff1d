// The editor of the test plug-in: a frame on the background bitmap with the
// views the real-mouse tests drive. Positions (frame coordinates) are the
// ones tests/editorhost/real-mouse-test.sh clicks.
#pragma once

#include "toolkit/AEffGUIEditor.h"
#include "toolkit/CRect.h"

namespace test_editor {

inline constexpr CRect kFrameSize{0, 0, 304, 245};
// Reports the buttons of each press in parameter kProbeTag.
inline constexpr CRect kProbe{20, 150, 120, 200};
inline constexpr int32_t kProbeTag = 4;

}  // namespace test_editor

class TestEditor : public AEffGUIEditor {
 public:
  explicit TestEditor(AudioEffect* effect);

  bool open(void* parentWindow) override;
  void close() override;
};
