// The committed BMP files, embedded byte for byte by the assembler (their
// folder comes from the build as ULMAR_BITMAP_DIR) and registered under
// their resource numbers.
#include <cstddef>

#include "resources/EditorBitmaps.h"
#include "resources/ResourceIds.h"
#include "toolkit/linux/BitmapResources.h"

#ifndef ULMAR_BITMAP_DIR
#error "ULMAR_BITMAP_DIR names the folder of the committed bitmaps"
#endif

// Each file between a start and an end label, hidden from other modules.
#define ULMAR_EMBED_BITMAP(name, file)                  \
  asm(".pushsection .rodata\n"                          \
      ".global ulmar_bitmap_" #name                     \
      "\n"                                              \
      ".hidden ulmar_bitmap_" #name                     \
      "\n"                                              \
      ".global ulmar_bitmap_" #name                     \
      "_end\n"                                          \
      ".hidden ulmar_bitmap_" #name                     \
      "_end\n"                                          \
      ".balign 4\n"                                     \
      "ulmar_bitmap_" #name                             \
      ":\n"                                             \
      ".incbin \"" ULMAR_BITMAP_DIR "/" file            \
      "\"\n"                                            \
      "ulmar_bitmap_" #name                             \
      "_end:\n"                                         \
      ".popsection\n");                                 \
  extern "C" const unsigned char ulmar_bitmap_##name[]; \
  extern "C" const unsigned char ulmar_bitmap_##name##_end[];

ULMAR_EMBED_BITMAP(back, "back.bmp")
ULMAR_EMBED_BITMAP(knob, "knob.bmp")
ULMAR_EMBED_BITMAP(load, "load.bmp")
ULMAR_EMBED_BITMAP(left, "left.bmp")
ULMAR_EMBED_BITMAP(right, "right.bmp")

namespace {

void provide(int resourceId, const unsigned char* begin, const unsigned char* end) {
  registerBitmapResource(resourceId, begin, static_cast<size_t>(end - begin));
}

}  // namespace

void provideEditorBitmaps() {
  provide(IDB_BACK, ulmar_bitmap_back, ulmar_bitmap_back_end);
  provide(IDB_KNOB, ulmar_bitmap_knob, ulmar_bitmap_knob_end);
  provide(IDB_LOAD, ulmar_bitmap_load, ulmar_bitmap_load_end);
  provide(IDB_LEFT, ulmar_bitmap_left, ulmar_bitmap_left_end);
  provide(IDB_RIGHT, ulmar_bitmap_right, ulmar_bitmap_right_end);
}
