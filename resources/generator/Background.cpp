#include "resources/generator/Background.h"

#include <numbers>

#include "resources/generator/ArtLayout.h"
#include "resources/generator/KnobStrip.h"

namespace art {
namespace {

constexpr double kWellRadius = 28.5;
constexpr int kCaptionBaseline = 80;
constexpr double kBezelMargin = 4.0;

void drawFace(cairo_t* cr) {
  setVerticalGradient(cr, 0.0, kFaceTop, kWindowHeight, kFaceBottom);
  cairo_paint(cr);

  // A one-pixel bevel round the window: light top and left, dark bottom and right.
  cairo_set_line_width(cr, 1.0);
  cairo_move_to(cr, 0.5, kWindowHeight);
  cairo_line_to(cr, 0.5, 0.5);
  cairo_line_to(cr, kWindowWidth, 0.5);
  setColour(cr, kEdgeLight);
  cairo_stroke(cr);
  cairo_move_to(cr, kWindowWidth - 0.5, 1.0);
  cairo_line_to(cr, kWindowWidth - 0.5, kWindowHeight - 0.5);
  cairo_line_to(cr, 1.0, kWindowHeight - 0.5);
  setColour(cr, kEdgeShadow);
  cairo_stroke(cr);
}

// A round recess: darker towards the top where the face shades it, with an
// engraved ring, light below and dark above.
void drawWell(cairo_t* cr, double cx, double cy) {
  cairo_arc(cr, cx, cy, kWellRadius, 0.0, 2.0 * std::numbers::pi);
  setVerticalGradient(cr, cy - kWellRadius, kWellCentre, cy + kWellRadius, kWellRim);
  cairo_fill(cr);

  cairo_pattern_t* ring = cairo_pattern_create_linear(0.0, cy - kWellRadius, 0.0, cy + kWellRadius);
  addColourStop(ring, 0.0, kEdgeShadow);
  addColourStop(ring, 0.5, kEdgeShadow, 0.6);
  addColourStop(ring, 1.0, kEdgeLight);
  cairo_set_source(cr, ring);
  cairo_set_line_width(cr, 1.0);
  cairo_arc(cr, cx, cy, kWellRadius, 0.0, 2.0 * std::numbers::pi);
  cairo_stroke(cr);
  cairo_pattern_destroy(ring);

  drawArcTrack(cr, cx, cy);
}

void drawKnobWells(cairo_t* cr, const ArtFonts& fonts) {
  const TextStyle caption{fonts.bold, 11.0, kCaption};
  for (int k = 0; k < kKnobCount; ++k) {
    const Box& knob = kKnobs[k];
    drawWell(cr, knob.left + kKnobSize / 2.0, knob.top + kKnobSize / 2.0);
    drawCentredText(cr, caption, kKnobCaptions[k], knob.centreX(), kCaptionBaseline);
  }
}

// A raised bezel round the panel, then the panel itself on exact pixels with
// a one-pixel recess line round it.
void drawImpulsePanel(cairo_t* cr) {
  const Box& panel = kImpulsePanel;
  roundedRectangle(cr, panel.left - kBezelMargin + 0.5, panel.top - kBezelMargin + 0.5,
                   panel.width() + 2.0 * kBezelMargin - 1.0, panel.height() + 2.0 * kBezelMargin - 1.0, 4.0);
  setVerticalGradient(cr, panel.top - kBezelMargin, Rgb{50, 53, 57}, panel.bottom + kBezelMargin, Rgb{36, 38, 42});
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  cairo_pattern_t* rim = cairo_pattern_create_linear(0.0, panel.top - kBezelMargin, 0.0, panel.bottom + kBezelMargin);
  addColourStop(rim, 0.0, kEdgeLight);
  addColourStop(rim, 1.0, kEdgeShadow);
  cairo_set_source(cr, rim);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);

  cairo_rectangle(cr, panel.left - 1, panel.top - 1, panel.width() + 2, panel.height() + 2);
  setColour(cr, kEdgeShadow);
  cairo_fill(cr);
  cairo_move_to(cr, panel.left - 1, panel.bottom + 0.5);
  cairo_line_to(cr, panel.right + 0.5, panel.bottom + 0.5);
  cairo_line_to(cr, panel.right + 0.5, panel.top - 1);
  setColour(cr, Rgb{70, 74, 80});
  cairo_stroke(cr);

  cairo_rectangle(cr, panel.left, panel.top, panel.width(), panel.height());
  setColour(cr, kPanel);
  cairo_fill(cr);
}

void drawLogo(cairo_t* cr, const ArtFonts& fonts) {
  const double centre = kLinkArea.centreX();
  drawCentredText(cr, TextStyle{fonts.bold, 26.0, kAccent}, kProductName, centre, 25.0);
  drawCentredText(cr, TextStyle{fonts.regular, 9.0, kAddress}, kWebAddress, centre, 37.0);
}

}  // namespace

void drawBackground(Canvas& canvas, const ArtFonts& fonts) {
  cairo_t* cr = canvas.cr();
  drawFace(cr);
  drawKnobWells(cr, fonts);
  drawImpulsePanel(cr);
  drawLogo(cr, fonts);
}

}  // namespace art
