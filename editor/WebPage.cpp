#include "editor/WebPage.h"

namespace {

// Set and read on the GUI thread.
WebPageOpener current = openWebPageDetached;

}  // namespace

WebPageOpener webPageOpener() { return current; }

WebPageOpener setWebPageOpener(WebPageOpener opener) {
  const WebPageOpener previous = current;
  current = opener ? opener : openWebPageDetached;
  return previous;
}
