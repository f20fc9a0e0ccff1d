// The GDI drawing surface: a device context with the pen, brush and font the
// toolkit selected into it, restored to its own objects at the end.
#pragma once

#include <windows.h>

#include <memory>

#include "toolkit/platform/DrawingSurface.h"

class GdiSurface : public DrawingSurface {
 public:
  // On a device context the caller owns.
  static std::unique_ptr<GdiSurface> onDeviceContext(HDC dc);
  // On the window's own device context, released at the end.
  static std::unique_ptr<GdiSurface> onWindow(HWND window);
  // A memory device context compatible with `like` (the screen's when
  // null) holding a new width x height bitmap, or `bitmap` when given
  // (not owned).
  static std::unique_ptr<GdiSurface> inMemory(HDC like, int32_t width, int32_t height, HBITMAP bitmap = nullptr);

  ~GdiSurface() override;
  GdiSurface(const GdiSurface&) = delete;
  GdiSurface& operator=(const GdiSurface&) = delete;

  void* deviceContext() const override { return dc_; }
  void* bitmapHandle() const override { return bitmap_; }
  HDC dc() const { return dc_; }

  void setPen(PenStyle style, int32_t width, CColor colour) override;
  bool setBrush(CColor colour) override;
  void setFont(const FontRequest& font) override;
  void setTextColor(CColor colour) override;
  void setRasterMode(RasterMode mode) override;
  void setClip(const CRect& rect) override;

  void moveTo(CPoint point) override;
  void lineTo(CPoint point) override;
  void fillRect(const CRect& rect) override;
  void polyline(const CPoint* points, int32_t count) override;
  void fillPolygon(const CPoint* points, int32_t count) override;
  void drawText(const char* text, const CRect& rect, TextAlign align, bool opaque) override;
  int32_t textWidth(const char* text) override;

  void copyTo(DrawingSurface& target, const CRect& targetRect, CPoint source) override;

 private:
  enum class Kind { kBorrowed, kWindow, kMemory };
  GdiSurface(HDC dc, Kind kind, HWND window);

  HDC dc_;
  Kind kind_;
  HWND window_;
  HBITMAP bitmap_ = nullptr;  // the memory bitmap drawn into
  bool ownsBitmap_ = false;
  HGDIOBJ previousBitmap_ = nullptr;
  HBRUSH brush_ = nullptr;
  HPEN pen_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ savedBrush_;
  HGDIOBJ savedPen_;
  HGDIOBJ savedFont_;
};
