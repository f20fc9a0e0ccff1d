// No way to open a web page is wired up on this platform yet: the click
// does nothing.
#include "editor/WebPage.h"

bool openWebPageDetached(const char*) { return false; }
