// The window class of the frames' child windows, registered once per module
// and counted: the first frame registers it, the last one to go
// unregisters it. GUI thread only.
#pragma once

#include <windows.h>

// Registers the class (or counts one more user) and answers its name, or
// null when it cannot be registered. Also records whether the system swaps
// the mouse buttons.
const char* acquireFrameWindowClass();
// One user fewer; the last one unregisters the class.
void releaseFrameWindowClass();
// The number of users (0 while the class is not registered).
int frameWindowClassUsers();
