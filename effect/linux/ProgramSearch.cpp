#include "effect/linux/ProgramSearch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

std::string findProgramOnPath(const char* name) {
  const char* path = std::getenv("PATH");
  if (!path || !name || !*name) return {};
  std::string_view rest(path);
  while (true) {
    const size_t colon = rest.find(':');
    // An empty entry is the current directory, as in a shell.
    const std::string_view directory = colon == 0 || rest.empty() ? std::string_view(".") : rest.substr(0, colon);
    std::string candidate;
    candidate.append(directory).append(1, '/').append(name);
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}
