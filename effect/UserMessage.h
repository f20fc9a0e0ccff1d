// Telling the user about a failure they caused (a file that cannot be
// opened). On Windows a message box with one OK button; elsewhere, where
// the plug-in has no window of its own for it, the text on standard error.
#pragma once

using MessageSink = void (*)(const char* text, const char* caption);

void showUserMessage(const char* text, const char* caption);
