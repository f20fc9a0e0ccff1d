// Process-wide state: the processor flags and the registry of engines.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "engine/FirEngine.h"
#include "engine/ProcessorDetection.h"
#include "tests/support/FakeCpuProbe.h"

namespace {

using test_support::FakeCpuProbe;
using test_support::ScopedProcessor;

TEST(CpuFeatures, DetectionReadsTheFlagsOfTheProcessorItIsShown) {
  {
    ScopedProcessor cpu(FakeCpuProbe::withSseAndDaz());
    EXPECT_TRUE(cpu.detectionResult());
    EXPECT_TRUE(cpuFeatures().hasSse);
    EXPECT_TRUE(cpuFeatures().dazSupported);
  }
  {
    ScopedProcessor cpu(FakeCpuProbe::withSseWithoutDaz());
    EXPECT_TRUE(cpuFeatures().hasSse);
    EXPECT_FALSE(cpuFeatures().dazSupported);
  }
  {
    ScopedProcessor cpu(FakeCpuProbe::fpuAndCmovOnly());
    EXPECT_TRUE(cpu.detectionResult());
    EXPECT_FALSE(cpuFeatures().hasSse);
    EXPECT_TRUE(cpuFeatures().hasCmov);
    EXPECT_FALSE(cpuFeatures().dazSupported);  // no FXSAVE, no mask
  }
  {
    ScopedProcessor cpu(FakeCpuProbe::withoutCpuid());
    EXPECT_FALSE(cpu.detectionResult());
    EXPECT_FALSE(cpuFeatures().cpuidUsable);
    EXPECT_FALSE(cpuFeatures().hasFpu);
    EXPECT_FALSE(cpuFeatures().hasSse);
  }
  {
    // CPUID answers but reports no FPU: not usable.
    FakeCpuProbe probe;
    probe.leaf1.edx = kEdxSse;
    ScopedProcessor cpu(probe);
    EXPECT_FALSE(cpu.detectionResult());
    EXPECT_TRUE(cpuFeatures().hasSse);
  }
}

TEST(CpuFeatures, TheProcessorHereHasSseAndRepeatedDetectionKeepsTheFlags) {
  EXPECT_TRUE(detectCpuFeatures());
  const bool daz = cpuFeatures().dazSupported;
  EXPECT_TRUE(cpuFeatures().hasSse);
  EXPECT_TRUE(cpuFeatures().hasFxsr);
  FirEngine second;
  EXPECT_TRUE(detectCpuFeatures());
  EXPECT_TRUE(cpuFeatures().hasSse);
  EXPECT_EQ(cpuFeatures().dazSupported, daz);
}

TEST(EngineRegistry, RateAndBlockSizeChangesReachEveryEngineOnlyWhenTheyDiffer) {
  struct Counting : FirEngine {
    int rateChanges = 0;
    int sizeChanges = 0;
    void sampleRateChanged() override { ++rateChanges; }
    void blockSizeChanged() override { ++sizeChanges; }
  };
  const int before = RateAwareProcessor::registeredCount();
  {
    auto a = std::make_unique<Counting>();
    auto b = std::make_unique<Counting>();
    EXPECT_EQ(RateAwareProcessor::registeredCount(), before + 2);
    RateAwareProcessor::setGlobalSampleRate(12345.0f);
    RateAwareProcessor::setGlobalSampleRate(12345.0f);
    RateAwareProcessor::setGlobalBlockSize(77);
    RateAwareProcessor::setGlobalBlockSize(77);
    EXPECT_EQ(a->rateChanges, 1);
    EXPECT_EQ(b->rateChanges, 1);
    EXPECT_EQ(a->sizeChanges, 1);
    EXPECT_EQ(RateAwareProcessor::globalSampleRate(), 12345.0f);
    EXPECT_EQ(RateAwareProcessor::globalBlockSize(), 77);
    // A NaN rate never equals the stored one.
    RateAwareProcessor::setGlobalSampleRate(std::nanf(""));
    RateAwareProcessor::setGlobalSampleRate(std::nanf(""));
    EXPECT_EQ(a->rateChanges, 3);
  }
  EXPECT_EQ(RateAwareProcessor::registeredCount(), before);
}

// Hosts create and destroy instances on several threads at once while
// others change the rate; run under ThreadSanitizer this proves the
// registry is guarded.
TEST(EngineRegistry, SurvivesEnginesCreatedAndDestroyedOnManyThreads) {
  const int before = RateAwareProcessor::registeredCount();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 20; ++i) {
        FirEngine engine;
        detectCpuFeatures();
        RateAwareProcessor::setGlobalSampleRate(static_cast<float>(44100 + t * 100 + i));
        RateAwareProcessor::setGlobalBlockSize(64 + i);
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(RateAwareProcessor::registeredCount(), before);
}

}  // namespace
