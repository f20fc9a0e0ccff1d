#include "effect/UserMessage.h"

#if defined(_WIN32)
#include <windows.h>

void showUserMessage(const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_OK); }
#else
#include <cstdio>

void showUserMessage(const char* text, const char* caption) { std::fprintf(stderr, "%s: %s\n", caption, text); }
#endif
