// The desktop's programs started the way a host needs, in one scenario:
// this process holds what a host holds (a file and a socket pair open
// without close-on-exec, SIGINT and SIGPIPE ignored, SIGUSR1 blocked) and
// runs with PATH = an empty entry, the stand-ins' folder and the system's,
// in a folder with decoys of the same names. The load button's chooser,
// the link's opener and the message dialog each see only descriptors 0-2,
// no ignored or blocked signal and a session of their own; the decoys
// never run; no child is left behind, running or unreaped, after a program
// answers, fails, is killed, or the editor closes while it runs; and a
// chooser that fails or is killed says so on the warning line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/UserMessage.h"
#include "desktop/linux/ProgramSearch.h"
#include "editor/ConvolverEditor.h"
#include "editor/EditorLayout.h"
#include "editor/ImpulseDisplay.h"
#include "editor/LinkArea.h"
#include "editor/WebPage.h"
#include "effect/ConvolverEffect.h"
#include "tests/editor/RecordingRenderer.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WaveFiles.h"
#include "toolkit/controls/CControl.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"

namespace {

namespace layout = editor_layout;
using Clock = std::chrono::steady_clock;

// What a stand-in reported, one line each.
std::vector<std::string> lines(const std::string& path) {
  std::vector<std::string> result;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

template <typename Condition>
bool waitFor(Condition condition, int seconds = 10) {
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    usleep(10000);
  }
  return true;
}

// True when this process has no child at all, finished or not.
bool noChildren() { return waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD; }

bool processGone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

// The part of a report line after the name and process id.
std::string seen(const std::string& line) {
  const size_t fds = line.find(" fds=");
  return fds == std::string::npos ? line : line.substr(fds + 1);
}

pid_t reportedPid(const std::string& line) {
  std::istringstream in(line);
  std::string name;
  pid_t pid = 0;
  in >> name >> pid;
  return pid;
}

void writeScript(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
  chmod(path.c_str(), 0755);
}

// The state of a host this process takes on for the scenario, and gives
// back afterwards.
class HostLikeProcess {
 public:
  HostLikeProcess(const test_support::TempDir& dir, const std::string& standIns) {
    heldFile_ = open(dir.file("held").c_str(), O_WRONLY | O_CREAT, 0644);
    socketpair(AF_UNIX, SOCK_STREAM, 0, heldSockets_);
    savedInt_ = signal(SIGINT, SIG_IGN);
    savedPipe_ = signal(SIGPIPE, SIG_IGN);
    sigset_t usr1;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &usr1, &savedMask_);
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    setenv("PATH", (":" + standIns + ":/usr/bin:/bin").c_str(), 1);
    char folder[4096];
    savedFolder_ = getcwd(folder, sizeof folder) ? folder : "/";
    chdir(dir.path().c_str());
  }
  ~HostLikeProcess() {
    chdir(savedFolder_.c_str());
    setenv("PATH", savedPath_.c_str(), 1);
    pthread_sigmask(SIG_SETMASK, &savedMask_, nullptr);
    signal(SIGPIPE, savedPipe_);
    signal(SIGINT, savedInt_);
    close(heldSockets_[0]);
    close(heldSockets_[1]);
    close(heldFile_);
  }
  bool holdsAll() const { return heldFile_ > 2 && heldSockets_[0] > 2 && heldSockets_[1] > 2; }

 private:
  int heldFile_ = -1;
  int heldSockets_[2] = {-1, -1};
  sighandler_t savedInt_;
  sighandler_t savedPipe_;
  sigset_t savedMask_;
  std::string savedPath_;
  std::string savedFolder_;
};

struct Instance {
  ConvolverEffect effect{test_support::recordingHost};
  ConvolverEditor* editor = new ConvolverEditor(&effect);
  CDrawContext* context = nullptr;

  Instance() {
    editor->open(nullptr);
    context = editor->getFrame()->createFrameContext();
  }
  ~Instance() {
    if (context) context->release();
    editor->close();
  }
  pid_t pressLoad() {
    auto* load = static_cast<CControl*>(editor->getFrame()->getView(6));
    EXPECT_EQ(load->getTag(), layout::kLoadTag);
    load->setValue(0.0f);
    editor->valueChanged(context, load);
    const FileChooser* chooser = editor->openFileChooser();
    return chooser ? static_cast<pid_t>(chooser->processId()) : 0;
  }
  bool idleUntilAnswered() {
    return waitFor([&] {
      editor->idle();
      return editor->openFileChooser() == nullptr;
    });
  }
  std::string notice() const { return editor->impulseDisplay()->notice(); }
};

constexpr const char* kCleanState = "fds= ignored= blocked= leader=1";

TEST(ChildProgramsTest, DesktopProgramsLeaveTheHostAloneAndAreNeverLeftBehind) {
  test_support::TempDir dir;
  const std::string standIns = dir.file("stand-ins");
  mkdir(standIns.c_str(), 0755);
  for (const char* name : {"zenity", "xdg-open"}) {
    ASSERT_EQ(symlink(ULMAR_STAND_IN_PROGRAM, (standIns + "/" + name).c_str()), 0);
  }
  const std::string decoyLog = dir.file("decoys-ran");
  for (const char* name : {"zenity", "kdialog", "xdg-open", "setsid"}) {
    writeScript(dir.file(name), std::string("#!/bin/sh\necho ") + name + " >> " + decoyLog + "\n");
  }
  const std::string report = dir.file("report");
  setenv("ULMAR_STAND_IN_REPORT", report.c_str(), 1);
  std::vector<float> samples(2000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = 0.5f / (1.0f + static_cast<float>(i));
  const std::string response = dir.file("room.wav");
  test_support::writeFile(response, test_support::floatWave(samples));

  ASSERT_TRUE(noChildren());
  editor_test::RecordingRenderer renderer;
  {
    HostLikeProcess host(dir, standIns);
    ASSERT_TRUE(host.holdsAll());
    auto a = std::make_unique<Instance>();
    size_t reports = 0;
    auto nextReport = [&]() -> std::string {
      EXPECT_TRUE(waitFor([&] { return lines(report).size() > reports; })) << "no stand-in reported";
      const auto all = lines(report);
      return all.size() > reports ? all[reports++] : std::string();
    };

    // Chosen: the stand-in's answer loads, from idle.
    setenv("ULMAR_STAND_IN_REPLY", response.c_str(), 1);
    const pid_t chosen = a->pressLoad();
    ASSERT_GT(chosen, 0);
    std::string line = nextReport();
    EXPECT_EQ(reportedPid(line), chosen);
    EXPECT_EQ(line.rfind("zenity ", 0), 0u) << line;
    EXPECT_EQ(seen(line).rfind(kCleanState, 0), 0u) << line;
    ASSERT_TRUE(a->idleUntilAnswered());
    EXPECT_EQ(a->effect.impulsePath(), response);
    EXPECT_EQ(a->notice(), "");
    EXPECT_TRUE(noChildren());

    // Cancelled (1) and failed (any other status): only the failure shows.
    setenv("ULMAR_STAND_IN_EXIT", "1", 1);
    a->pressLoad();
    nextReport();
    ASSERT_TRUE(a->idleUntilAnswered());
    EXPECT_EQ(a->notice(), "");
    setenv("ULMAR_STAND_IN_EXIT", "5", 1);
    a->pressLoad();
    nextReport();
    ASSERT_TRUE(a->idleUntilAnswered());
    EXPECT_EQ(a->notice(), "File chooser failed with exit status 5");
    EXPECT_TRUE(noChildren());
    unsetenv("ULMAR_STAND_IN_EXIT");

    // Killed: said on the warning line, and reaped; the next start clears it.
    setenv("ULMAR_STAND_IN_WAIT", "1", 1);
    const pid_t killed = a->pressLoad();
    ASSERT_GT(killed, 0);
    nextReport();
    kill(killed, SIGTERM);
    ASSERT_TRUE(a->idleUntilAnswered());
    EXPECT_EQ(a->notice(), "File chooser ended by signal 15");
    EXPECT_TRUE(noChildren());

    // The editor closes while the chooser runs: it ends and is reaped.
    const pid_t open = a->pressLoad();
    EXPECT_EQ(a->notice(), "");
    nextReport();
    a.reset();
    EXPECT_TRUE(processGone(open));
    EXPECT_TRUE(noChildren());

    // The link's opener, detached: never this process's child, whether it
    // runs on, is killed, or ends by itself.
    LinkArea link(CRect(0, 0, 10, 10));
    CPoint where(5, 5);
    link.mouse(nullptr, where, kLButton);
    EXPECT_TRUE(noChildren());
    line = nextReport();
    EXPECT_EQ(line.rfind("xdg-open ", 0), 0u) << line;
    EXPECT_EQ(seen(line), std::string(kCleanState) + " [" + kMakerWebPage + "]");
    const pid_t opener = reportedPid(line);
    ASSERT_GT(opener, 0);
    EXPECT_FALSE(processGone(opener));
    kill(opener, SIGKILL);
    EXPECT_TRUE(noChildren());
    unsetenv("ULMAR_STAND_IN_WAIT");
    link.mouse(nullptr, where, kLButton);
    line = nextReport();
    EXPECT_EQ(seen(line), std::string(kCleanState) + " [" + kMakerWebPage + "]");
    EXPECT_TRUE(waitFor([&] { return processGone(reportedPid(line)); }));
    EXPECT_TRUE(noChildren());

    // The message of a failed load, on a desktop.
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display ? display : "";
    setenv("DISPLAY", ":93", 1);
    testing::internal::CaptureStderr();
    showUserMessage("Cannot open file: x.wav", "Ulmar");
    testing::internal::GetCapturedStderr();
    if (savedDisplay.empty()) {
      unsetenv("DISPLAY");
    } else {
      setenv("DISPLAY", savedDisplay.c_str(), 1);
    }
    line = nextReport();
    EXPECT_EQ(seen(line), std::string(kCleanState) + " [--error] [--no-markup] [--title=Ulmar]" +
                              " [--text=Cannot open file: x.wav]");
    EXPECT_TRUE(noChildren());

    // The search itself: no relative folder, and a default without PATH.
    EXPECT_EQ(findProgramOnPath("zenity"), standIns + "/zenity");
    setenv("PATH", ".:stand-ins:", 1);
    EXPECT_EQ(findProgramOnPath("zenity"), "");
    unsetenv("PATH");
    EXPECT_EQ(findProgramOnPath("sh").rfind("/", 0), 0u);
  }
  unsetenv("ULMAR_STAND_IN_REPLY");
  unsetenv("ULMAR_STAND_IN_REPORT");
  EXPECT_TRUE(lines(decoyLog).empty()) << "a program in the current folder ran";
}

}  // namespace
