// The desktop's file chooser, one per editor. On Windows it is the modal
// file-open dialog, which answers before choose() returns; on Linux a
// separate program runs beside the host, and poll(), called from the
// editor's idle pass, collects its answer. Either way the chosen path
// reaches the callback on the editor's thread, as the platform's own file
// name. GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "desktop/NativePath.h"

// What the chooser shows: its title and one filter (a name and a pattern
// such as "*.wav"). The texts are of static storage.
struct FileChoiceRequest {
  const char* title;
  const char* filterName;
  const char* filterPattern;
};

using FileChosen = std::function<void(const NativePath& path)>;

class FileChooser {
 public:
  enum class Outcome {
    kChosen,       // a modal dialog: `chosen` was called
    kCancelled,    // a modal dialog cancelled or failed
    kStarted,      // a chooser now runs; poll() collects its answer
    kAlreadyOpen,  // a chooser already runs and was left alone
    kNoProgram,    // no chooser program exists
    kFailed        // the chooser could not be started
  };

  virtual ~FileChooser() = default;

  // Asks for one file, the dialog owned by ownerWindow (or by none).
  virtual Outcome choose(const FileChoiceRequest& request, void* ownerWindow, FileChosen chosen) = 0;
  // Collects the answer of a chooser that runs beside the editor, without
  // waiting: calls the `chosen` of its choose() when a file was chosen.
  virtual void poll() = 0;
  // True while a chooser runs beside the editor.
  virtual bool isOpen() const = 0;
  // Whether choose() runs a modal dialog, which pumps messages until it
  // answers.
  virtual bool isModal() const { return false; }
  // The running chooser's process id, or 0.
  virtual long processId() const = 0;
  // What the editor's warning line says about the chooser: why none could
  // run, or how the last one failed; empty when all is well.
  virtual std::string notice() const = 0;
};

// The platform's chooser. Destroying it ends a chooser still running.
std::unique_ptr<FileChooser> makeFileChooser();
