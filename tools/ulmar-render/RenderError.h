// A failure the user can act on: one line of text and the exit status the
// program ends with.
#pragma once

#include <stdexcept>
#include <string>

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;  // a file, the plug-in or the audio failed
constexpr int kExitUsage = 2;    // the command line itself is wrong
constexpr int kExitInterrupted = 130;

class RenderError : public std::runtime_error {
 public:
  explicit RenderError(const std::string& message, int status = kExitFailure)
      : std::runtime_error(message), status_(status) {}
  int status() const { return status_; }

 private:
  int status_;
};
