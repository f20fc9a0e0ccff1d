// A knob drawn from a vertical film strip: image n of the strip shows the
// value n / (frames - 1), so the last image appears only at the maximum.
// It takes all its input handling from CKnob and redraws only when the
// handle position for its value moves.
#pragma once

#include <cstdint>

#include "toolkit/controls/CKnob.h"

class CAnimKnob : public CKnob {
 public:
  // A strip of `frameCount` images, each `frameHeight` pixels high.
  CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t frameCount, int32_t frameHeight,
            CBitmap* background, const CPoint& offset = CPoint());
  // Images as high as the control; as many as the strip holds.
  CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
            const CPoint& offset = CPoint());
  ~CAnimKnob() override;

  void draw(CDrawContext* context) override;
  bool isDirty() const override;
  bool isTypeOf(const char* name) const override;

  // The index of the strip's image that the current value shows.
  int32_t imageIndex() const;
  int32_t getFrameCount() const { return frameCount; }
  int32_t getFrameHeight() const { return frameHeight; }
  void setInverseBitmap(bool inverse) { inverseBitmap = inverse; }
  bool getInverseBitmap() const { return inverseBitmap; }

 protected:
  int16_t frameCount;
  int32_t frameHeight;
  bool inverseBitmap = false;
  CPoint lastDrawnPoint;

 private:
  // The source row of the image drawn for the current value.
  int32_t sourceRow() const;
};
