// The window procedure of the frames' child windows: button presses, the
// wheel and painting go to the frame stored in the window's user data.
#pragma once

#include <windows.h>

#include <cstdint>

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The toolkit's button and modifier bits of a button-down message: its own
// button (swapped buttons applied), shift and control from its key flags,
// alt from the key state now. -1 for other messages.
int32_t buttonsOfMessage(UINT message, WPARAM wParam);
