// The maker's web page and the way the link area opens it.
#pragma once

// The address the link area opens. Change it here.
inline constexpr const char* kMakerWebPage = "https://www.ulmar.example/";

// Asks the system to open `address` in the user's browser without waiting:
// on Windows on a detached thread of its own (`address` is of static
// storage: the thread reads it after this returns), on Linux through the
// desktop's opener program. False when nothing was started.
bool openWebPageDetached(const char* address);

// What the link area calls: openWebPageDetached unless a test replaced it.
using WebPageOpener = bool (*)(const char* address);
WebPageOpener webPageOpener();
// Replaces it (null puts openWebPageDetached back); answers the one before.
WebPageOpener setWebPageOpener(WebPageOpener opener);
