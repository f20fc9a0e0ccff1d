// The flush-to-zero mode around a block: which MXCSR bits are set during
// it, and that the host gets its own setting back afterwards.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cstdint>
#include <cstring>

#include "engine/ProcessorDetection.h"
#include "engine/vectorops/FloatingPointMode.h"
#include "engine/vectorops/VectorOpsTiers.h"
#include "tests/support/FakeCpuProbe.h"

namespace {

constexpr unsigned kFtz = 0x8000u;
constexpr unsigned kDaz = 0x0040u;
constexpr unsigned kBoth = kFtz | kDaz;
constexpr unsigned kRoundingBits = 0x6000u;
constexpr unsigned kRoundTowardZero = 0x6000u;

// Every test leaves the thread's MXCSR and the detected flags as it found
// them.
class FlushToZero : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = _mm_getcsr();
    detectCpuFeatures();
  }
  void TearDown() override {
    _mm_setcsr(saved_);
    detectCpuFeatures();
  }
  static bool hostHasSseAndDaz() { return cpuFeatures().hasSse.load() && cpuFeatures().dazSupported.load(); }
  unsigned saved_ = 0;
};

// With both bits clear, either one set or both set by the host: both are set
// during the block, and afterwards the register is exactly as before.
TEST_F(FlushToZero, SetsBothBitsAndHandsBackTheHostsSetting) {
  if (!hostHasSseAndDaz()) {
    GTEST_SKIP() << "this processor lacks SSE or denormals-are-zero";
  }
  for (unsigned host : {0u, kFtz, kDaz, kBoth}) {
    const unsigned before = (saved_ & ~kBoth) | host;
    _mm_setcsr(before);
    {
      FlushToZeroScope scope;
      EXPECT_EQ(_mm_getcsr() & kBoth, kBoth) << "host bits " << host;
      EXPECT_EQ(_mm_getcsr() & ~kBoth, before & ~kBoth) << "host bits " << host;
    }
    EXPECT_EQ(_mm_getcsr(), before) << "host bits " << host;
  }
}

// The bits set are the ones the SSE arithmetic honours: a denormal operand
// reads as zero and a result below the normal range becomes zero.
TEST_F(FlushToZero, DenormalsVanishInsideTheScopeOnly) {
  if (!hostHasSseAndDaz()) {
    GTEST_SKIP() << "this processor lacks SSE or denormals-are-zero";
  }
  _mm_setcsr(saved_ & ~kBoth);
  const float denormal = 1.0e-39f;
  const float smallNormal = 2.0e-38f;
  float inScope[2] = {denormal, smallNormal};
  float outside[2] = {denormal, smallNormal};
  {
    FlushToZeroScope scope;
    vector_ops::sse::scale(inScope, 0.25f, 2);
  }
  vector_ops::sse::scale(outside, 0.25f, 2);
  EXPECT_EQ(inScope[0], 0.0f);
  EXPECT_EQ(inScope[1], 0.0f);
  EXPECT_EQ(outside[0], denormal * 0.25f);
  EXPECT_NE(outside[1], 0.0f);
}

// Whatever else the block changes in the register stays changed: only the
// two mode bits are put back.
TEST_F(FlushToZero, LeavesOtherBitsAlone) {
  if (!cpuFeatures().hasSse.load()) {
    GTEST_SKIP() << "this processor lacks SSE";
  }
  const unsigned before = saved_ & ~(kBoth | kRoundingBits);
  _mm_setcsr(before);
  {
    FlushToZeroScope scope;
    _mm_setcsr((_mm_getcsr() & ~kRoundingBits) | kRoundTowardZero);
  }
  EXPECT_EQ(_mm_getcsr(), before | kRoundTowardZero);
}

// SSE with a zero MXCSR_MASK: only flush-to-zero is touched; the
// denormals-are-zero bit stays as the host has it (when the real processor
// can hold it set at all).
TEST_F(FlushToZero, ZeroMaskSetsOnlyFlushToZero) {
  if (!cpuFeatures().hasSse.load()) {
    GTEST_SKIP() << "this processor lacks SSE";
  }
  const bool canSetDaz = hostHasSseAndDaz();
  auto probe = test_support::FakeCpuProbe::withEdx(kEdxFpu | kEdxFxsr | kEdxSse, 0);
  detectCpuFeatures(probe);
  ASSERT_FALSE(cpuFeatures().dazSupported.load());
  for (unsigned host : {0u, kDaz}) {
    if (host == kDaz && !canSetDaz) {
      continue;
    }
    const unsigned before = (saved_ & ~kBoth) | host;
    _mm_setcsr(before);
    {
      FlushToZeroScope scope;
      EXPECT_EQ(_mm_getcsr() & kBoth, kFtz | host) << "host bits " << host;
    }
    EXPECT_EQ(_mm_getcsr(), before) << "host bits " << host;
  }
}

TEST_F(FlushToZero, WithoutSseNothingChanges) {
  auto probe = test_support::FakeCpuProbe::withEdx(kEdxFpu | kEdxCmov | kEdxFxsr, 0xFFFFu);
  detectCpuFeatures(probe);
  for (unsigned host : {0u, kFtz}) {
    const unsigned before = (saved_ & ~kBoth) | host;
    _mm_setcsr(before);
    EXPECT_EQ(enableFlushToZero(), 0u);
    EXPECT_EQ(_mm_getcsr(), before);
    disableFlushToZero(host ^ kBoth);
    EXPECT_EQ(_mm_getcsr(), before);
  }
}

}  // namespace
