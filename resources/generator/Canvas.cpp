#include "resources/generator/Canvas.h"

#include <cmath>
#include <numbers>

namespace art {
namespace {

double unit(std::uint8_t channel) { return channel / 255.0; }

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr_(cairo_create(surface_)) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GRAY);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

bool Canvas::ok() const {
  return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS && cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

void Canvas::copyFrom(const Canvas& source, int sourceX, int sourceY, int x, int y, int width, int height) {
  cairo_save(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr_, source.surface_, x - sourceX, y - sourceY);
  cairo_rectangle(cr_, x, y, width, height);
  cairo_fill(cr_);
  cairo_restore(cr_);
}

RgbImage Canvas::toImage() const {
  cairo_surface_flush(surface_);
  RgbImage image;
  image.width = width_;
  image.height = height_;
  image.pixels.resize(static_cast<std::size_t>(width_) * height_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width_; ++x) {
      image.pixels[static_cast<std::size_t>(y) * width_ + x] = row[x] & 0xFFFFFFu;
    }
  }
  return image;
}

void setColour(cairo_t* cr, Rgb colour, double alpha) {
  cairo_set_source_rgba(cr, unit(colour.red), unit(colour.green), unit(colour.blue), alpha);
}

void addColourStop(cairo_pattern_t* pattern, double offset, Rgb colour, double alpha) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, unit(colour.red), unit(colour.green), unit(colour.blue), alpha);
}

void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius) {
  constexpr double kQuarter = std::numbers::pi / 2.0;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + width - radius, y + radius, radius, -kQuarter, 0.0);
  cairo_arc(cr, x + width - radius, y + height - radius, radius, 0.0, kQuarter);
  cairo_arc(cr, x + radius, y + height - radius, radius, kQuarter, 2.0 * kQuarter);
  cairo_arc(cr, x + radius, y + radius, radius, 2.0 * kQuarter, 3.0 * kQuarter);
  cairo_close_path(cr);
}

void setVerticalGradient(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom) {
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0.0, y0, 0.0, y1);
  addColourStop(gradient, 0.0, top);
  addColourStop(gradient, 1.0, bottom);
  cairo_set_source(cr, gradient);
  cairo_pattern_destroy(gradient);
}

}  // namespace art
