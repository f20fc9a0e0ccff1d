// The impulse-file dialog record (Windows) and the dialog-less answer
// elsewhere. The modal dialog itself is never shown here.
#include <gtest/gtest.h>

#include "wavefile/ImpulseFileChooser.h"

#ifdef _WIN32
// windows.h must come first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <cstring>
#include <string>

TEST(ImpulseFileChooser, DialogRecordAsksForAnExistingWaveFile) {
  char path[kImpulsePathBufferSize];
  std::memset(path, 'x', sizeof path);
  OPENFILENAMEA record;
  std::memset(&record, 0x5A, sizeof record);
  int owner = 0;
  fillImpulseFileDialog(record, &owner, path);

  EXPECT_EQ(record.lStructSize, OPENFILENAME_SIZE_VERSION_400A);
  EXPECT_EQ(record.hwndOwner, reinterpret_cast<HWND>(&owner));
  ASSERT_NE(record.lpstrFilter, nullptr);
  EXPECT_EQ(std::string(record.lpstrFilter, 22), std::string("PCM Wave files\0*.wav\0\0", 22));
  EXPECT_EQ(record.nFilterIndex, 1u);
  EXPECT_EQ(record.lpstrFile, path);
  EXPECT_EQ(path[0], '\0');
  EXPECT_EQ(record.nMaxFile, 260u);
  EXPECT_STREQ(record.lpstrTitle, "Open impulse response file ...");
  EXPECT_EQ(record.Flags, 0x00081800u);
  EXPECT_EQ(record.hInstance, nullptr);
  EXPECT_EQ(record.lpstrCustomFilter, nullptr);
  EXPECT_EQ(record.lpstrFileTitle, nullptr);
  EXPECT_EQ(record.lpstrInitialDir, nullptr);
  EXPECT_EQ(record.lpstrDefExt, nullptr);
  EXPECT_EQ(record.lpfnHook, nullptr);
  EXPECT_EQ(record.FlagsEx, 0u);

  fillImpulseFileDialog(record, nullptr, path);
  EXPECT_EQ(record.hwndOwner, nullptr);
}
#else
TEST(ImpulseFileChooser, AnswersFalseWithoutCallingTheLoaderWhereThereIsNoDialog) {
  bool called = false;
  EXPECT_FALSE(chooseImpulseFile(nullptr, [&](const char*) { return called = true; }));
  EXPECT_FALSE(called);
}
#endif
