// The desktop's file chooser for impulse-response files, run as a separate
// program (zenity, or kdialog where zenity is absent) so that the host's GUI
// thread never waits for the user: start() launches it without a shell,
// poll() collects its answer without blocking, and stop() (or the
// destructor) ends and reaps a chooser still open. GUI thread only.
#pragma once

#include <sys/types.h>

#include <string>

class DesktopFileChooser {
 public:
  enum class Start { kStarted, kAlreadyOpen, kNoProgram, kFailed };
  enum class Answer { kOpen, kChosen, kCancelled };

  // Title and filter the chooser shows.
  static constexpr const char* kTitle = "Open impulse response file ...";
  static constexpr const char* kFilterName = "PCM Wave files";
  static constexpr const char* kFilterPattern = "*.wav";

  DesktopFileChooser() = default;
  ~DesktopFileChooser();
  DesktopFileChooser(const DesktopFileChooser&) = delete;
  DesktopFileChooser& operator=(const DesktopFileChooser&) = delete;

  // Looks for the programs on PATH and starts the first one found. A
  // chooser already open is left alone.
  Start start();
  // Reads what the chooser wrote so far and whether it ended. kChosen
  // fills `path` once; a non-zero exit or an empty answer is kCancelled.
  // Answers kCancelled when no chooser is open.
  Answer poll(std::string& path);
  // Ends an open chooser (with the programs it started) and reaps it.
  void stop();
  bool isOpen() const { return pid_ > 0; }
  // The open chooser's process, or 0.
  pid_t pid() const { return pid_ > 0 ? pid_ : 0; }

 private:
  // Reads what is available; false once the chooser closed its output.
  bool readOutput();
  void finish();

  pid_t pid_ = 0;
  int output_ = -1;
  bool outputClosed_ = false;
  bool tooLong_ = false;
  std::string answer_;
};
