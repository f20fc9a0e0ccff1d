#include "desktop/linux/DesktopFileChooser.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <utility>
#include <vector>

#include "desktop/linux/ChildProgram.h"
#include "desktop/linux/ProgramSearch.h"

namespace {

// The arguments of each program, without the program itself.
std::vector<std::string> chooserArguments(std::string_view program, const FileChoiceRequest& request) {
  const std::string title = request.title;
  if (program == "zenity") {
    return {"--file-selection", "--title=" + title,
            std::string("--file-filter=") + request.filterName + " | " + request.filterPattern};
  }
  return {"--title", title, "--getopenfilename", ".", std::string(request.filterPattern) + "|" + request.filterName};
}

}  // namespace

std::unique_ptr<FileChooser> makeFileChooser() { return std::make_unique<DesktopFileChooser>(); }

DesktopFileChooser::~DesktopFileChooser() { stop(); }

FileChooser::Outcome DesktopFileChooser::choose(const FileChoiceRequest& request, void*, FileChosen chosen) {
  if (isOpen()) return Outcome::kAlreadyOpen;
  notice_.clear();
  std::string program;
  std::string name;
  for (const char* candidate : {"zenity", "kdialog"}) {
    program = findProgramOnPath(candidate);
    if (!program.empty()) {
      name = candidate;
      break;
    }
  }
  if (program.empty()) {
    notice_ = kNoChooserNotice;
    return Outcome::kNoProgram;
  }

  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return Outcome::kFailed;
  const pid_t child = startChildProgram(program, chooserArguments(name, request), pipeEnds[1]);
  close(pipeEnds[1]);
  if (child < 0) {
    close(pipeEnds[0]);
    return Outcome::kFailed;
  }
  fcntl(pipeEnds[0], F_SETFL, fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
  pid_ = child;
  output_ = pipeEnds[0];
  outputClosed_ = false;
  answer_.clear();
  chosen_ = std::move(chosen);
  return Outcome::kStarted;
}

bool DesktopFileChooser::readOutput() {
  char buffer[512];
  for (;;) {
    const ssize_t count = read(output_, buffer, sizeof buffer);
    if (count > 0) {
      answer_.append(buffer, static_cast<size_t>(count));
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    return false;
  }
}

void DesktopFileChooser::poll() {
  if (!isOpen()) return;
  if (!outputClosed_) outputClosed_ = !readOutput();
  int status = 0;
  const pid_t ended = waitpid(pid_, &status, WNOHANG);
  if (ended == 0) return;
  // A host that reaps every child (or ignores SIGCHLD) leaves no status:
  // the closed output then marks the end, and an answer counts as given.
  if (ended < 0 && errno != ECHILD) return;
  if (ended < 0 && !outputClosed_) return;
  if (!outputClosed_) readOutput();
  finishWith(ended > 0, status);
}

void DesktopFileChooser::finishWith(bool known, int status) {
  pid_ = 0;
  closeOutput();
  FileChosen chosen = std::move(chosen_);
  chosen_ = nullptr;
  const std::string answer = answer_.path();
  answer_.clear();
  if (known && WIFSIGNALED(status)) {
    notice_ = "File chooser ended by signal " + std::to_string(WTERMSIG(status));
    return;
  }
  const int exitStatus = known && WIFEXITED(status) ? WEXITSTATUS(status) : 0;
  if (exitStatus != 0 && exitStatus != 1) {
    notice_ = "File chooser failed with exit status " + std::to_string(exitStatus);
    return;
  }
  if (exitStatus != 0 || answer.empty() || !chosen) return;
  chosen(answer);
}

void DesktopFileChooser::stop() {
  // Only a child not yet reaped is signalled: once reaped (by a host that
  // reaps every child) its number may belong to another process.
  if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
    // Its whole session's group: a chooser started through a wrapper
    // script ends too. A chooser that left its group is ended alone.
    if (kill(-pid_, SIGKILL) != 0) kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  pid_ = 0;
  chosen_ = nullptr;
  closeOutput();
}

void DesktopFileChooser::closeOutput() {
  if (output_ >= 0) close(output_);
  output_ = -1;
  outputClosed_ = false;
}
