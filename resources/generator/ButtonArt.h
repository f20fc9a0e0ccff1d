// The button images: the load button (released above pressed) and the L and
// R switches (off above on), each drawn over the part of the window picture
// it covers.
#pragma once

#include "resources/generator/ArtLayout.h"
#include "resources/generator/Canvas.h"
#include "resources/generator/TextFace.h"

namespace art {

void drawLoadButton(Canvas& canvas, const Canvas& background, const ArtFonts& fonts);

// `box` is the switch's place in the window; `letter` "L" or "R".
void drawLetterSwitch(Canvas& canvas, const Canvas& background, const ArtFonts& fonts, const Box& box,
                      const char* letter);

}  // namespace art
