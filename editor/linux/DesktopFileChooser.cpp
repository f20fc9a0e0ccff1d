#include "editor/linux/DesktopFileChooser.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "effect/linux/ProgramSearch.h"

extern char** environ;

namespace {

// The arguments of each program, without the program itself.
std::vector<std::string> chooserArguments(std::string_view program) {
  if (program == "zenity") {
    return {
        "--file-selection", std::string("--title=") + DesktopFileChooser::kTitle,
        std::string("--file-filter=") + DesktopFileChooser::kFilterName + " | " + DesktopFileChooser::kFilterPattern};
  }
  return {"--title", DesktopFileChooser::kTitle, "--getopenfilename", ".",
          std::string(DesktopFileChooser::kFilterPattern) + "|" + DesktopFileChooser::kFilterName};
}

}  // namespace

DesktopFileChooser::~DesktopFileChooser() { stop(); }

DesktopFileChooser::Start DesktopFileChooser::start() {
  if (isOpen()) return Start::kAlreadyOpen;
  std::string program;
  std::string name;
  for (const char* candidate : {"zenity", "kdialog"}) {
    program = findProgramOnPath(candidate);
    if (!program.empty()) {
      name = candidate;
      break;
    }
  }
  if (program.empty()) return Start::kNoProgram;

  std::vector<std::string> arguments = chooserArguments(name);
  std::vector<char*> argv;
  argv.push_back(program.data());
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return Start::kFailed;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  // Its own process group, so that stop() reaches whatever it started; and
  // the signal state of a plain program, whatever the host set for itself.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGCHLD);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(pipeEnds[0]);
    return Start::kFailed;
  }
  fcntl(pipeEnds[0], F_SETFL, fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
  pid_ = child;
  output_ = pipeEnds[0];
  outputClosed_ = false;
  tooLong_ = false;
  answer_.clear();
  return Start::kStarted;
}

bool DesktopFileChooser::readOutput() {
  char buffer[512];
  for (;;) {
    const ssize_t count = read(output_, buffer, sizeof buffer);
    if (count > 0) {
      // A path longer than any the system opens is no answer.
      if (answer_.size() + static_cast<size_t>(count) > PATH_MAX) {
        tooLong_ = true;
      } else {
        answer_.append(buffer, static_cast<size_t>(count));
      }
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    return false;
  }
}

DesktopFileChooser::Answer DesktopFileChooser::poll(std::string& path) {
  if (!isOpen()) return Answer::kCancelled;
  if (!outputClosed_) outputClosed_ = !readOutput();
  int status = 0;
  const pid_t ended = waitpid(pid_, &status, WNOHANG);
  if (ended == 0) return Answer::kOpen;
  // A host that reaps every child (or ignores SIGCHLD) leaves no status:
  // the closed output then marks the end, and an answer counts as given.
  if (ended < 0 && errno != ECHILD) return Answer::kOpen;
  if (ended < 0 && !outputClosed_) return Answer::kOpen;
  if (!outputClosed_) readOutput();
  const bool succeeded = ended < 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
  pid_ = 0;
  finish();
  while (!answer_.empty() && (answer_.back() == '\n' || answer_.back() == '\r')) answer_.pop_back();
  if (!succeeded || tooLong_ || answer_.empty()) return Answer::kCancelled;
  path = answer_;
  answer_.clear();
  return Answer::kChosen;
}

void DesktopFileChooser::stop() {
  // Only a child not yet reaped is signalled: once reaped (by a host that
  // reaps every child) its number may belong to another process.
  if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
    // The whole group: a chooser started through a wrapper script ends too.
    kill(-pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  pid_ = 0;
  finish();
}

void DesktopFileChooser::finish() {
  if (output_ >= 0) close(output_);
  output_ = -1;
  outputClosed_ = false;
}
