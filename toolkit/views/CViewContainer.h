// A view that holds an ordered list of child views: drawn first to last,
// hit-tested last to first, drawn through its own offscreen bitmap. It owns
// one reference to each child.
#pragma once

#include <cstdint>

#include "toolkit/base/CColor.h"
#include "toolkit/views/CView.h"

class COffscreenContext;

// Update modes: redraw the whole container when dirty, or only the dirty
// children.
enum : int32_t { kNormalUpdate = 0, kOnlyDirtyUpdate = 1 };

class CViewContainer : public CView {
 public:
  CViewContainer(const CRect& size, CFrame* frame, CBitmap* background = nullptr);
  ~CViewContainer() override;

  void draw(CDrawContext* context) override;
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
  int32_t onKeyDown(VstKeyCode& keyCode) override;
  int32_t onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool onDrop(CDrawContext* context, CDropData* drag, const CPoint& where) override;
  void onDragEnter(CDrawContext* context, CDropData* drag, const CPoint& where) override;
  void onDragLeave(CDrawContext* context, CDropData* drag, const CPoint& where) override;
  void onDragMove(CDrawContext* context, CDropData* drag, const CPoint& where) override;
  void looseFocus(CDrawContext* context) override;
  void takeFocus(CDrawContext* context) override;
  bool isDirty() const override;
  bool hitTest(const CPoint& where, int32_t buttons = -1) override;
  bool removed(CView* parent) override;
  bool attached(CView* parent) override;
  CPoint& frameToLocal(CPoint& point) const override;
  CPoint& localToFrame(CPoint& point) const override;
  int32_t notify(CView* sender, const char* message) override;
  void setViewSize(const CRect& rect) override;
  void redrawRect(CDrawContext* context, const CRect& rect) override;
  bool isTypeOf(const char* name) const override;
  void update(CDrawContext* context) override;

  virtual void addView(CView* view, const CRect& mouseArea, bool mouseEnabled = true);
  virtual void addView(CView* view);
  virtual void removeView(CView* view, bool withRelease = true);
  virtual void removeAll(bool withRelease = true);
  virtual bool isChild(CView* view) const;
  virtual int32_t getViewCount() const;
  virtual CView* getView(int32_t index) const;
  virtual void setBackgroundColor(const CColor& colour);
  virtual CColor getBackgroundColor() const;
  virtual void setBackgroundOffset(const CPoint& offset);
  virtual const CPoint& getBackgroundOffset() const;
  virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);
  virtual void setMode(int32_t mode);
  virtual int32_t getMode() const;
  virtual void useOffscreen(bool use);
  virtual CView* getCurrentView() const;
  // The child (from the last) whose mouse area holds `where`, a point in
  // this container's parent's coordinates; with `deep`, inside child
  // containers too.
  virtual CView* getViewAt(const CPoint& where, bool deep = false) const;
  virtual bool advanceFocus(CView* oldFocus, bool reverse);

  COffscreenContext* getOffscreen() const { return offscreen_; }
  CView* getCurrentDragView() const { return currentDragView_; }

 protected:
  // The child whose mouse area holds a point in this container's own
  // coordinates.
  CView* viewAtLocal(const CPoint& local) const;
  // This container's rectangle in its own coordinates.
  CRect localBounds() const { return CRect(0, 0, size.width(), size.height()); }

 private:
  struct Node {
    CView* view;
    Node* next;
    Node* previous;
  };
  // Draws `local` (in this container's coordinates, inside its bounds):
  // into the offscreen and then onto the context when buffered, straight
  // onto the context otherwise. A restricted pass draws only what `local`
  // touches.
  void drawArea(CDrawContext* context, const CRect& local, bool restricted);
  // Draws the background and the children into `target` under `clip`;
  // restricted to the children that overlap `local` when `restricted`.
  void drawInto(CDrawContext* target, const CRect& clip, const CRect& local, bool restricted);
  void releaseOffscreen();
  bool ensureOffscreen();
  void unlink(Node* node, bool withRelease);

  Node* first_ = nullptr;
  Node* last_ = nullptr;
  int32_t mode_ = kOnlyDirtyUpdate;
  COffscreenContext* offscreen_ = nullptr;
  CColor backgroundColor_ = kBlackCColor;
  CPoint backgroundOffset_;
  bool drawInOffscreen_ = true;
  CView* currentDragView_ = nullptr;
};
