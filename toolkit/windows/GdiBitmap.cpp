#include "toolkit/windows/GdiBitmap.h"

#include "toolkit/windows/GdiSurface.h"
#include "toolkit/windows/Msimg32Binding.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The bitmap selected into a memory device context compatible with the
// target, for as long as this object lives.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC target, HBITMAP bitmap) : dc_(CreateCompatibleDC(target)) {
    if (dc_) previous_ = SelectObject(dc_, bitmap);
  }
  ~SelectedBitmap() {
    if (!dc_) return;
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

GdiBitmap::GdiBitmap(HBITMAP bitmap, int32_t width, int32_t height) : bitmap_(bitmap), width_(width), height_(height) {}

GdiBitmap::~GdiBitmap() {
  DeleteObject(bitmap_);
  if (mask_) DeleteObject(mask_);
}

bool GdiBitmap::makeMask(DrawingSurface& fromSurface, CPoint offset, CColor transparent) {
  HDC from = static_cast<GdiSurface&>(fromSurface).dc();
  HBITMAP mask = CreateBitmap(width_, height_, 1, 1, nullptr);
  if (!mask) return false;
  {
    SelectedBitmap maskDc(from, mask);
    if (!maskDc.dc()) {
      DeleteObject(mask);
      return false;
    }
    // Into monochrome, the background colour becomes white.
    const COLORREF background = SetBkColor(from, colorRef(transparent));
    BitBlt(maskDc.dc(), 0, 0, width_, height_, from, offset.h, offset.v, SRCCOPY);
    SetBkColor(from, background);
  }
  if (mask_) DeleteObject(mask_);
  mask_ = mask;
  return true;
}

void GdiBitmap::draw(DrawingSurface& target, const CRect& dest, CPoint source) {
  HDC to = static_cast<GdiSurface&>(target).dc();
  SelectedBitmap from(to, bitmap_);
  if (!from.dc()) return;
  BitBlt(to, dest.left, dest.top, dest.width(), dest.height(), from.dc(), source.h, source.v, SRCCOPY);
}

void GdiBitmap::drawTransparent(DrawingSurface& target, const CRect& dest, CPoint source, CColor transparent) {
  HDC to = static_cast<GdiSurface&>(target).dc();
  SelectedBitmap from(to, bitmap_);
  if (!from.dc()) return;
  const int w = dest.width();
  const int h = dest.height();
  if (mask_) {
    // In a copy of the target area: XOR source, AND mask, XOR source, then
    // back. A new device context draws monochrome white as white and black
    // as black.
    HBITMAP area = CreateCompatibleBitmap(to, w, h);
    if (!area) return;
    {
      SelectedBitmap areaDc(to, area);
      SelectedBitmap maskDc(to, mask_);
      if (areaDc.dc() && maskDc.dc()) {
        BitBlt(areaDc.dc(), 0, 0, w, h, to, dest.left, dest.top, SRCCOPY);
        BitBlt(areaDc.dc(), 0, 0, w, h, from.dc(), source.h, source.v, SRCINVERT);
        BitBlt(areaDc.dc(), 0, 0, w, h, maskDc.dc(), source.h, source.v, SRCAND);
        BitBlt(areaDc.dc(), 0, 0, w, h, from.dc(), source.h, source.v, SRCINVERT);
        BitBlt(to, dest.left, dest.top, w, h, areaDc.dc(), 0, 0, SRCCOPY);
      }
    }
    DeleteObject(area);
    return;
  }
  if (TransparentBltFunction transparentBlt = blendFunctions().transparentBlt) {
    transparentBlt(to, dest.left, dest.top, w, h, from.dc(), source.h, source.v, w, h, colorRef(transparent));
    return;
  }
  // A monochrome mask, white where the source has the transparent colour;
  // then target XOR source, AND mask, XOR source leaves the target's pixels
  // under white and the source's under black.
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  if (!mask) return;
  {
    SelectedBitmap maskDc(to, mask);
    if (maskDc.dc()) {
      const COLORREF sourceBackground = SetBkColor(from.dc(), colorRef(transparent));
      BitBlt(maskDc.dc(), 0, 0, w, h, from.dc(), source.h, source.v, SRCCOPY);
      SetBkColor(from.dc(), sourceBackground);
      const COLORREF background = SetBkColor(to, kWhite);
      const COLORREF text = SetTextColor(to, kBlack);
      BitBlt(to, dest.left, dest.top, w, h, from.dc(), source.h, source.v, SRCINVERT);
      BitBlt(to, dest.left, dest.top, w, h, maskDc.dc(), 0, 0, SRCAND);
      BitBlt(to, dest.left, dest.top, w, h, from.dc(), source.h, source.v, SRCINVERT);
      SetBkColor(to, background);
      SetTextColor(to, text);
    }
  }
  DeleteObject(mask);
}

void GdiBitmap::drawAlphaBlend(DrawingSurface& target, const CRect& dest, CPoint source, uint8_t alpha) {
  AlphaBlendFunction alphaBlend = blendFunctions().alphaBlend;
  if (!alphaBlend) return;
  HDC to = static_cast<GdiSurface&>(target).dc();
  SelectedBitmap from(to, bitmap_);
  if (!from.dc()) return;
  const int w = dest.width();
  const int h = dest.height();
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
  if (!isWindows98()) {
    alphaBlend(to, dest.left, dest.top, w, h, from.dc(), source.h, source.v, w, h, blend);
    return;
  }
  // That system blends only from the origin of a source: blend from a copy.
  HBITMAP copy = CreateCompatibleBitmap(to, w, h);
  if (!copy) return;
  {
    SelectedBitmap copyDc(to, copy);
    if (copyDc.dc()) {
      BitBlt(copyDc.dc(), 0, 0, w, h, from.dc(), source.h, source.v, SRCCOPY);
      alphaBlend(to, dest.left, dest.top, w, h, copyDc.dc(), 0, 0, w, h, blend);
    }
  }
  DeleteObject(copy);
}
