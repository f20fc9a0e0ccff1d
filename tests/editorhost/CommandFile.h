// Commands for the test host, one per line, appended to a file by the test
// script; each call hands out the complete lines added since the last one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CommandFile {
 public:
  explicit CommandFile(std::string path) : path_(std::move(path)) {}
  std::vector<std::string> newLines();

 private:
  std::string path_;
  int64_t consumed_ = 0;
  std::string partial_;
};
