/* Stands in for the desktop's programs (linked as zenity, kdialog or
 * xdg-open) in the child-program scenario. It first appends one line to
 * $ULMAR_STAND_IN_REPORT with what it was given by the process that started
 * it: its name and process id, the descriptors it holds beyond 0-2, the
 * signals it found ignored or blocked, whether it leads its own session,
 * and its arguments. Then a file selection prints $ULMAR_STAND_IN_REPLY and
 * exits with $ULMAR_STAND_IN_EXIT (0 when unset); with
 * $ULMAR_STAND_IN_WAIT set, any stand-in waits to be killed instead. Plain
 * C without sanitizers, so that nothing but the starter's doing shows. */
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void appendNumber(char* line, size_t size, int number, int* first) {
  size_t used = strlen(line);
  snprintf(line + used, size - used, "%s%d", *first ? "" : ",", number);
  *first = 0;
}

int main(int argc, char** argv) {
  char line[4096] = "";
  const char* name = strrchr(argv[0], '/') ? strrchr(argv[0], '/') + 1 : argv[0];
  snprintf(line, sizeof line, "%s %d fds=", name, (int)getpid());

  int first = 1;
  DIR* folder = opendir("/proc/self/fd");
  if (folder) {
    struct dirent* entry;
    while ((entry = readdir(folder)) != NULL) {
      const int fd = atoi(entry->d_name);
      if (entry->d_name[0] == '.' || fd <= 2 || fd == dirfd(folder)) continue;
      appendNumber(line, sizeof line, fd, &first);
    }
    closedir(folder);
  }
  strncat(line, " ignored=", sizeof line - strlen(line) - 1);
  first = 1;
  sigset_t blocked;
  sigprocmask(SIG_BLOCK, NULL, &blocked);
  for (int sig = 1; sig < NSIG; ++sig) {
    struct sigaction action;
    if (sigaction(sig, NULL, &action) == 0 && action.sa_handler == SIG_IGN)
      appendNumber(line, sizeof line, sig, &first);
  }
  strncat(line, " blocked=", sizeof line - strlen(line) - 1);
  first = 1;
  for (int sig = 1; sig < NSIG; ++sig) {
    if (sigismember(&blocked, sig) == 1) appendNumber(line, sizeof line, sig, &first);
  }
  size_t used = strlen(line);
  snprintf(line + used, sizeof line - used, " leader=%d", getsid(0) == getpid() ? 1 : 0);
  for (int i = 1; i < argc; ++i) {
    used = strlen(line);
    snprintf(line + used, sizeof line - used, " [%s]", argv[i]);
  }
  strncat(line, "\n", sizeof line - strlen(line) - 1);

  const char* report = getenv("ULMAR_STAND_IN_REPORT");
  if (report) {
    const int out = open(report, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (out >= 0) {
      if (write(out, line, strlen(line)) < 0) return 2;
      close(out);
    }
  }
  if (getenv("ULMAR_STAND_IN_WAIT")) {
    for (;;) pause();
  }
  if (argc > 1 && (strcmp(argv[1], "--file-selection") == 0 || strcmp(argv[1], "--title") == 0)) {
    const char* reply = getenv("ULMAR_STAND_IN_REPLY");
    if (reply && *reply) printf("%s\n", reply);
    const char* status = getenv("ULMAR_STAND_IN_EXIT");
    return status ? atoi(status) : 0;
  }
  return 0;
}
