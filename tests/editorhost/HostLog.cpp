#include "tests/editorhost/HostLog.h"

#include <cstdarg>

HostLog::HostLog(const std::string& path) : file_(std::fopen(path.c_str(), "ab")) {}

HostLog::~HostLog() {
  if (file_) std::fclose(file_);
}

void HostLog::line(const char* format, ...) {
  if (!file_) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file_, format, args);
  va_end(args);
  std::fputc('\n', file_);
  std::fflush(file_);
}
