// The maker's web page and the way the link area opens it.
#pragma once

// The address the link area opens. Change it here.
inline constexpr const char* kMakerWebPage = "https://www.ulmar.example/";

// What the link area calls: the desktop's openWebAddress unless a test
// replaced it.
using WebPageOpener = bool (*)(const char* address);
WebPageOpener webPageOpener();
// Replaces it (null puts openWebAddress back); answers the one before.
WebPageOpener setWebPageOpener(WebPageOpener opener);
