// The faces the Windows drawing layers name that a Linux desktop rarely
// has, and the faces drawn in their place: the one substitution table of
// the cairo side, used by the toolkit's surface and the editor's
// anti-aliased renderer alike.
#pragma once

#include <string>

// The installed face to draw `face` with: the face itself when fontconfig
// has it; for a face of the table, the first of its stand-ins installed,
// or "sans-serif" (whatever face fontconfig picks) when none is; an empty
// string for any other face that is not installed. Any thread.
std::string installedFace(const char* face);
