// Text for the pictures, always in "Liberation Sans", looked up by name and
// refused when the system would fall back to another family. Glyph
// outlines are taken unhinted and filled as paths, so the pixels come from
// the outlines and the rasteriser alone, not from the font configuration.
#pragma once

#include <cairo.h>

#include <string>

#include "resources/generator/Palette.h"

namespace art {

constexpr const char* kFontFamily = "Liberation Sans";

enum class FontStyle { kRegular, kBold };

// The face, or null with the reason in `error`.
cairo_font_face_t* loadFontFace(FontStyle style, std::string& error);

struct ArtFonts {
  cairo_font_face_t* regular;
  cairo_font_face_t* bold;
};

// Releases the faces and the font libraries' caches, after the last drawing.
void releaseFonts(ArtFonts& fonts);

struct TextStyle {
  cairo_font_face_t* face;
  double size;  // pixels per em
  Rgb colour;
};

// Draws `text` with its inked part centred on centreX and its base line on
// `baseline`.
void drawCentredText(cairo_t* cr, const TextStyle& style, const char* text, double centreX, double baseline);

// The inked extent of `text` when drawn at the origin.
cairo_text_extents_t measureText(cairo_t* cr, const TextStyle& style, const char* text);

}  // namespace art
