#include "toolkit/windows/GdiSurface.h"

#include <cstring>
#include <memory>

static_assert(sizeof(CPoint) == sizeof(POINT), "points go to GDI as they are");

namespace {

constexpr BYTE kSwissVariablePitch = 34;  // VARIABLE_PITCH | FF_SWISS
constexpr BYTE kDecorative = 80;          // FF_DECORATIVE
constexpr BYTE kStringPrecision = 1;      // OUT_STRING_PRECIS
constexpr BYTE kStrokeClipPrecision = 2;  // CLIP_STROKE_PRECIS

RECT toRect(const CRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

const POINT* toPoints(const CPoint* points) { return reinterpret_cast<const POINT*>(points); }

}  // namespace

GdiSurface::GdiSurface(HDC dc, Kind kind, HWND window)
    : dc_(dc),
      kind_(kind),
      window_(window),
      savedBrush_(GetCurrentObject(dc, OBJ_BRUSH)),
      savedPen_(GetCurrentObject(dc, OBJ_PEN)),
      savedFont_(GetCurrentObject(dc, OBJ_FONT)) {
  SetBkMode(dc_, TRANSPARENT);
}

std::unique_ptr<GdiSurface> GdiSurface::onDeviceContext(HDC dc) {
  if (!dc) return nullptr;
  return std::unique_ptr<GdiSurface>(new GdiSurface(dc, Kind::kBorrowed, nullptr));
}

std::unique_ptr<GdiSurface> GdiSurface::onWindow(HWND window) {
  HDC dc = GetDC(window);
  if (!dc) return nullptr;
  return std::unique_ptr<GdiSurface>(new GdiSurface(dc, Kind::kWindow, window));
}

std::unique_ptr<GdiSurface> GdiSurface::inMemory(HDC like, int32_t width, int32_t height, HBITMAP bitmap) {
  if (!bitmap && (width < 1 || height < 1)) return nullptr;
  HDC screen = like ? nullptr : GetDC(nullptr);
  HDC compatible = like ? like : screen;
  HDC dc = CreateCompatibleDC(compatible);
  HBITMAP drawn = bitmap ? bitmap : CreateCompatibleBitmap(compatible, width, height);
  if (screen) ReleaseDC(nullptr, screen);
  if (!dc || !drawn) {
    if (dc) DeleteDC(dc);
    if (drawn && !bitmap) DeleteObject(drawn);
    return nullptr;
  }
  std::unique_ptr<GdiSurface> surface(new GdiSurface(dc, Kind::kMemory, nullptr));
  surface->bitmap_ = drawn;
  surface->ownsBitmap_ = bitmap == nullptr;
  surface->previousBitmap_ = SelectObject(dc, drawn);
  return surface;
}

GdiSurface::~GdiSurface() {
  if (savedBrush_) SelectObject(dc_, savedBrush_);
  if (savedPen_) SelectObject(dc_, savedPen_);
  if (savedFont_) SelectObject(dc_, savedFont_);
  if (brush_) DeleteObject(brush_);
  if (pen_) DeleteObject(pen_);
  if (font_) DeleteObject(font_);
  if (kind_ == Kind::kMemory) {
    SelectObject(dc_, previousBitmap_);
    DeleteDC(dc_);
    if (ownsBitmap_) DeleteObject(bitmap_);
  } else if (kind_ == Kind::kWindow) {
    ReleaseDC(window_, dc_);
  }
}

void GdiSurface::setPen(PenStyle style, int32_t width, CColor colour) {
  LOGPEN description{static_cast<UINT>(style == PenStyle::kDotted ? PS_DOT : PS_SOLID), POINT{width, 0},
                     colorRef(colour)};
  HPEN pen = CreatePenIndirect(&description);
  if (!pen) return;
  SelectObject(dc_, pen);
  if (pen_) DeleteObject(pen_);
  pen_ = pen;
}

bool GdiSurface::setBrush(CColor colour) {
  SetBkColor(dc_, colorRef(colour));
  LOGBRUSH description{BS_SOLID, colorRef(colour), 0};
  HBRUSH brush = CreateBrushIndirect(&description);
  if (!brush) return false;
  SelectObject(dc_, brush);
  if (brush_) DeleteObject(brush_);
  brush_ = brush;
  return true;
}

void GdiSurface::setFont(const FontRequest& request) {
  LOGFONTA description{};
  description.lfHeight = -request.height;
  description.lfWeight = request.bold ? 700 : 400;
  description.lfItalic = request.italic ? 1 : 0;
  description.lfUnderline = request.underline ? 1 : 0;
  description.lfCharSet = ANSI_CHARSET;
  description.lfOutPrecision = kStringPrecision;
  description.lfClipPrecision = kStrokeClipPrecision;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = request.decorative ? kDecorative : kSwissVariablePitch;
  std::strncpy(description.lfFaceName, request.face, LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectA(&description);
  if (!font) return;
  SelectObject(dc_, font);
  if (font_) DeleteObject(font_);
  font_ = font;
}

void GdiSurface::setTextColor(CColor colour) { SetTextColor(dc_, colorRef(colour)); }

void GdiSurface::setRasterMode(RasterMode mode) {
  SetROP2(dc_, mode == RasterMode::kMerge ? R2_MERGEPEN : mode == RasterMode::kNotXor ? R2_NOTXORPEN : R2_COPYPEN);
}

void GdiSurface::setClip(const CRect& rect) {
  HRGN region = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
  SelectClipRgn(dc_, region);
  DeleteObject(region);
}

void GdiSurface::moveTo(CPoint point) { MoveToEx(dc_, point.h, point.v, nullptr); }

void GdiSurface::lineTo(CPoint point) { LineTo(dc_, point.h, point.v); }

void GdiSurface::fillRect(const CRect& rect) {
  const RECT r = toRect(rect);
  if (brush_) FillRect(dc_, &r, brush_);
}

void GdiSurface::polyline(const CPoint* points, int32_t count) { Polyline(dc_, toPoints(points), count); }

void GdiSurface::fillPolygon(const CPoint* points, int32_t count) {
  HGDIOBJ pen = SelectObject(dc_, GetStockObject(NULL_PEN));
  Polygon(dc_, toPoints(points), count);
  SelectObject(dc_, pen);
}

void GdiSurface::drawText(const char* text, const CRect& rect, TextAlign align, bool opaque) {
  SetBkMode(dc_, opaque ? OPAQUE : TRANSPARENT);
  RECT r = toRect(rect);
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (align == TextAlign::kCenter) flags |= DT_CENTER;
  if (align == TextAlign::kRight) flags |= DT_RIGHT;
  DrawTextA(dc_, text, -1, &r, flags);
  SetBkMode(dc_, TRANSPARENT);
}

int32_t GdiSurface::textWidth(const char* text) {
  SIZE size{};
  GetTextExtentPoint32A(dc_, text, static_cast<int>(std::strlen(text)), &size);
  return size.cx;
}

void GdiSurface::copyTo(DrawingSurface& target, const CRect& targetRect, CPoint source) {
  BitBlt(static_cast<GdiSurface&>(target).dc_, targetRect.left, targetRect.top, targetRect.width(), targetRect.height(),
         dc_, source.h, source.v, SRCCOPY);
}
