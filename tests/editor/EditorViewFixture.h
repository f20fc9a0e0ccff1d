// A frame of the editor's size without a window, an effect, and a stand-in
// editor that draws the impulse panel at once, as the real editor does, and
// records the controls it is asked to move.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/EffectAccess.h"
#include "editor/ImpulseDisplay.h"
#include "editor/ImpulseDisplayOwner.h"
#include "effect/ConvolverEffect.h"
#include "tests/support/TestSupport.h"
#include "toolkit/drawing/CBitmap.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/drawing/COffscreenContext.h"

namespace editor_test {

inline constexpr CRect kEditorRect(0, 0, editor_layout::kWidth, editor_layout::kHeight);
inline constexpr CRect kImpulseRect = editor_layout::kImpulsePanel;

class StandInEditor final : public ImpulseDisplayOwner {
 public:
  explicit StandInEditor(ConvolverEffect& effect) : access_(effect) {}
  ConvolverAccess* convolverAccess() const override { return &access_; }
  void redrawImpulse(CDrawContext* context) override {
    if (context && display && background) display->drawImpulse(context, background);
  }
  void updateControl(int32_t index, float value) override { updates.emplace_back(index, value); }

  ImpulseDisplay* display = nullptr;
  CBitmap* background = nullptr;
  std::vector<std::pair<int32_t, float>> updates;

 private:
  mutable EffectAccess access_;
};

// The frame owns the display; `window` stands for the frame's window.
struct EditorViews {
  ConvolverEffect effect{test_support::recordingHost};
  StandInEditor editor{effect};
  CFrame frame{kEditorRect, nullptr, nullptr};
  CBitmap* background = new CBitmap(&frame, kEditorRect.width(), kEditorRect.height());
  COffscreenContext window{&frame, kEditorRect.width(), kEditorRect.height(), kBlackCColor};
  ImpulseDisplay* display = new ImpulseDisplay(kImpulseRect, &editor);

  EditorViews() {
    editor.display = display;
    editor.background = background;
    frame.addView(display);
  }
  ~EditorViews() { background->release(); }
};

}  // namespace editor_test
