#include "resources/generator/KnobStrip.h"

#include <cmath>
#include <numbers>

#include "resources/generator/ArtLayout.h"

namespace art {
namespace {

constexpr int kTwelveOClockImage = 32;
constexpr double kDegreesPerImage = 150.0 / kTwelveOClockImage;

constexpr double kBodyRadius = 19.0;
constexpr double kCapRadius = 15.0;
constexpr double kPointerInner = 5.0;
constexpr double kPointerOuter = 15.5;

// cairo measures angles from the positive x axis, clockwise on screen.
double cairoRadians(double clockDegrees) { return (clockDegrees - 90.0) * std::numbers::pi / 180.0; }

void drawKnob(cairo_t* cr, double cx, double cy, int image) {
  const double angle = knobAngleDegrees(image);

  if (image > 0) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, kArcRadius, cairoRadians(knobAngleDegrees(0)), cairoRadians(angle));
    cairo_set_line_width(cr, kArcWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    setColour(cr, kAccent);
    cairo_stroke(cr);
  }

  // A soft shadow below the body.
  cairo_pattern_t* shadow =
      cairo_pattern_create_radial(cx, cy + 1.5, kBodyRadius - 2.0, cx, cy + 1.5, kBodyRadius + 2.5);
  addColourStop(shadow, 0.0, Rgb{0, 0, 0}, 0.6);
  addColourStop(shadow, 1.0, Rgb{0, 0, 0}, 0.0);
  cairo_set_source(cr, shadow);
  cairo_arc(cr, cx, cy + 1.5, kBodyRadius + 2.5, 0.0, 2.0 * std::numbers::pi);
  cairo_fill(cr);
  cairo_pattern_destroy(shadow);

  // The body, lit from above, with a dark rim.
  cairo_arc(cr, cx, cy, kBodyRadius, 0.0, 2.0 * std::numbers::pi);
  setVerticalGradient(cr, cy - kBodyRadius, kKnobLight, cy + kBodyRadius, kKnobDark);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  setColour(cr, kEdgeShadow, 0.9);
  cairo_stroke(cr);

  // A flatter cap, its gradient turned the other way, gives the body a bevel.
  cairo_arc(cr, cx, cy, kCapRadius, 0.0, 2.0 * std::numbers::pi);
  setVerticalGradient(cr, cy - kCapRadius, Rgb{70, 74, 80}, cy + kCapRadius, Rgb{88, 92, 99});
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, kCapRadius - 0.5, cairoRadians(-70.0), cairoRadians(70.0));
  cairo_set_line_width(cr, 1.0);
  setColour(cr, Rgb{255, 255, 255}, 0.12);
  cairo_stroke(cr);

  const double sx = std::sin(angle * std::numbers::pi / 180.0);
  const double sy = -std::cos(angle * std::numbers::pi / 180.0);
  cairo_move_to(cr, cx + kPointerInner * sx, cy + kPointerInner * sy);
  cairo_line_to(cr, cx + kPointerOuter * sx, cy + kPointerOuter * sy);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 2.6);
  setColour(cr, kPointer);
  cairo_stroke(cr);
}

}  // namespace

double knobAngleDegrees(int image) { return (image - kTwelveOClockImage) * kDegreesPerImage; }

void drawArcTrack(cairo_t* cr, double cx, double cy) {
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, kArcRadius, cairoRadians(knobAngleDegrees(0)), cairoRadians(knobAngleDegrees(kKnobImages - 1)));
  cairo_set_line_width(cr, kArcWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  setColour(cr, kArcTrack);
  cairo_stroke(cr);
}

void drawKnobStrip(Canvas& strip, const Canvas& background) {
  cairo_t* cr = strip.cr();
  for (int image = 0; image < kKnobImages; ++image) {
    const int top = image * kKnobSize;
    strip.copyFrom(background, kKnobs[0].left, kKnobs[0].top, 0, top, kKnobSize, kKnobSize);
    cairo_save(cr);
    cairo_rectangle(cr, 0, top, kKnobSize, kKnobSize);
    cairo_clip(cr);
    drawKnob(cr, kKnobSize / 2.0, top + kKnobSize / 2.0, image);
    cairo_restore(cr);
  }
}

}  // namespace art
