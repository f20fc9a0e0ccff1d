#include <windows.h>

#include "desktop/UserMessage.h"

void showUserMessage(const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_OK); }
