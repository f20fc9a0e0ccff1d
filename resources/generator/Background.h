// The window picture: the dark face, the knob wells with their captions,
// the logo with the web address, and the dark panel behind the impulse
// display.
#pragma once

#include "resources/generator/Canvas.h"
#include "resources/generator/TextFace.h"

namespace art {

// Draws onto a canvas of kWindowWidth x kWindowHeight.
void drawBackground(Canvas& canvas, const ArtFonts& fonts);

}  // namespace art
