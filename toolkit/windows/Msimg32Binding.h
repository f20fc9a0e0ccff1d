// AlphaBlend and TransparentBlt from msimg32.dll, bound at run time so that
// the library never imports it. Both stay null where the library or the
// function is missing; the bitmaps then use their mask-blit fallbacks.
#pragma once

#include <windows.h>

using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

struct BlendFunctions {
  AlphaBlendFunction alphaBlend = nullptr;
  TransparentBltFunction transparentBlt = nullptr;
};

// Process-wide, GUI thread only. Tests may clear and restore them.
BlendFunctions& blendFunctions();

// Each frame binds once and unbinds as it goes; the last unbinding clears
// the pointers before the library is freed, so none outlives its code.
HMODULE bindMsimg32();
void unbindMsimg32(HMODULE module);

// Whether the system is the one that needs blending from a copy (4.10,
// the Windows 9x platform).
bool isWindows98();
