// The window procedure of the frames' child windows: button presses, the
// wheel and painting go to the frame stored in the window's user data.
#pragma once

#include <windows.h>

#include <cstdint>

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Posted to a frame's window to have the frame run its posted calls.
constexpr UINT kRunPostedCallsMessage = WM_APP + 1;

// The toolkit's button and modifier bits of a button-down message: its own
// button as the message names it (the logical one), shift and control from its key flags,
// alt from the key state now. -1 for other messages.
int32_t buttonsOfMessage(UINT message, WPARAM wParam);
