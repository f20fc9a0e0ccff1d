#include "desktop/linux/ChildProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

// The intermediate of a detached program, at its fixed places rather than
// on PATH: it is this code's own helper, not a program the user picks.
constexpr const char* kIntermediates[] = {"/usr/bin/setsid", "/bin/setsid"};

// Owns the spawn attributes and file actions for one start.
class SpawnSetup {
 public:
  explicit SpawnSetup(int output) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (output >= 0) posix_spawn_file_actions_adddup2(&actions_, output, STDOUT_FILENO);
    // Whatever the host holds open, close-on-exec or not: its sockets,
    // audio devices and lock files must not live on in a desktop program.
    posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);

    posix_spawnattr_init(&attributes_);
    sigset_t all;
    sigfillset(&all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes_, &all);
    posix_spawnattr_setsigmask(&attributes_, &none);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  }
  ~SpawnSetup() {
    posix_spawnattr_destroy(&attributes_);
    posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  pid_t start(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> copies = arguments;
    std::string path = program;
    std::vector<char*> argv;
    argv.push_back(path.data());
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    if (posix_spawn(&child, path.c_str(), &actions_, &attributes_, argv.data(), environ) != 0) return -1;
    return child;
  }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

}  // namespace

pid_t startChildProgram(const std::string& program, const std::vector<std::string>& arguments, int output) {
  SpawnSetup setup(output);
  return setup.start(program, arguments);
}

bool startDetachedProgram(const std::string& program, const std::vector<std::string>& arguments) {
  const char* intermediate = nullptr;
  for (const char* candidate : kIntermediates) {
    if (access(candidate, X_OK) == 0) {
      intermediate = candidate;
      break;
    }
  }
  if (!intermediate) return false;
  // `setsid --fork` always forks: its child starts a session and runs the
  // program, and it ends without waiting, so the program's parent becomes
  // the system's reaper. The signal and descriptor state set here reaches
  // the program through it unchanged.
  std::vector<std::string> intermediateArguments{"--fork", program};
  intermediateArguments.insert(intermediateArguments.end(), arguments.begin(), arguments.end());
  const pid_t started = startChildProgram(intermediate, intermediateArguments);
  if (started < 0) return false;
  int status = 0;
  pid_t ended;
  do {
    ended = waitpid(started, &status, 0);
  } while (ended < 0 && errno == EINTR);
  // A host that reaps every child itself leaves no status to read.
  if (ended < 0) return errno == ECHILD;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
