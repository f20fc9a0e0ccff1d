// Opening an address on Linux: the desktop's opener, xdg-open, started
// detached with the address as one argument; no shell sees it.
#include <string>

#include "desktop/WebAddress.h"
#include "desktop/linux/ChildProgram.h"
#include "desktop/linux/ProgramSearch.h"

bool openWebAddress(const char* address) {
  if (!address || !*address) return false;
  const std::string opener = findProgramOnPath("xdg-open");
  if (opener.empty()) return false;
  return startDetachedProgram(opener, {address});
}
