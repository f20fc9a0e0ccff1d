// Draws the editor's five bitmaps into a folder:
//   ulmar-draw-bitmaps OUTPUT_FOLDER
// writes back.bmp, knob.bmp, load.bmp, left.bmp and right.bmp. The same
// program on the same libraries always writes the same bytes.
#include <cstdio>
#include <string>

#include "resources/generator/ArtLayout.h"
#include "resources/generator/Background.h"
#include "resources/generator/BmpFile.h"
#include "resources/generator/ButtonArt.h"
#include "resources/generator/Canvas.h"
#include "resources/generator/KnobStrip.h"
#include "resources/generator/TextFace.h"

namespace {

bool save(const art::Canvas& canvas, const std::string& folder, const char* name) {
  if (!canvas.ok()) {
    std::fprintf(stderr, "ulmar-draw-bitmaps: drawing %s failed: %s\n", name,
                 cairo_status_to_string(cairo_status(canvas.cr())));
    return false;
  }
  const std::string path = folder + "/" + name;
  if (!art::writeBmpFile(path, canvas.toImage())) {
    std::fprintf(stderr, "ulmar-draw-bitmaps: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

// Draws and writes the five pictures; every canvas is gone when it returns.
bool drawAll(const art::ArtFonts& fonts, const std::string& folder) {
  art::Canvas background(art::kWindowWidth, art::kWindowHeight);
  art::drawBackground(background, fonts);

  art::Canvas knob(art::kKnobSize, art::kKnobSize * art::kKnobImages);
  art::drawKnobStrip(knob, background);

  art::Canvas load(art::kLoadButton.width(), art::kLoadButton.height() * art::kButtonImages);
  art::drawLoadButton(load, background, fonts);

  art::Canvas left(art::kLeftButton.width(), art::kLeftButton.height() * art::kButtonImages);
  art::drawLetterSwitch(left, background, fonts, art::kLeftButton, "L");

  art::Canvas right(art::kRightButton.width(), art::kRightButton.height() * art::kButtonImages);
  art::drawLetterSwitch(right, background, fonts, art::kRightButton, "R");

  return save(background, folder, "back.bmp") && save(knob, folder, "knob.bmp") && save(load, folder, "load.bmp") &&
         save(left, folder, "left.bmp") && save(right, folder, "right.bmp");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ulmar-draw-bitmaps OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];

  std::string error;
  art::ArtFonts fonts{art::loadFontFace(art::FontStyle::kRegular, error), nullptr};
  if (fonts.regular != nullptr) fonts.bold = art::loadFontFace(art::FontStyle::kBold, error);
  if (fonts.bold == nullptr) {
    std::fprintf(stderr, "ulmar-draw-bitmaps: %s\n", error.c_str());
    art::releaseFonts(fonts);
    return 1;
  }

  const bool ok = drawAll(fonts, folder);
  art::releaseFonts(fonts);
  return ok ? 0 : 1;
}
