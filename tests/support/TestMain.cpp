// The main function of every test program. ULMAR_FIR_KERNEL=<tier> runs
// the whole program on that FIR kernel tier.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <cstdio>

#include "engine/ProcessorDetection.h"
#include "engine/kernel/FirKernelTier.h"

#ifdef _WIN32
namespace {

// A crash ends the program with a status of its own and a line naming the
// fault. Without this, Wine starts its debugger and the crashed process
// stays alive, so the test would hang instead of failing.
LONG WINAPI reportCrash(EXCEPTION_POINTERS* exception) {
  std::fprintf(stderr, "crash: exception 0x%08lX at %p\n", exception->ExceptionRecord->ExceptionCode,
               exception->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  SetUnhandledExceptionFilter(reportCrash);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  if (!pinFirKernelTierFromEnvironment()) {
    std::fprintf(stderr, "ULMAR_FIR_KERNEL names no FIR kernel tier this processor has\n");
    return 2;
  }
  FirKernelTier pinned = FirKernelTier::kReference;
  if (pinnedFirKernelTier(pinned)) {
    std::printf("FIR kernel tier: %s, pinned by ULMAR_FIR_KERNEL\n", firKernelTierName(pinned));
  }
  return RUN_ALL_TESTS();
}
