// A rotary knob. The value maps linearly onto an arc from the start angle
// through the range angle (negative turns clockwise); the rest of the
// circle is a dead zone whose nearer half belongs to each end. It follows
// the mouse in a circular or a linear mode, the wheel and the arrow keys.
// Angles are radians, counter-clockwise from three o'clock. GUI thread only.
#pragma once

#include <cstdint>

#include "toolkit/base/CColor.h"
#include "toolkit/controls/CControl.h"

class CKnob : public CControl {
 public:
  CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
        const CPoint& offset = CPoint());
  ~CKnob() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  using CControl::onWheel;
  int32_t onKeyDown(VstKeyCode& keyCode) override;
  bool isTypeOf(const char* name) const override;

  virtual void drawHandle(CDrawContext* context);
  virtual void setStartAngle(float angle);
  virtual float getStartAngle() const;
  virtual void setRangeAngle(float angle);
  virtual float getRangeAngle() const;
  // The handle's position for the current value, relative to the knob's
  // top-left, `inset` pixels inside the rim.
  virtual void valueToPoint(CPoint& point) const;
  // The value under `point` (relative to the knob's top-left); a point in
  // the dead zone gives the end of the arc it is nearer to.
  virtual float valueFromPoint(CPoint& point) const;
  virtual void setInset(int32_t inset);
  virtual void setShadowColor(const CColor& colour);
  virtual void setHandleColor(const CColor& colour);
  virtual void setHandleBitmap(CBitmap* handle);
  virtual void setZoomFactor(float factor);
  virtual float getZoomFactor() const;

  int32_t getInset() const { return inset; }
  CBitmap* getHandleBitmap() const { return handleBitmap; }

 protected:
  // Recomputes the value coefficient, intercept and half dead zone.
  void compute();

  CPoint offset;
  CColor handleColor = kWhiteCColor;
  CColor shadowColor = kGreyCColor;
  CBitmap* handleBitmap = nullptr;
  int32_t inset = 3;
  float startAngle = 3.9269907f;  // 225 degrees
  float rangeAngle = -4.712389f;  // 270 degrees clockwise
  float halfAngle = 0.0f;
  float valueCoefficient = 0.0f;
  float valueIntercept = 0.0f;
  float radius;
  float zoomFactor = 1.5f;
};
