// A knob's read-out: its text, anti-aliased and centred, over the part of
// the window picture that lies under it, composed in its own offscreen and
// copied to the window in one piece.
#pragma once

#include <cstddef>

#include "editor/ViewOffscreen.h"
#include "toolkit/views/CView.h"

class ValueDisplay : public CView {
 public:
  static constexpr size_t kTextSize = 256;

  // `background`: the window picture (not owned).
  ValueDisplay(const CRect& size, CBitmap* background);
  ~ValueDisplay() override;

  void draw(CDrawContext* context) override;
  virtual void drawText(CDrawContext* context);

  // Marks the read-out dirty; keeps at most 255 characters; null empties it.
  void setText(const char* text);
  const char* getText() const { return text_; }

 private:
  char text_[kTextSize] = {};
  CBitmap* background_;
  ViewOffscreen offscreen_;
};
