// The test host's record: one line per event, appended to a file and
// flushed at once so that a script can wait for it.
#pragma once

#include <cstdio>
#include <string>

class HostLog {
 public:
  explicit HostLog(const std::string& path);
  ~HostLog();
  HostLog(const HostLog&) = delete;
  HostLog& operator=(const HostLog&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  // printf-style; a newline is added.
  void line(const char* format, ...) __attribute__((format(printf, 2, 3)));

 private:
  std::FILE* file_;
};
