// The programs the plug-in starts and does not wait for, with stand-ins on
// PATH: the message of a failed load in zenity's (or kdialog's) error
// dialog, with the text passed as one plain argument, and only on a
// desktop; the link's address to xdg-open, once per click. Neither leaves a
// child of this process behind, running or unreaped.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "desktop/UserMessage.h"
#include "desktop/WebAddress.h"
#include "editor/LinkArea.h"
#include "editor/WebPage.h"
#include "tests/editor/StandInPrograms.h"
#include "toolkit/drawing/CDrawContext.h"

namespace {

using editor_test::StandInPath;

// True when this process has no child at all, finished or not.
bool noChildren() { return waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD; }

// Sets or clears the display variables for its lifetime.
class Desktop {
 public:
  explicit Desktop(const char* display) {
    save("DISPLAY", display_);
    save("WAYLAND_DISPLAY", wayland_);
    if (display) {
      setenv("DISPLAY", display, 1);
    } else {
      unsetenv("DISPLAY");
    }
    unsetenv("WAYLAND_DISPLAY");
  }
  ~Desktop() {
    restore("DISPLAY", display_);
    restore("WAYLAND_DISPLAY", wayland_);
  }

 private:
  static void save(const char* name, std::string& value) {
    const char* set = std::getenv(name);
    value = set ? std::string("=") + set : "";
  }
  static void restore(const char* name, const std::string& value) {
    if (value.empty()) {
      unsetenv(name);
    } else {
      setenv(name, value.c_str() + 1, 1);
    }
  }
  std::string display_;
  std::string wayland_;
};

TEST(DesktopProgramsTest, AFailedLoadShowsItsMessageInTheDesktopsErrorDialogWithoutWaiting) {
  const std::string text = "Cannot open file: /tmp/a&b <i>x</i> 'q'.wav";
  {
    StandInPath standIns({"zenity", "kdialog"});
    Desktop desktop(":93");
    showUserMessage(text.c_str(), "Ulmar");
    const auto calls = StandInPath::awaitLines([&] { return standIns.calls(); }, 1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].find(" zenity [--error] [--no-markup] [--title=Ulmar] [--text=" + text + "]"), std::string::npos)
        << calls[0];
    EXPECT_TRUE(noChildren());
  }
  {
    StandInPath kdialogOnly({"kdialog"});
    Desktop desktop(":93");
    showUserMessage(text.c_str(), "Ulmar");
    const auto calls = StandInPath::awaitLines([&] { return kdialogOnly.calls(); }, 1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].find(" kdialog [--title] [Ulmar] [--error] [" + text + "]"), std::string::npos) << calls[0];
    EXPECT_TRUE(noChildren());
  }
  {
    // Without a desktop the text goes to standard error only.
    StandInPath standIns({"zenity"});
    Desktop none(nullptr);
    testing::internal::CaptureStderr();
    showUserMessage(text.c_str(), "Ulmar");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Ulmar: " + text + "\n");
    usleep(300000);
    EXPECT_TRUE(standIns.calls().empty());
  }
  {
    // Nor does a desktop without either program fail.
    StandInPath nothing({});
    Desktop desktop(":93");
    showUserMessage(text.c_str(), "Ulmar");
    EXPECT_TRUE(noChildren());
  }
}

TEST(DesktopProgramsTest, TheLinkHandsItsAddressToTheDesktopsOpenerOncePerClick) {
  {
    StandInPath standIns({"xdg-open"});
    LinkArea link(CRect(0, 0, 10, 10));
    CPoint where(5, 5);
    link.mouse(nullptr, where, kRButton);
    link.mouse(nullptr, where, kLButton);
    StandInPath::awaitLines([&] { return standIns.openedAddresses(); }, 1);
    usleep(200000);
    EXPECT_EQ(standIns.openedAddresses(), std::vector<std::string>{kMakerWebPage});
    EXPECT_TRUE(noChildren());
  }
  StandInPath nothing({});
  EXPECT_FALSE(openWebAddress(kMakerWebPage));
}

}  // namespace
