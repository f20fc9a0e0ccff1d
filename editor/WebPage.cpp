#include "editor/WebPage.h"

#include "desktop/WebAddress.h"

namespace {

// Set and read on the GUI thread.
WebPageOpener current = openWebAddress;

}  // namespace

WebPageOpener webPageOpener() { return current; }

WebPageOpener setWebPageOpener(WebPageOpener opener) {
  const WebPageOpener previous = current;
  current = opener ? opener : openWebAddress;
  return previous;
}
