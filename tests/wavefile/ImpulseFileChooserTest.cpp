// The impulse-file selection: the request it hands to the desktop's
// chooser, and (Windows) the dialog record made from it. The modal dialog
// itself is never shown here.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "wavefile/ImpulseFileChooser.h"

#ifdef _WIN32
// windows.h must come first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include "desktop/windows/OpenFileDialog.h"

TEST(ImpulseFileChooser, DialogRecordAsksForAnExistingWaveFile) {
  std::wstring path(kOpenFilePathSize, L'x');
  OPENFILENAMEW record;
  std::memset(&record, 0x5A, sizeof record);
  int owner = 0;
  OpenFileDialogTexts texts;
  fillOpenFileDialog(record, kImpulseFileRequest, &owner, path.data(), texts);

  EXPECT_EQ(record.lStructSize, OPENFILENAME_SIZE_VERSION_400W);
  EXPECT_EQ(record.hwndOwner, reinterpret_cast<HWND>(&owner));
  ASSERT_NE(record.lpstrFilter, nullptr);
  EXPECT_EQ(std::wstring(record.lpstrFilter, 22), std::wstring(L"PCM Wave files\0*.wav\0\0", 22));
  EXPECT_EQ(record.nFilterIndex, 1u);
  EXPECT_EQ(record.lpstrFile, path.data());
  EXPECT_EQ(path[0], L'\0');
  // Room for the longest name the file system takes, not MAX_PATH.
  EXPECT_EQ(record.nMaxFile, 32768u);
  EXPECT_STREQ(record.lpstrTitle, L"Open impulse response file ...");
  EXPECT_EQ(record.Flags, 0x00081800u);
  EXPECT_EQ(record.hInstance, nullptr);
  EXPECT_EQ(record.lpstrCustomFilter, nullptr);
  EXPECT_EQ(record.lpstrFileTitle, nullptr);
  EXPECT_EQ(record.lpstrInitialDir, nullptr);
  EXPECT_EQ(record.lpstrDefExt, nullptr);
  EXPECT_EQ(record.lpfnHook, nullptr);
  EXPECT_EQ(record.FlagsEx, 0u);

  fillOpenFileDialog(record, kImpulseFileRequest, nullptr, path.data(), texts);
  EXPECT_EQ(record.hwndOwner, nullptr);
}
#endif

namespace {

// Records what it was asked and answers as a cancelled dialog, or as a
// chooser that runs beside and answers on poll.
class FakeChooser final : public FileChooser {
 public:
  Outcome choose(const FileChoiceRequest& request, void* ownerWindow, FileChosen chosen) override {
    title = request.title;
    filter = std::string(request.filterName) + "|" + request.filterPattern;
    owner = ownerWindow;
    chosen_ = std::move(chosen);
    return Outcome::kStarted;
  }
  void poll() override {
    if (chosen_) chosen_(NativePath(3, 'a'));
  }
  bool isOpen() const override { return false; }
  long processId() const override { return 0; }
  std::string notice() const override { return {}; }
  std::string title;
  std::string filter;
  void* owner = nullptr;

 private:
  FileChosen chosen_;
};

}  // namespace

TEST(ImpulseFileChooser, AsksTheChooserForAWaveFileAndHandsTheAnswerToTheLoader) {
  FakeChooser chooser;
  int owner = 0;
  NativePath loaded;
  EXPECT_EQ(chooseImpulseFile(chooser, &owner, [&](const NativePath& path) { loaded = path; }),
            FileChooser::Outcome::kStarted);
  EXPECT_EQ(chooser.title, "Open impulse response file ...");
  EXPECT_EQ(chooser.filter, "PCM Wave files|*.wav");
  EXPECT_EQ(chooser.owner, &owner);
  EXPECT_TRUE(loaded.empty());
  chooser.poll();
  EXPECT_EQ(loaded, NativePath(3, 'a'));
}
