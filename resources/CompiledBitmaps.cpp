// On Windows the bitmaps are resources of the module (Ulmar_v1.rc), found
// through the module handle that the entry procedure records.
#include "resources/EditorBitmaps.h"

void provideEditorBitmaps() {}
