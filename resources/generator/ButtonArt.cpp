#include "resources/generator/ButtonArt.h"

namespace art {
namespace {

struct Face {
  Rgb top;
  Rgb bottom;
  Rgb text;
};

// One button image at row `top` of the canvas: a rounded plate over the
// window picture, its word or letter centred on it.
void drawPlate(cairo_t* cr, int width, int height, int top, const Face& face, double radius) {
  roundedRectangle(cr, 0.5, top + 0.5, width - 1.0, height - 1.0, radius);
  setVerticalGradient(cr, top, face.top, top + height, face.bottom);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  setColour(cr, kEdgeShadow);
  cairo_stroke(cr);
}

// A faint line inside the plate's top edge: light when the plate stands
// out, dark when it is pushed in.
void drawTopEdge(cairo_t* cr, int width, int top, double radius, Rgb colour, double alpha) {
  cairo_move_to(cr, radius, top + 1.5);
  cairo_line_to(cr, width - radius, top + 1.5);
  cairo_set_line_width(cr, 1.0);
  setColour(cr, colour, alpha);
  cairo_stroke(cr);
}

}  // namespace

void drawLoadButton(Canvas& canvas, const Canvas& background, const ArtFonts& fonts) {
  cairo_t* cr = canvas.cr();
  const int width = kLoadButton.width();
  const int height = kLoadButton.height();
  constexpr double kRadius = 4.0;
  constexpr double kTextSize = 12.5;
  for (int image = 0; image < kButtonImages; ++image) {
    const int top = image * height;
    const bool pressed = image == 1;
    canvas.copyFrom(background, kLoadButton.left, kLoadButton.top, 0, top, width, height);
    const Face face = pressed ? Face{Rgb{40, 42, 46}, Rgb{56, 59, 64}, Rgb{196, 200, 205}}
                              : Face{kButtonLight, kButtonDark, kButtonText};
    drawPlate(cr, width, height, top, face, kRadius);
    drawTopEdge(cr, width, top, kRadius, pressed ? Rgb{0, 0, 0} : Rgb{255, 255, 255}, pressed ? 0.35 : 0.18);
    // Pressed, the word sinks by a pixel.
    const double baseline = top + 17.0 + (pressed ? 1.0 : 0.0);
    drawCentredText(cr, TextStyle{fonts.bold, kTextSize, face.text}, "load", width / 2.0, baseline);
  }
}

void drawLetterSwitch(Canvas& canvas, const Canvas& background, const ArtFonts& fonts, const Box& box,
                      const char* letter) {
  cairo_t* cr = canvas.cr();
  const int width = box.width();
  const int height = box.height();
  constexpr double kRadius = 3.0;
  constexpr double kLetterSize = 14.0;
  for (int image = 0; image < kButtonImages; ++image) {
    const int top = image * height;
    const bool on = image == 1;
    canvas.copyFrom(background, box.left, box.top, 0, top, width, height);
    const Face face =
        on ? Face{kSwitchOnLight, kSwitchOnDark, kLetterRedLit} : Face{kSwitchOffLight, kSwitchOffDark, kLetterRed};
    drawPlate(cr, width, height, top, face, kRadius);
    drawTopEdge(cr, width, top, kRadius, on ? Rgb{0, 0, 0} : Rgb{255, 255, 255}, on ? 0.5 : 0.6);
    drawCentredText(cr, TextStyle{fonts.bold, kLetterSize, face.text}, letter, width / 2.0, top + 15.0);
  }
}

}  // namespace art
