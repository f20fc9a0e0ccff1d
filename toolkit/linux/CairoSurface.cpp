#include "toolkit/linux/CairoSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "toolkit/linux/FaceStandIns.h"

namespace {

// The Windows layer's dotted pen (as measured on the one the tests run
// against): three pixels on, three off, starting afresh with every line.
constexpr int32_t kDotLength = 3;

void setSource(cairo_t* cr, CColor c) { cairo_set_source_rgb(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0); }

uint32_t packed(CColor c) { return (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue; }

}  // namespace

CairoSurface::CairoSurface(cairo_surface_t* surface)
    : surface_(cairo_surface_reference(surface)), cr_(cairo_create(surface)) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
}

CairoSurface::~CairoSurface() {
  cairo_destroy(cr_);
  cairo_surface_flush(surface_);
  cairo_surface_destroy(surface_);
}

void CairoSurface::setPen(PenStyle style, int32_t width, CColor colour) {
  penStyle_ = style;
  penWidth_ = width;
  penColour_ = colour;
}

bool CairoSurface::setBrush(CColor colour) {
  brushColour_ = colour;
  return true;
}

void CairoSurface::setFont(const FontRequest& font) {
  // A face neither installed nor in the table is left to fontconfig.
  face_ = installedFace(font.face);
  if (face_.empty()) face_ = font.face;
  font_ = font;
  font_.face = face_.c_str();
  applyFont();
}

void CairoSurface::applyFont() {
  cairo_select_font_face(cr_, face_.c_str(), font_.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         font_.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  // A negative height asks the Windows layer for this character height,
  // which is cairo's font size.
  cairo_set_font_size(cr_, font_.height);
}

void CairoSurface::setTextColor(CColor colour) { textColour_ = colour; }

void CairoSurface::setRasterMode(RasterMode mode) { mode_ = mode; }

void CairoSurface::setClip(const CRect& rect) {
  cairo_reset_clip(cr_);
  const CRect clip(rect.left, rect.top, std::max(rect.left, rect.right), std::max(rect.top, rect.bottom));
  cairo_rectangle(cr_, clip.left, clip.top, clip.width(), clip.height());
  cairo_clip(cr_);
}

template <typename Shape>
void CairoSurface::paint(CColor colour, Shape shape, RasterMode mode) {
  if (mode == RasterMode::kCopy || cairo_surface_get_type(surface_) != CAIRO_SURFACE_TYPE_IMAGE) {
    cairo_save(cr_);
    setSource(cr_, colour);
    if (mode == RasterMode::kMerge) {
      // Only image surfaces get the exact bitwise OR below; elsewhere the
      // lighter of the two colours is nearest (exact for channels of 0 or 255).
      cairo_set_operator(cr_, CAIRO_OPERATOR_LIGHTEN);
    } else if (mode == RasterMode::kNotXor) {
      // No bitwise XOR either: NOT (d XOR s) = d XOR (NOT s), which the
      // difference of d and NOT s matches for channels of 0 or 255.
      setSource(cr_, CColor{static_cast<uint8_t>(~colour.red), static_cast<uint8_t>(~colour.green),
                            static_cast<uint8_t>(~colour.blue), 255});
      cairo_set_operator(cr_, CAIRO_OPERATOR_DIFFERENCE);
    }
    shape(cr_);
    cairo_restore(cr_);
    return;
  }
  // The Windows raster modes are bitwise operations on the pixels: cover a
  // mask with the shape under the same clip, then combine the covered pixels.
  const int32_t width = cairo_image_surface_get_width(surface_);
  const int32_t height = cairo_image_surface_get_height(surface_);
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
  cairo_t* m = cairo_create(mask);
  cairo_set_antialias(m, CAIRO_ANTIALIAS_NONE);
  cairo_set_fill_rule(m, CAIRO_FILL_RULE_EVEN_ODD);
  double x1, y1, x2, y2;
  cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
  cairo_rectangle(m, x1, y1, x2 - x1, y2 - y1);
  cairo_clip(m);
  cairo_set_font_face(m, cairo_get_font_face(cr_));
  cairo_matrix_t fontMatrix;
  cairo_get_font_matrix(cr_, &fontMatrix);
  cairo_set_font_matrix(m, &fontMatrix);
  cairo_set_source_rgb(m, 0, 0, 0);
  shape(m);
  cairo_destroy(m);
  cairo_surface_flush(mask);
  cairo_surface_flush(surface_);
  const unsigned char* coverage = cairo_image_surface_get_data(mask);
  const int32_t maskStride = cairo_image_surface_get_stride(mask);
  unsigned char* pixels = cairo_image_surface_get_data(surface_);
  const int32_t stride = cairo_image_surface_get_stride(surface_);
  const uint32_t source = packed(colour);
  for (int32_t y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(pixels + static_cast<size_t>(y) * stride);
    const unsigned char* covered = coverage + static_cast<size_t>(y) * maskStride;
    for (int32_t x = 0; x < width; ++x) {
      if (covered[x] < 128) continue;
      const uint32_t rgb = row[x] & 0xFFFFFFu;
      const uint32_t result = mode == RasterMode::kMerge ? (rgb | source) : (~(rgb ^ source) & 0xFFFFFFu);
      row[x] = (row[x] & 0xFF000000u) | result;
    }
  }
  cairo_surface_mark_dirty(surface_);
  cairo_surface_destroy(mask);
}

void CairoSurface::moveTo(CPoint point) { position_ = point; }

void CairoSurface::lineTo(CPoint point) {
  line(position_, point);
  position_ = point;
}

void CairoSurface::line(CPoint from, CPoint to) {
  if (penWidth_ > 1) {
    // A wide pen strokes through the pixel centres with round ends, as the
    // Windows layer draws wide lines; the end is included there too.
    const double width = penWidth_;
    paint(
        penColour_,
        [&](cairo_t* cr) {
          cairo_set_line_width(cr, width);
          cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
          cairo_move_to(cr, from.h + 0.5, from.v + 0.5);
          cairo_line_to(cr, to.h + 0.5, to.v + 0.5);
          cairo_stroke(cr);
        },
        mode_);
    return;
  }
  // One-pixel lines: Bresenham from the start pixel, leaving out the end
  // pixel; a dotted pen skips every other run of kDotLength pixels.
  std::vector<CPoint> pixels;
  const int32_t dx = std::abs(to.h - from.h);
  const int32_t dy = -std::abs(to.v - from.v);
  const int32_t sx = from.h < to.h ? 1 : -1;
  const int32_t sy = from.v < to.v ? 1 : -1;
  int32_t error = dx + dy;
  CPoint at = from;
  for (int32_t step = 0; !(at == to); ++step) {
    if (penStyle_ == PenStyle::kSolid || (step / kDotLength) % 2 == 0) pixels.push_back(at);
    const int32_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      at.h += sx;
    }
    if (twice <= dx) {
      error += dx;
      at.v += sy;
    }
  }
  if (pixels.empty()) return;
  paint(
      penColour_,
      [&pixels](cairo_t* cr) {
        for (const CPoint& p : pixels) cairo_rectangle(cr, p.h, p.v, 1, 1);
        cairo_fill(cr);
      },
      mode_);
}

void CairoSurface::fillRect(const CRect& rect) {
  if (rect.isEmpty()) return;
  paint(
      brushColour_,
      [&rect](cairo_t* cr) {
        cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
        cairo_fill(cr);
      },
      RasterMode::kCopy);
}

void CairoSurface::polyline(const CPoint* points, int32_t count) {
  for (int32_t i = 1; i < count; ++i) line(points[i - 1], points[i]);
}

void CairoSurface::fillPolygon(const CPoint* points, int32_t count) {
  if (count < 3) return;
  // Without anti-aliasing cairo fills the pixels whose centres lie inside,
  // the rule the Windows layer follows for polygon interiors.
  paint(
      brushColour_,
      [points, count](cairo_t* cr) {
        cairo_move_to(cr, points[0].h, points[0].v);
        for (int32_t i = 1; i < count; ++i) cairo_line_to(cr, points[i].h, points[i].v);
        cairo_close_path(cr);
        cairo_fill(cr);
      },
      mode_);
}

int32_t CairoSurface::textWidth(const char* text) {
  cairo_text_extents_t extents;
  cairo_text_extents(cr_, text, &extents);
  return static_cast<int32_t>(std::lround(extents.x_advance));
}

void CairoSurface::drawText(const char* text, const CRect& rect, TextAlign align, bool opaque) {
  cairo_font_extents_t font;
  cairo_font_extents(cr_, &font);
  const int32_t advance = textWidth(text);
  const auto ascent = static_cast<int32_t>(std::lround(font.ascent));
  const auto lineHeight = static_cast<int32_t>(std::lround(font.ascent + font.descent));
  int32_t x = rect.left;
  if (align == TextAlign::kCenter) x = rect.left + (rect.width() - advance) / 2;
  if (align == TextAlign::kRight) x = rect.right - advance;
  const int32_t top = rect.top + (rect.height() - lineHeight) / 2;
  const CRect box(x, top, x + advance, top + lineHeight);

  cairo_save(cr_);
  cairo_rectangle(cr_, rect.left, rect.top, std::max(0, rect.width()), std::max(0, rect.height()));
  cairo_clip(cr_);
  if (opaque) fillRect(box);
  const bool underline = font_.underline;
  const int32_t thickness = std::max(1, font_.height / 14);
  paint(
      textColour_,
      [&](cairo_t* cr) {
        // Glyph edges keep cairo's smoothing: text is the one thing the two
        // layers cannot match pixel for pixel.
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
        cairo_move_to(cr, x, top + ascent);
        cairo_show_text(cr, text);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        if (underline) {
          cairo_new_path(cr);
          cairo_rectangle(cr, x, top + ascent + 1, advance, thickness);
          cairo_fill(cr);
        }
      },
      RasterMode::kCopy);
  cairo_restore(cr_);
}

void CairoSurface::paintSurface(cairo_surface_t* source, const CRect& rect, CPoint from, uint8_t alpha, bool replace) {
  if (rect.isEmpty()) return;
  cairo_save(cr_);
  cairo_set_operator(cr_, replace ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
  cairo_set_source_surface(cr_, source, rect.left - from.h, rect.top - from.v);
  cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
  cairo_rectangle(cr_, rect.left, rect.top, rect.width(), rect.height());
  cairo_clip(cr_);
  if (alpha == 255) {
    cairo_paint(cr_);
  } else {
    cairo_paint_with_alpha(cr_, alpha / 255.0);
  }
  cairo_restore(cr_);
}

void CairoSurface::copyTo(DrawingSurface& target, const CRect& targetRect, CPoint source) {
  auto& to = static_cast<CairoSurface&>(target);
  if (to.surface_ != surface_) {
    to.paintSurface(surface_, targetRect, source, 255, true);
    return;
  }
  // Copying within one surface goes through a copy of the source area.
  cairo_surface_t* copy = cairo_surface_create_similar_image(
      surface_, CAIRO_FORMAT_RGB24, std::max(1, targetRect.width()), std::max(1, targetRect.height()));
  cairo_t* cr = cairo_create(copy);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, surface_, -source.h, -source.v);
  cairo_paint(cr);
  cairo_destroy(cr);
  to.paintSurface(copy, targetRect, CPoint(), 255, true);
  cairo_surface_destroy(copy);
}
