// The extended-length names that let Windows open paths longer than
// MAX_PATH. Wine opens long names without them, so the names themselves
// are checked here.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <string>

#include "wavefile/LongPath.h"

TEST(LongPath, OnlyNamesTooLongForTheSystemTakeTheExtendedForm) {
  EXPECT_EQ(extendedLengthPath(L"C:\\IRs\\hall.wav"), L"\\\\?\\C:\\IRs\\hall.wav");
  EXPECT_EQ(extendedLengthPath(L"\\\\server\\share\\hall.wav"), L"\\\\?\\UNC\\server\\share\\hall.wav");
  for (const wchar_t* unchanged :
       {L"\\\\?\\C:\\IRs\\hall.wav", L"\\\\.\\COM1", L"IRs\\hall.wav", L"\\IRs\\hall.wav", L""}) {
    EXPECT_EQ(extendedLengthPath(unchanged), unchanged);
  }

  // A name that fits goes to the system as the caller wrote it.
  EXPECT_EQ(pathForOpening(L"C:\\IRs\\L+R.wav"), L"C:\\IRs\\L+R.wav");
  EXPECT_EQ(pathForOpening(L"C:/IRs/./hall.wav"), L"C:/IRs/./hall.wav");

  std::wstring folder = L"C:\\Users\\j.doe\\Samples";
  while (folder.size() < 300) folder += L"\\Deep library folder";
  const std::wstring file = folder + L"\\\u0141\u00f3d\u017a.wav";
  EXPECT_EQ(pathForOpening(file), L"\\\\?\\" + file);
  // The extended form is not normalised by the system: slashes, "." and
  // ".." are resolved before the prefix is put on.
  std::wstring written = L"C:/Users/j.doe/Samples";
  while (written.size() < 300) written += L"/Deep library folder";
  EXPECT_EQ(pathForOpening(written + L"/./x/../\u0141\u00f3d\u017a.wav"), L"\\\\?\\" + file);
  EXPECT_EQ(pathForOpening(L"\\\\?\\" + file), L"\\\\?\\" + file);
  std::wstring share = L"\\\\server\\share";
  while (share.size() < 300) share += L"\\Deep library folder";
  EXPECT_EQ(pathForOpening(share + L"\\ir.wav"), L"\\\\?\\UNC\\server\\share" + share.substr(14) + L"\\ir.wav");
}
#endif
