// Stand-ins for the desktop's programs on PATH: tests/editor/desktop-dialog
// linked as zenity or kdialog, tests/editor/xdg-open as itself, each
// recording how it was called in a file of the scratch directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace editor_test {

// PATH holding only the stand-ins named, each a link to the script.
class StandInPath {
 public:
  explicit StandInPath(std::initializer_list<const char*> names) {
    saved_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    for (const char* name : names) {
      const char* script = std::strcmp(name, "xdg-open") == 0 ? ULMAR_XDG_OPEN_SCRIPT : ULMAR_DESKTOP_DIALOG_SCRIPT;
      EXPECT_EQ(symlink(script, dir_.file(name).c_str()), 0) << name;
    }
    setenv("PATH", dir_.path().c_str(), 1);
    setenv("ULMAR_CHOOSER_LOG", log().c_str(), 1);
    setenv("ULMAR_OPENED_ADDRESSES", dir_.file("opened.log").c_str(), 1);
  }
  ~StandInPath() {
    setenv("PATH", saved_.c_str(), 1);
    unsetenv("ULMAR_CHOOSER_REPLY");
    unsetenv("ULMAR_CHOOSER_DELAY");
  }
  static void reply(const std::string& path, const char* delay) {
    setenv("ULMAR_CHOOSER_REPLY", path.c_str(), 1);
    setenv("ULMAR_CHOOSER_DELAY", delay, 1);
  }
  std::string log() const { return dir_.file("chooser.log"); }
  // The dialogs' calls, one line each: process id, name, [arguments].
  std::vector<std::string> calls() const { return lines(log()); }
  std::vector<std::string> openedAddresses() const { return lines(dir_.file("opened.log")); }
  // Waits up to five seconds for `count` lines of `read`.
  template <typename Read>
  static std::vector<std::string> awaitLines(Read read, size_t count) {
    for (int i = 0; i < 500 && read().size() < count; ++i) usleep(10000);
    return read();
  }

  static std::vector<std::string> lines(const std::string& path) {
    std::vector<std::string> result;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  }

 private:
  test_support::TempDir dir_;
  std::string saved_;
};

}  // namespace editor_test
