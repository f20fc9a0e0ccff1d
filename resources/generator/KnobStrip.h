// The knob film strip: kKnobImages squares of kKnobSize stacked top to
// bottom, each the well of the window picture with the knob turned to the
// image's angle.
#pragma once

#include "resources/generator/Canvas.h"

namespace art {

// The pointer's angle in degrees, clockwise from twelve o'clock: linear in
// the image index, twelve at image 32, about seven o'clock at image 0 and
// about five at the last image.
double knobAngleDegrees(int image);

// The arc behind the knob that its value lights, shared with the window
// picture's wells.
constexpr double kArcRadius = 24.5;
constexpr double kArcWidth = 3.0;

// `background` is the finished window picture; the strip takes the
// surroundings of each knob from it, so the strip joins the picture without
// a seam.
void drawKnobStrip(Canvas& strip, const Canvas& background);

// The dim track of the value arc around a knob centred on (cx, cy).
void drawArcTrack(cairo_t* cr, double cx, double cy);

}  // namespace art
