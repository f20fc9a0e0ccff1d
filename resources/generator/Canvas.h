// An opaque cairo drawing surface with its context, and the few path and
// colour helpers the pictures share.
#pragma once

#include <cairo.h>

#include "resources/generator/BmpFile.h"
#include "resources/generator/Palette.h"

namespace art {

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool ok() const;

  // Copies the rectangle of `source` whose top-left corner is (sourceX,
  // sourceY) to (x, y), pixel for pixel.
  void copyFrom(const Canvas& source, int sourceX, int sourceY, int x, int y, int width, int height);

  RgbImage toImage() const;

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

void setColour(cairo_t* cr, Rgb colour, double alpha = 1.0);
void addColourStop(cairo_pattern_t* pattern, double offset, Rgb colour, double alpha = 1.0);
void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius);

// A vertical gradient from `top` at y0 to `bottom` at y1, set as the source.
void setVerticalGradient(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom);

}  // namespace art
