// The leaf view of the toolkit: a rectangle in its parent's coordinates
// that draws itself, tracks whether it needs redrawing, and receives mouse,
// wheel, key, focus and drag events. Virtual operations keep a fixed order
// that subclasses rely on.
#pragma once

#include <cstdint>

#include "host/VstAbi.h"
#include "toolkit/base/CCountedObject.h"
#include "toolkit/base/CRect.h"

class AEffGUIEditor;
class CBitmap;
class CDrawContext;
class CDropData;
class CFrame;

// The message a container answers with 1.
inline constexpr const char* kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

class CView : public CCountedObject {
 public:
  explicit CView(const CRect& size);
  ~CView() override;

  virtual void draw(CDrawContext* context);
  virtual void drawRect(CDrawContext* context, const CRect& updateRect);
  virtual bool checkUpdate(const CRect& updateRect);
  virtual void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1);
  virtual void setBackground(CBitmap* background);
  virtual CBitmap* getBackground() const;
  // Key results: 1 handled, 0 seen, -1 not handled.
  virtual int32_t onKeyDown(VstKeyCode& keyCode);
  virtual int32_t onKeyUp(VstKeyCode& keyCode);
  virtual bool onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance);
  virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
  virtual bool onDrop(CDrawContext* context, CDropData* drag, const CPoint& where);
  virtual void onDragEnter(CDrawContext* context, CDropData* drag, const CPoint& where);
  virtual void onDragLeave(CDrawContext* context, CDropData* drag, const CPoint& where);
  virtual void onDragMove(CDrawContext* context, CDropData* drag, const CPoint& where);
  virtual void looseFocus(CDrawContext* context);
  virtual void takeFocus(CDrawContext* context);
  virtual bool isDirty() const;
  virtual void setDirty(bool dirty = true);
  virtual void setMouseEnabled(bool enabled = true);
  virtual bool getMouseEnabled() const;
  virtual void setMouseArea(const CRect& rect);
  virtual CRect& getMouseArea(CRect& rect) const;
  virtual bool hitTest(const CPoint& where, int32_t buttons = -1);
  virtual void setTransparency(bool transparent);
  virtual bool getTransparency() const;
  virtual void setViewSize(const CRect& rect);
  virtual CRect& getViewSize(CRect& rect) const;
  virtual bool removed(CView* parent);
  virtual bool attached(CView* parent);
  // The pointer in the parent's coordinates, the space of `size`.
  virtual void getMouseLocation(CDrawContext* context, CPoint& point);
  virtual CPoint& frameToLocal(CPoint& point) const;
  virtual CPoint& localToFrame(CPoint& point) const;
  virtual AEffGUIEditor* getEditor() const;
  virtual int32_t notify(CView* sender, const char* message);
  virtual void redrawRect(CDrawContext* context, const CRect& rect);
  virtual bool wantsFocus() const;
  virtual void setWantsFocus(bool wants);
  virtual bool isTypeOf(const char* name) const;
  virtual void update(CDrawContext* context);

  // Draws this view at once through the frame.
  void redraw();

  CFrame* getFrame() const { return parentFrame_; }
  void setFrame(CFrame* frame) { parentFrame_ = frame; }
  CView* getParentView() const { return parentView_; }
  void setParentView(CView* parent) { parentView_ = parent; }
  // Whether `ancestor` is this view or holds it, at any depth.
  bool isDescendantOf(const CView* ancestor) const;

  // Per-view attributes: a block of bytes under a four-character id.
  bool setAttribute(uint32_t id, uint32_t size, const void* data);
  bool getAttributeSize(uint32_t id, uint32_t& size) const;
  bool getAttribute(uint32_t id, uint32_t size, void* data, uint32_t& written) const;
  bool removeAttribute(uint32_t id);

 protected:
  CRect size;
  CRect mouseArea;

 private:
  struct Attribute;

  CFrame* parentFrame_ = nullptr;
  CView* parentView_ = nullptr;
  bool dirty_ = false;
  bool mouseEnabled_ = true;
  bool transparent_ = false;
  bool wantsFocus_ = false;
  CBitmap* background_ = nullptr;
  Attribute* attributes_ = nullptr;
};
