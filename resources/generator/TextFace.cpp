#include "resources/generator/TextFace.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>

#include "resources/generator/Canvas.h"

namespace art {
namespace {

const char* styleName(FontStyle style) { return style == FontStyle::kBold ? "Bold" : "Regular"; }

// The font file fontconfig offers for the family and style, only when it
// really is that family and style.
bool findFontFile(FontStyle style, std::string& file, int& index, std::string& error) {
  if (!FcInit()) {
    error = "fontconfig does not start";
    return false;
  }
  FcPattern* wanted = FcPatternCreate();
  FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>(kFontFamily));
  FcPatternAddString(wanted, FC_STYLE, reinterpret_cast<const FcChar8*>(styleName(style)));
  FcPatternAddBool(wanted, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
  FcDefaultSubstitute(wanted);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(nullptr, wanted, &result);
  FcPatternDestroy(wanted);
  if (found == nullptr) {
    error = std::string("no font matches ") + kFontFamily;
    return false;
  }
  FcChar8* family = nullptr;
  FcChar8* foundStyle = nullptr;
  FcChar8* path = nullptr;
  bool ok = FcPatternGetString(found, FC_FAMILY, 0, &family) == FcResultMatch &&
            FcPatternGetString(found, FC_STYLE, 0, &foundStyle) == FcResultMatch &&
            FcPatternGetString(found, FC_FILE, 0, &path) == FcResultMatch &&
            std::strcmp(reinterpret_cast<const char*>(family), kFontFamily) == 0 &&
            std::strcmp(reinterpret_cast<const char*>(foundStyle), styleName(style)) == 0;
  if (ok) {
    file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(found, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
  } else {
    error = std::string(kFontFamily) + " " + styleName(style) + " is not installed (fonts-liberation)";
  }
  FcPatternDestroy(found);
  return ok;
}

void releaseFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

void applyFont(cairo_t* cr, const TextStyle& style) {
  cairo_set_font_face(cr, style.face);
  cairo_set_font_size(cr, style.size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

// Started with the first face, ended by releaseFonts.
FT_Library freeTypeLibrary = nullptr;

}  // namespace

cairo_font_face_t* loadFontFace(FontStyle style, std::string& error) {
  FT_Library& library = freeTypeLibrary;
  if (library == nullptr && FT_Init_FreeType(&library) != 0) {
    error = "FreeType does not start";
    return nullptr;
  }
  std::string file;
  int index = 0;
  if (!findFontFile(style, file, index, error)) return nullptr;
  FT_Face ftFace = nullptr;
  if (FT_New_Face(library, file.c_str(), index, &ftFace) != 0) {
    error = "cannot read " + file;
    return nullptr;
  }
  cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(ftFace, FT_LOAD_NO_HINTING);
  static cairo_user_data_key_t ownerKey;
  if (cairo_font_face_set_user_data(face, &ownerKey, ftFace, releaseFace) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    FT_Done_Face(ftFace);
    error = "cairo does not take the font";
    return nullptr;
  }
  return face;
}

void releaseFonts(ArtFonts& fonts) {
  for (cairo_font_face_t** face : {&fonts.regular, &fonts.bold}) {
    if (*face != nullptr) cairo_font_face_destroy(*face);
    *face = nullptr;
  }
  cairo_debug_reset_static_data();
  FcFini();
  if (freeTypeLibrary != nullptr) FT_Done_FreeType(freeTypeLibrary);
  freeTypeLibrary = nullptr;
}

cairo_text_extents_t measureText(cairo_t* cr, const TextStyle& style, const char* text) {
  cairo_save(cr);
  applyFont(cr, style);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  cairo_restore(cr);
  return extents;
}

void drawCentredText(cairo_t* cr, const TextStyle& style, const char* text, double centreX, double baseline) {
  const cairo_text_extents_t extents = measureText(cr, style, text);
  cairo_save(cr);
  applyFont(cr, style);
  cairo_new_path(cr);
  cairo_move_to(cr, centreX - extents.x_bearing - extents.width / 2.0, baseline);
  cairo_text_path(cr, text);
  setColour(cr, style.colour);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace art
