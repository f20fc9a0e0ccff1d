// The impulse-response panel: the path of the loaded file at its top left,
// the processor warning at its bottom, the response over the whole possible
// length (green within the used length, red beyond), a faint band over the
// used part and a grey marker where it ends. A right click sets the used
// length to the clicked column. Composed in its own offscreen and copied to
// the window in one piece. GUI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/ViewOffscreen.h"
#include "toolkit/views/CView.h"

class ImpulseDisplayOwner;

class ImpulseDisplay : public CView {
 public:
  static constexpr const char* kNoSseWarning = "Incompatible CPU - no SSE !";
  // The warning's line: this many pixels above the bottom edge.
  static constexpr int32_t kWarningLine = 14;
  // Half heights of the band and of the marker's three strokes.
  static constexpr int32_t kBandReach = 30;
  static constexpr int32_t kMarkerReaches[3] = {30, 25, 20};
  static constexpr uint8_t kMarkerGreys[3] = {110, 130, 150};

  ImpulseDisplay(const CRect& size, ImpulseDisplayOwner* editor);
  ~ImpulseDisplay() override;

  // Asks the editor to draw the panel at once.
  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
  // Renders the whole panel over `background` (the window picture) and
  // copies it to `context`.
  virtual void drawImpulse(CDrawContext* context, CBitmap* background);
  // A notice for the warning line, shown there when the processor warning
  // is not; empty for none. Shown from the next drawing on.
  void setNotice(const std::string& text) { notice_ = text; }
  const std::string& notice() const { return notice_; }

 private:
  ImpulseDisplayOwner* editor_;
  ViewOffscreen offscreen_;
  // The drawn copy of the response.
  std::vector<float> samples_;
  std::string notice_;
};
