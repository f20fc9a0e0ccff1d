// The chooser on Windows: the common file-open dialog, modal on the
// editor's thread.
// windows.h must come first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <memory>
#include <new>

#include "desktop/FileChooser.h"
#include "desktop/windows/OpenFileDialog.h"

namespace {

class DialogFileChooser final : public FileChooser {
 public:
  Outcome choose(const FileChoiceRequest& request, void* ownerWindow, FileChosen chosen) override {
    // 64 KiB: too much for the stack of a host's thread.
    const std::unique_ptr<wchar_t[]> path(new (std::nothrow) wchar_t[kOpenFilePathSize]);
    if (!path) return Outcome::kCancelled;
    OpenFileDialogTexts texts;
    OPENFILENAMEW record;
    fillOpenFileDialog(record, request, ownerWindow, path.get(), texts);
    if (!GetOpenFileNameW(&record)) return Outcome::kCancelled;
    // The name goes on in UTF-16, as the dialog gave it: a round trip through
    // the ANSI code page could name a different file.
    if (chosen) chosen(NativePath(path.get()));
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
