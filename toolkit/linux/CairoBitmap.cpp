#include "toolkit/linux/CairoBitmap.h"

#include "toolkit/linux/CairoSurface.h"

CairoBitmap::CairoBitmap(cairo_surface_t* image) : image_(image) {}

CairoBitmap::~CairoBitmap() {
  if (keyed_) cairo_surface_destroy(keyed_);
  cairo_surface_destroy(image_);
}

int32_t CairoBitmap::width() const { return cairo_image_surface_get_width(image_); }

int32_t CairoBitmap::height() const { return cairo_image_surface_get_height(image_); }

void CairoBitmap::draw(DrawingSurface& target, const CRect& dest, CPoint source) {
  static_cast<CairoSurface&>(target).paintSurface(image_, dest, source, 255, true);
}

void CairoBitmap::drawTransparent(DrawingSurface& target, const CRect& dest, CPoint source, CColor transparent) {
  // Fully opaque or fully clear pixels: painting over leaves the target's
  // pixels exactly where the image has the transparent colour.
  static_cast<CairoSurface&>(target).paintSurface(keyedImage(transparent), dest, source, 255, false);
}

void CairoBitmap::drawAlphaBlend(DrawingSurface& target, const CRect& dest, CPoint source, uint8_t alpha) {
  static_cast<CairoSurface&>(target).paintSurface(image_, dest, source, alpha, false);
}

cairo_surface_t* CairoBitmap::keyedImage(CColor transparent) {
  // The colour comparison ignores alpha, as the Windows layer does.
  const CColor key{transparent.red, transparent.green, transparent.blue, 255};
  if (keyed_ && keyedColour_ == key) return keyed_;
  if (keyed_) cairo_surface_destroy(keyed_);
  const int32_t w = width();
  const int32_t h = height();
  keyed_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  keyedColour_ = key;
  cairo_surface_flush(image_);
  const unsigned char* from = cairo_image_surface_get_data(image_);
  const int32_t fromStride = cairo_image_surface_get_stride(image_);
  unsigned char* to = cairo_image_surface_get_data(keyed_);
  const int32_t toStride = cairo_image_surface_get_stride(keyed_);
  const uint32_t keyRgb = (uint32_t{key.red} << 16) | (uint32_t{key.green} << 8) | key.blue;
  for (int32_t y = 0; y < h; ++y) {
    auto* in = reinterpret_cast<const uint32_t*>(from + static_cast<size_t>(y) * fromStride);
    auto* out = reinterpret_cast<uint32_t*>(to + static_cast<size_t>(y) * toStride);
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t rgb = in[x] & 0xFFFFFFu;
      out[x] = rgb == keyRgb ? 0u : (0xFF000000u | rgb);
    }
  }
  cairo_surface_mark_dirty(keyed_);
  return keyed_;
}
