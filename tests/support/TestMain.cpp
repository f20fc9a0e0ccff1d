// The main function of every test program. ULMAR_FIR_KERNEL=<tier> runs
// the whole program on that FIR kernel tier.
#include <gtest/gtest.h>

#include <cstdio>

#include "engine/ProcessorDetection.h"
#include "engine/kernel/FirKernelTier.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!pinFirKernelTierFromEnvironment()) {
    std::fprintf(stderr, "ULMAR_FIR_KERNEL names no FIR kernel tier this processor has\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
