// The desktop's file chooser run as a separate program (zenity, or kdialog
// where zenity is absent) so that the host's GUI thread never waits for the
// user: choose() starts it, poll() collects its answer without blocking,
// and stop() (or the destructor) ends and reaps a chooser still open. GUI
// thread only.
#pragma once

#include <sys/types.h>

#include <string>

#include "desktop/FileChooser.h"
#include "desktop/linux/ChooserOutput.h"

// The warning line's notice when neither chooser program exists.
inline constexpr const char* kNoChooserNotice = "No file chooser: zenity or kdialog";

class DesktopFileChooser final : public FileChooser {
 public:
  DesktopFileChooser() = default;
  ~DesktopFileChooser() override;
  DesktopFileChooser(const DesktopFileChooser&) = delete;
  DesktopFileChooser& operator=(const DesktopFileChooser&) = delete;

  // Looks for the programs on PATH and starts the first one found. A
  // chooser already open is left alone.
  Outcome choose(const FileChoiceRequest& request, void* ownerWindow, FileChosen chosen) override;
  // Reads what the chooser wrote so far and whether it ended. An exit with
  // status 0 and a path calls `chosen`; 1 (or 0 without a path) is a
  // cancel; any other status, or a signal, leaves a notice.
  void poll() override;
  bool isOpen() const override { return pid_ > 0; }
  long processId() const override { return pid_ > 0 ? pid_ : 0; }
  std::string notice() const override { return notice_; }

  // Ends an open chooser (with the programs it started) and reaps it.
  void stop();

 private:
  // Reads what is available; false once the chooser closed its output.
  bool readOutput();
  // Takes the answer of a chooser that ended with `status` (as waitpid
  // gives it; known false when a host reaped it first).
  void finishWith(bool known, int status);
  void closeOutput();

  pid_t pid_ = 0;
  int output_ = -1;
  bool outputClosed_ = false;
  ChooserOutput answer_;
  std::string notice_;
  FileChosen chosen_;
};
