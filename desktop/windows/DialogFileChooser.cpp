// The chooser on Windows: the common file-open dialog, modal on the
// editor's thread.
// windows.h must come first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include "desktop/FileChooser.h"
#include "desktop/PathText.h"
#include "desktop/windows/OpenFileDialog.h"

namespace {

class DialogFileChooser final : public FileChooser {
 public:
  Outcome choose(const FileChoiceRequest& request, void* ownerWindow, FileChosen chosen) override {
    char path[kOpenFilePathSize];
    std::string filter;
    OPENFILENAMEA record;
    fillOpenFileDialog(record, request, ownerWindow, path, filter);
    if (!GetOpenFileNameA(&record)) return Outcome::kCancelled;
    if (chosen) chosen(nativePath(path));
    return Outcome::kChosen;
  }
  void poll() override {}
  bool isOpen() const override { return false; }
  bool isModal() const override { return true; }
  long processId() const override { return 0; }
  std::string notice() const override { return {}; }
};

}  // namespace

std::unique_ptr<FileChooser> makeFileChooser() { return std::make_unique<DialogFileChooser>(); }
