#include "tests/editorhost/CommandFile.h"

#include <cstdio>

std::vector<std::string> CommandFile::newLines() {
  std::vector<std::string> lines;
  std::FILE* file = std::fopen(path_.c_str(), "rb");
  if (!file) return lines;
  if (std::fseek(file, static_cast<long>(consumed_), SEEK_SET) == 0) {
    char buffer[512];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
      consumed_ += static_cast<int64_t>(count);
      for (size_t i = 0; i < count; ++i) {
        if (buffer[i] == '\n') {
          lines.push_back(partial_);
          partial_.clear();
        } else if (buffer[i] != '\r') {
          partial_ += buffer[i];
        }
      }
    }
  }
  std::fclose(file);
  return lines;
}
