#include "toolkit/linux/CairoBitmap.h"

#include "toolkit/linux/CairoSurface.h"

CairoBitmap::CairoBitmap(cairo_surface_t* image) : image_(image) {}

CairoBitmap::~CairoBitmap() { cairo_surface_destroy(image_); }

int32_t CairoBitmap::width() const { return cairo_image_surface_get_width(image_); }

int32_t CairoBitmap::height() const { return cairo_image_surface_get_height(image_); }

void CairoBitmap::draw(DrawingSurface& target, const CRect& dest, CPoint source) {
  static_cast<CairoSurface&>(target).paintSurface(image_, dest, source, 255, true);
}

void CairoBitmap::drawTransparent(DrawingSurface& target, const CRect& dest, CPoint source, CColor transparent) {
  cairo_surface_t* area = keyedArea(source, dest.width(), dest.height(), transparent);
  if (!area) return;
  // Fully opaque or fully clear pixels: painting over leaves the target's
  // pixels exactly where the image has the transparent colour.
  static_cast<CairoSurface&>(target).paintSurface(area, dest, CPoint(), 255, false);
  cairo_surface_destroy(area);
}

void CairoBitmap::drawAlphaBlend(DrawingSurface& target, const CRect& dest, CPoint source, uint8_t alpha) {
  static_cast<CairoSurface&>(target).paintSurface(image_, dest, source, alpha, false);
}

cairo_surface_t* CairoBitmap::keyedArea(CPoint source, int32_t w, int32_t h, CColor transparent) const {
  if (w < 1 || h < 1) return nullptr;
  cairo_surface_t* area = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(area) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(area);
    return nullptr;
  }
  // The comparison ignores alpha, as the Windows layer does.
  const uint32_t key = (uint32_t{transparent.red} << 16) | (uint32_t{transparent.green} << 8) | transparent.blue;
  const int32_t imageWidth = width();
  const int32_t imageHeight = height();
  cairo_surface_flush(image_);
  const unsigned char* from = cairo_image_surface_get_data(image_);
  const int32_t fromStride = cairo_image_surface_get_stride(image_);
  unsigned char* to = cairo_image_surface_get_data(area);
  const int32_t toStride = cairo_image_surface_get_stride(area);
  for (int32_t y = 0; y < h; ++y) {
    auto* out = reinterpret_cast<uint32_t*>(to + static_cast<size_t>(y) * toStride);
    const int32_t sy = source.v + y;
    for (int32_t x = 0; x < w; ++x) {
      const int32_t sx = source.h + x;
      out[x] = 0;
      if (sx < 0 || sy < 0 || sx >= imageWidth || sy >= imageHeight) continue;
      const uint32_t rgb =
          reinterpret_cast<const uint32_t*>(from + static_cast<size_t>(sy) * fromStride)[sx] & 0xFFFFFFu;
      const bool clear =
          mask_.empty() ? rgb == key : mask_[static_cast<size_t>(sy) * static_cast<size_t>(imageWidth) + sx];
      if (!clear) out[x] = 0xFF000000u | rgb;
    }
  }
  cairo_surface_mark_dirty(area);
  return area;
}

bool CairoBitmap::makeMask(DrawingSurface& fromSurface, CPoint offset, CColor transparent) {
  cairo_surface_t* from = static_cast<CairoSurface&>(fromSurface).surface();
  if (cairo_surface_get_type(from) != CAIRO_SURFACE_TYPE_IMAGE) return false;
  cairo_surface_flush(from);
  const int32_t fromWidth = cairo_image_surface_get_width(from);
  const int32_t fromHeight = cairo_image_surface_get_height(from);
  const unsigned char* data = cairo_image_surface_get_data(from);
  const int32_t stride = cairo_image_surface_get_stride(from);
  const uint32_t key = (uint32_t{transparent.red} << 16) | (uint32_t{transparent.green} << 8) | transparent.blue;
  const int32_t w = width();
  const int32_t h = height();
  std::vector<bool> mask(static_cast<size_t>(w) * static_cast<size_t>(h), false);
  for (int32_t y = 0; y < h; ++y) {
    const int32_t fy = offset.v + y;
    for (int32_t x = 0; x < w; ++x) {
      const int32_t fx = offset.h + x;
      // Outside the source there is nothing of the transparent colour.
      if (fx < 0 || fy < 0 || fx >= fromWidth || fy >= fromHeight) continue;
      const uint32_t rgb = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(fy) * stride)[fx] & 0xFFFFFFu;
      mask[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = rgb == key;
    }
  }
  mask_ = std::move(mask);
  return true;
}
