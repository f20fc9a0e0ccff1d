// The base of the toolkit's controls: a view that holds a value between a
// minimum and a maximum, reports changes to its listener, and tells the
// frame when a gesture on it begins and ends. A control reads as dirty
// while its value differs from the one it last drew. GUI thread only.
#pragma once

#include <cstdint>

#include "toolkit/controls/CControlListener.h"
#include "toolkit/views/CView.h"

// The modifier bits of a button state: shift, control, alt and the fourth.
inline constexpr int32_t kModifierMask = 8 | 16 | 32 | 64;

class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0, CBitmap* background = nullptr);
  ~CControl() override;

  void draw(CDrawContext* context) override = 0;
  bool isDirty() const override;
  void setDirty(bool dirty = true) override;
  bool isTypeOf(const char* name) const override;

  // The frame's idle pass, which redraws what changed.
  virtual void doIdle();
  // The setters store the value and nothing else: no listener is told.
  virtual void setValue(float value);
  virtual float getValue() const;
  virtual void setMin(float value);
  virtual float getMin() const;
  virtual void setMax(float value);
  virtual float getMax() const;
  virtual void setOldValue(float value);
  virtual float getOldValue() const;
  virtual void setDefaultValue(float value);
  virtual float getDefaultValue() const;
  virtual void setTag(int32_t tag);
  virtual int32_t getTag() const;
  // A gesture starts: this control takes the focus, the frame is told.
  virtual void beginEdit();
  virtual void endEdit();
  virtual void setBackOffset(const CPoint& offset);
  // The back offset becomes the control's top-left.
  virtual void copyBackOffset();
  virtual void setWheelStep(float step);
  virtual float getWheelStep() const;
  // Brings the value into minimum..maximum.
  virtual void clampValue();
  // A control-click (left button with control, nothing else) sets the
  // default value in a gesture of its own; true when it acted.
  virtual bool resetToDefault(CDrawContext* context, int32_t buttons);

  // Whether this click follows the previous one within the double-click
  // time, on the frame's clock.
  bool isDoubleClick();

  CControlListener* getListener() const { return listener; }
  void setListener(CControlListener* newListener) { listener = newListener; }
  CPoint getBackOffset() const { return backOffset; }

 protected:
  // Tells the listener when the value changed since the last drawing.
  void reportIfDirty(CDrawContext* context);

  CControlListener* listener;
  int32_t tag;
  float oldValue = 1.0f;
  float defaultValue = 0.5f;
  float value = 0.0f;
  float vmin = 0.0f;
  float vmax = 1.0f;
  float wheelStep = 0.1f;
  // Ticks of the last click; -1 or 0 when none is stored.
  int32_t lastClickTicks = -1;
  uint32_t doubleClickTime;
  CPoint backOffset;
};
