// The root of the view tree: owns the views, redraws the dirty ones on idle,
// routes mouse, wheel and key events, and keeps the focus view and the modal
// view. Its native window comes from the platform's window layer through
// FrameWindow; without one the frame still runs its view logic.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "toolkit/views/CViewContainer.h"
#include "toolkit/views/FrameWindow.h"

class COffscreenContext;

class CFrame : public CViewContainer {
 public:
  CFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor);
  ~CFrame() override;

  void draw(CDrawContext* context) override;
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
  int32_t onKeyDown(VstKeyCode& keyCode) override;
  int32_t onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  void setViewSize(const CRect& rect) override;
  AEffGUIEditor* getEditor() const override;
  void update(CDrawContext* context) override;
  bool isTypeOf(const char* name) const override;
  CView* getCurrentView() const override;
  bool advanceFocus(CView* oldFocus, bool reverse) override;

  virtual bool open(CPoint* point = nullptr);
  virtual bool close();
  virtual bool isOpen() const;
  virtual void idle();
  virtual void doIdle();
  virtual uint32_t getTicks() const;
  virtual int32_t getKnobMode() const;
  virtual bool setPosition(int32_t x, int32_t y);
  virtual bool getPosition(int32_t& x, int32_t& y) const;
  virtual bool setSize(int32_t width, int32_t height);
  virtual bool getSize(CRect& rect) const;
  virtual bool getSize(CRect* rect) const;
  virtual bool setModalView(CView* view);
  virtual CView* getModalView() const;
  virtual void beginEdit(int32_t index);
  virtual void endEdit(int32_t index);
  virtual bool getCurrentLocation(CPoint& where);
  virtual void setCursor(int32_t type);
  virtual void setFocusView(CView* view);
  virtual CView* getFocusView() const;
  virtual bool setDropActive(bool active);
  virtual bool isDropActive() const;
  virtual void setOpenFlag(bool open);
  virtual bool getOpenFlag() const;
  virtual void invalidate(const CRect& rect);
  virtual bool updatesDisabled(bool state);
  virtual bool updatesDisabled() const;
  virtual void drawView(CView* view);

  // A new context on the frame's window (the caller releases it), or the
  // stored frame context, retained.
  CDrawContext* createFrameContext();
  // Stores a context that createFrameContext hands out instead of a new one
  // (retained; null forgets it).
  void setFrameContext(CDrawContext* context);

  // The platform's window layer attaches the native window here.
  void attachWindow(std::unique_ptr<FrameWindow> window);
  void* getWindowHandle() const { return window_ ? window_->handle() : nullptr; }
  void* getSystemWindow() const { return systemWindow_; }
  // The native window is gone: the frame is closed and forgets the host's
  // window.
  void windowDestroyed();

  // Called as `view` leaves the tree: the frame stops pointing at it and at
  // anything inside it.
  void viewLeavingTree(CView* view);

  // Runs `call` after the event being handled has returned, so that no
  // control's loop is on the stack while it runs (a modal dialog opened by
  // a button, for one): from a message of the frame's window, or else from
  // the next idle pass. Calls go with the frame if it goes first.
  void post(std::function<void()> call);
  // Runs the calls posted so far, as a nested loop of the editor.
  void runPosted();

 private:
  AEffGUIEditor* editor_;
  void* systemWindow_;
  CView* modalView_ = nullptr;
  CView* focusView_ = nullptr;
  bool firstDraw_ = true;
  bool openFlag_ = true;
  bool dropActive_ = false;
  bool updatesDisabled_ = false;
  std::unique_ptr<FrameWindow> window_;
  void* blendBinding_ = nullptr;
  COffscreenContext* backBuffer_ = nullptr;
  CDrawContext* frameContext_ = nullptr;
  std::vector<std::function<void()>> posted_;
};
