// A drawing context: one native drawing target with the toolkit's drawing
// state (offset, clip, pen, brush, font, colours, drawing mode), and the
// questions about the mouse. Every setter but the font colour's compares
// with the current value first and rebuilds native objects only on change.
// GUI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/base/CColor.h"
#include "toolkit/base/CCountedObject.h"
#include "toolkit/base/CRect.h"
#include "toolkit/drawing/FontTable.h"
#include "toolkit/platform/DrawingSurface.h"

class CFrame;

// Mouse buttons and modifiers, one bit each.
enum : int32_t {
  kLButton = 1,
  kMButton = 2,
  kRButton = 4,
  kShift = 8,
  kControl = 16,
  kAlt = 32,
  kApple = 64,  // never set on these platforms
};

enum CLineStyle : int32_t { kLineSolid = 0, kLineOnOffDash = 1 };
enum CDrawMode : int32_t { kCopyMode = 0, kOrMode = 1, kXorMode = 2 };
// The no-mode value a context starts from, so that its first setDrawMode
// reaches the drawing layer.
inline constexpr int32_t kInitialDrawMode = 3;

class CDrawContext : public CCountedObject {
 public:
  // On `systemContext` (a native device context), or without one on the
  // window's own. Either may be null; without both nothing is drawn.
  CDrawContext(CFrame* frame, void* systemContext, void* window = nullptr);
  ~CDrawContext() override;

  // State.
  void setLineStyle(int32_t style);
  int32_t getLineStyle() const { return lineStyle_; }
  void setLineWidth(int32_t width);
  int32_t getLineWidth() const { return lineWidth_; }
  void setFrameColor(const CColor& colour) { setLineColor(colour); }
  void setLineColor(const CColor& colour);
  CColor getLineColor() const { return lineColor_; }
  void setFillColor(const CColor& colour);
  CColor getFillColor() const { return fillColor_; }
  void setFontColor(const CColor& colour);
  CColor getFontColor() const { return fontColor_; }
  void setDrawMode(int32_t mode);
  int32_t getDrawMode() const { return drawMode_; }
  // size 0 is the table's default for the font; see FontTable.h.
  void setFont(int32_t fontId, int32_t size = 0, int32_t style = 0);
  int32_t getFont() const { return fontId_; }
  int32_t getFontSize() const { return fontSize_; }
  int32_t getFontStyle() const { return fontStyle_; }
  void setClipRect(const CRect& clip);
  CRect& getClipRect(CRect& clip) const;
  void resetClipRect();

  // Drawing; every coordinate is moved by `offset` first.
  void moveTo(const CPoint& point);
  void lineTo(const CPoint& point);
  CPoint getPenLocation() const { return penLocation_; }
  // style 0 outlines columns left..right-1 and rows top..bottom-1, style 1
  // fills the whole rectangle, style 2 does both.
  void drawRect(const CRect& rect, int32_t style = 0);
  // Leaves out the top row and the left column.
  void fillRect(const CRect& rect);
  // align 0 left (one pixel in from the edge), 1 centred, 2 right.
  void drawString(const char* text, const CRect& rect, bool opaque = false, int32_t align = 1);
  int32_t getStringWidth(const char* text);
  void polyline(const CPoint* points, int32_t count);
  void fillPolygon(const CPoint* points, int32_t count);

  // Mouse: button and modifier bits, and the pointer relative to the
  // window's top-left as it was when this context was made.
  int32_t getMouseButtons() const;
  void getMouseLocation(CPoint& point) const;
  CPoint getWindowOrigin() const { return windowOrigin_; }
  void setWindowOrigin(const CPoint& origin) { windowOrigin_ = origin; }

  void* getDeviceContext() const;
  void* getWindow() const { return window_; }
  CFrame* getFrame() const { return frame_; }
  // The native target, for the bitmaps and offscreens of the same platform.
  DrawingSurface* getSurface() const { return surface_.get(); }

  // Added to every coordinate; containers move it while they draw.
  CPoint offset;

 protected:
  // For offscreens: a context on a surface made by the subclass.
  CDrawContext(CFrame* frame, std::unique_ptr<DrawingSurface> surface, const CRect& clip);

 private:
  void applyDefaults();
  void rebuildPen();
  CRect defaultClip() const;
  template <typename Draw>
  void withDevicePoints(const CPoint* points, int32_t count, Draw draw);

  CPoint windowOrigin_;
  CFrame* frame_ = nullptr;
  void* window_ = nullptr;
  int32_t fontSize_ = -1;
  int32_t fontStyle_ = 0;
  int32_t fontId_ = kNoFontId;
  CColor fontColor_{};
  CPoint penLocation_;
  int32_t lineWidth_ = 0;
  CColor lineColor_{};
  CColor fillColor_{};
  int32_t lineStyle_ = kLineOnOffDash;
  int32_t drawMode_ = kInitialDrawMode;
  CRect clip_;
  std::unique_ptr<DrawingSurface> surface_;
};
