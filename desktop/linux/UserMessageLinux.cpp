#include <cstdio>
#include <cstdlib>
#include <string>

#include "desktop/UserMessage.h"
#include "desktop/linux/ChildProgram.h"
#include "desktop/linux/ProgramSearch.h"

void showUserMessage(const char* text, const char* caption) {
  // Standard error always has it, for hosts run without a desktop.
  std::fprintf(stderr, "%s: %s\n", caption, text);
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((!x11 || !*x11) && (!wayland || !*wayland)) return;
  // A message dialog of the desktop, not waited for: the text is plain
  // (a path may hold markup characters).
  if (const std::string zenity = findProgramOnPath("zenity"); !zenity.empty()) {
    startDetachedProgram(zenity,
                         {"--error", "--no-markup", std::string("--title=") + caption, std::string("--text=") + text});
  } else if (const std::string kdialog = findProgramOnPath("kdialog"); !kdialog.empty()) {
    startDetachedProgram(kdialog, {"--title", caption, "--error", text});
  }
}
