// Opening a web address in the user's browser.
#pragma once

// Asks the system to open `address` without waiting: on Windows on a
// detached thread of its own (`address` is of static storage: the thread
// reads it after this returns), on Linux through the desktop's opener
// program (xdg-open), which may outlive the plug-in. False when nothing
// was started.
bool openWebAddress(const char* address);
