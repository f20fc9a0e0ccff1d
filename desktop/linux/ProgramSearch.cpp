#include "desktop/linux/ProgramSearch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

std::string findProgramOnPath(const char* name) {
  if (!name || !*name || std::string_view(name).find('/') != std::string_view::npos) return {};
  const char* path = std::getenv("PATH");
  std::string_view rest(path ? path : kDefaultProgramPath);
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1);
    if (folder.empty() || folder.front() != '/') continue;
    std::string candidate(folder);
    candidate.append(1, '/').append(name);
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return {};
}
