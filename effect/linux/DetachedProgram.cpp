#include "effect/linux/DetachedProgram.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

bool startDetachedProgram(const std::string& program, const std::vector<std::string>& arguments) {
  // Everything the children need is made before forking: between fork and
  // exec they only call what is safe in a copy of a threaded process.
  std::vector<std::string> copies = arguments;
  std::vector<char*> argv;
  std::string path = program;
  argv.push_back(path.data());
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  sigset_t none;
  sigemptyset(&none);

  const pid_t intermediate = fork();
  if (intermediate < 0) return false;
  if (intermediate == 0) {
    // The program becomes a child of the system's reaper when this ends.
    setsid();
    const pid_t started = fork();
    if (started == 0) {
      signal(SIGPIPE, SIG_DFL);
      signal(SIGCHLD, SIG_DFL);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      execve(path.c_str(), argv.data(), environ);
      _exit(127);
    }
    _exit(started > 0 ? 0 : 1);
  }
  int status = 0;
  pid_t ended;
  do {
    ended = waitpid(intermediate, &status, 0);
  } while (ended < 0 && errno == EINTR);
  // A host that reaps every child itself leaves no status to read.
  if (ended < 0) return errno == ECHILD;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
