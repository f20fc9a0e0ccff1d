// The link on Linux: the desktop's opener, xdg-open, started with the
// address and not waited for; no shell sees the address.
#include <string>

#include "editor/WebPage.h"
#include "effect/linux/DetachedProgram.h"
#include "effect/linux/ProgramSearch.h"

bool openWebPageDetached(const char* address) {
  if (!address || !*address) return false;
  const std::string opener = findProgramOnPath("xdg-open");
  if (opener.empty()) return false;
  return startDetachedProgram(opener, {address});
}
