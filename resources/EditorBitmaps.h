// Makes the editor's five bitmaps loadable by their resource numbers
// (ResourceIds.h): on Windows they are compiled into the module and need
// nothing; elsewhere their BMP bytes are embedded in the library and are
// registered here. Idempotent; GUI thread.
#pragma once

void provideEditorBitmaps();
