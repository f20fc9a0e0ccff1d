// The link's thread keeps its library loaded while it runs: a host that
// unloads the library right after a click must not pull the code from
// under the thread, and the library must go once the thread has ended.
// The shell's browser helper runs the stand-in xdg-open that ctest puts
// first on PATH; it records the address instead of starting a browser.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

bool waitFor(bool (*condition)(), DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 20) {
    if (condition()) return true;
    Sleep(20);
  }
  return condition();
}

bool libraryGone() { return GetModuleHandleA("LinkProbeLibrary.dll") == nullptr; }

// Written by the stand-in, a Unix process: its path as Windows sees it.
std::string recordFile() {
  const char* file = std::getenv("ULMAR_OPENED_ADDRESSES");
  return file ? test_support::nativePath(file) : std::string();
}

std::string recorded() {
  std::ifstream in(recordFile());
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool addressRecorded() { return !recorded().empty(); }

// A thread running in unloaded code crashes; fail at once instead of
// waiting for the debugger that the crash would start.
LONG WINAPI exitOnCrash(EXCEPTION_POINTERS*) {
  std::fprintf(stderr, "crashed: a thread ran in unloaded code\n");
  ExitProcess(3);
}

TEST(LinkThreadTest, TheThreadHoldsItsLibraryUntilItEndsThenLetsItGo) {
  SetUnhandledExceptionFilter(exitOnCrash);
  ASSERT_FALSE(recordFile().empty());
  DeleteFileA(recordFile().c_str());
  HMODULE library = LoadLibraryA("LinkProbeLibrary.dll");
  ASSERT_NE(library, nullptr);
  auto start = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(library, "startLinkThread")));
  ASSERT_NE(start, nullptr);
  ASSERT_EQ(start(), 1);
  // The host lets go at once; the thread, still asking the shell, keeps it.
  FreeLibrary(library);
  EXPECT_FALSE(libraryGone()) << "unloaded under the running thread";
  EXPECT_TRUE(waitFor(libraryGone, 10000)) << "the thread's reference was never given back";
  EXPECT_TRUE(waitFor(addressRecorded, 10000));
  EXPECT_NE(recorded().find("https://www.ulmar.example/"), std::string::npos) << recorded();
  // Give a thread that lost its code the time to crash.
  Sleep(500);
}

}  // namespace
