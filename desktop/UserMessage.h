// Telling the user about a failure they caused (a file that cannot be
// opened). On Windows a message box with one OK button. On Linux the text
// goes to standard error and, on a desktop, to the message dialog of zenity
// (or kdialog), which runs on its own without the call waiting for it.
#pragma once

using MessageSink = void (*)(const char* text, const char* caption);

void showUserMessage(const char* text, const char* caption);
