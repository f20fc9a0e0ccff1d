// A library that starts the link's thread from inside itself, as the
// plug-in does, so a test can unload it right after the click.
#include "desktop/WebAddress.h"
#include "editor/WebPage.h"

extern "C" __declspec(dllexport) int startLinkThread() { return openWebAddress(kMakerWebPage) ? 1 : 0; }
