// Every batch kernel tier against the single-sample reference, compared on
// the bits of every output float, and the choice of tier.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/FirEngine.h"
#include "engine/ProcessorDetection.h"
#include "engine/kernel/FirKernelTier.h"
#include "tests/support/FakeCpuProbe.h"

namespace {

using test_support::FakeCpuProbe;
using test_support::ScopedProcessor;

constexpr FirKernelTier kBatchTiers[] = {FirKernelTier::kSse2, FirKernelTier::kAvx2, FirKernelTier::kAvx512};

// Pins a tier and puts back whatever was pinned before (the test program
// may run under a tier pinned from the environment).
class ScopedTier {
 public:
  explicit ScopedTier(FirKernelTier tier) : wasPinned_(pinnedFirKernelTier(previous_)) {
    EXPECT_TRUE(pinFirKernelTier(tier));
  }
  ~ScopedTier() {
    if (wasPinned_) {
      pinFirKernelTier(previous_);
    } else {
      unpinFirKernelTier();
    }
  }
  ScopedTier(const ScopedTier&) = delete;
  ScopedTier& operator=(const ScopedTier&) = delete;

 private:
  FirKernelTier previous_ = FirKernelTier::kReference;
  bool wasPinned_;
};

// Flush-to-zero and denormals-are-zero for one block, as the effect sets
// them; the test's own mode is put back afterwards.
class ScopedFlushToZero {
 public:
  explicit ScopedFlushToZero(bool on) : saved_(_mm_getcsr()) {
    constexpr unsigned kFlushBits = 0x8040;
    _mm_setcsr(on ? (saved_ | kFlushBits) : (saved_ & ~kFlushBits));
  }
  ~ScopedFlushToZero() { _mm_setcsr(saved_); }
  ScopedFlushToZero(const ScopedFlushToZero&) = delete;
  ScopedFlushToZero& operator=(const ScopedFlushToZero&) = delete;

 private:
  unsigned saved_;
};

float fromBits(std::uint32_t bits) {
  float f = 0.0f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

std::uint32_t bitsOf(float f) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

// Mostly noise, with zeros and denormals; `specialEvery` > 0 adds an Inf or
// a NaN (of varying sign and payload) about once per that many samples.
class Signal {
 public:
  Signal(std::uint32_t seed, int specialEvery) : random_(seed), specialEvery_(specialEvery) {}

  float next() {
    const auto pick = random_() % 1000u;
    if (specialEvery_ > 0 && random_() % static_cast<std::uint32_t>(specialEvery_) == 0) {
      switch (random_() % 4u) {
        case 0:
          return std::numeric_limits<float>::infinity();
        case 1:
          return -std::numeric_limits<float>::infinity();
        case 2:
          return fromBits(0x7FC00000u | (word() & 0x003FFFFFu));
        default:
          return fromBits(0xFFC00001u | (word() & 0x003FFFFFu));
      }
    }
    if (pick < 20) {
      return 0.0f;
    }
    if (pick < 40) {
      // A denormal of either sign.
      return fromBits((word() & 0x807FFFFFu) | 1u);
    }
    return std::uniform_real_distribution<float>(-1.0f, 1.0f)(random_);
  }

  std::vector<float> block(int n) {
    std::vector<float> v(static_cast<std::size_t>(n));
    for (float& x : v) {
      x = next();
    }
    return v;
  }

  std::mt19937& random() { return random_; }

 private:
  std::uint32_t word() { return static_cast<std::uint32_t>(random_()); }

  std::mt19937 random_;
  int specialEvery_;
};

struct Scenario {
  int taps;
  bool inPlace;
  bool replacing;
  bool flushToZero;
  int specialEvery;
  std::uint32_t seed;
};

std::string describe(const Scenario& s) {
  return std::to_string(s.taps) + " taps, " + (s.inPlace ? "in place" : "separate buffers") + ", " +
         (s.replacing ? "replacing" : "accumulating") + ", flush-to-zero " + (s.flushToZero ? "on" : "off") +
         (s.specialEvery > 0 ? ", Inf and NaN inputs" : "");
}

void load(FirEngine& engine, const std::vector<float>& response, int taps) {
  engine.setImpulse(response.data(), static_cast<int>(response.size()));
  engine.setLengthTaps(taps);
  engine.setGainParameter(0.8f);
  engine.setMix(0.7f);
  engine.setLoaded(true);
}

// Feeds the same blocks to an engine on the reference kernel and one on
// `tier`, with parameter changes between blocks and a new response half
// way, for more than two turns of the history ring. Answers the number of
// output floats whose bits differ, and describes the first.
int mismatchesAgainstReference(FirKernelTier tier, const Scenario& scenario, std::string& first) {
  Signal signal(scenario.seed, scenario.specialEvery);
  Signal responses(scenario.seed ^ 0x5A5Au, 0);
  FirEngine reference;
  FirEngine candidate;
  const auto response = responses.block(scenario.taps);
  load(reference, response, scenario.taps);
  load(candidate, response, scenario.taps);

  constexpr int kTotal = 2 * 32768 + 5000;
  int mismatches = 0;
  int done = 0;
  bool swapped = false;
  for (int blockIndex = 0; done < kTotal; ++blockIndex) {
    std::mt19937& random = signal.random();
    // Block lengths from 1 to 4096, mostly short and often odd, so that a
    // block starts at every phase.
    const int roll = static_cast<int>(random() % 10u);
    int n = roll < 4   ? 1 + static_cast<int>(random() % 7u)
            : roll < 8 ? 1 + static_cast<int>(random() % 600u)
                       : 1 + static_cast<int>(random() % 4096u);
    n = std::min(n, kTotal - done);

    if (random() % 5u == 0) {
      const float mix = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
      const float gain = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
      const int taps = 16 * (1 + static_cast<int>(random() % static_cast<unsigned>(scenario.taps / 16)));
      for (FirEngine* engine : {&reference, &candidate}) {
        engine->setMix(mix);
        engine->setGainParameter(gain);
        engine->setLengthTaps(taps);
      }
    }
    if (!swapped && done >= kTotal / 2) {
      // Where the inputs carry Inf and NaN, so does the second response:
      // when an input NaN meets a coefficient NaN, the input's must win.
      const auto next = scenario.specialEvery > 0 ? Signal(scenario.seed ^ 0xA5A5u, 8).block(scenario.taps)
                                                  : responses.block(scenario.taps);
      reference.setImpulse(next.data(), scenario.taps);
      candidate.setImpulse(next.data(), scenario.taps);
      swapped = true;
    }

    const auto input = signal.block(n);
    // In place, the buffer the result is added to holds the input itself.
    const auto prior = scenario.replacing ? std::vector<float>(static_cast<std::size_t>(n), 0.0f)
                       : scenario.inPlace ? input
                                          : signal.block(n);
    std::vector<float> expected = prior;
    std::vector<float> actual = prior;
    {
      const ScopedFlushToZero mode(scenario.flushToZero);
      {
        const ScopedTier pin(FirKernelTier::kReference);
        reference.process(input.data(), expected.data(), n, scenario.replacing);
      }
      const ScopedTier pin(tier);
      if (scenario.inPlace) {
        std::copy(input.begin(), input.end(), actual.begin());
        candidate.process(actual.data(), actual.data(), n, scenario.replacing);
      } else {
        candidate.process(input.data(), actual.data(), n, scenario.replacing);
      }
    }
    for (int i = 0; i < n; ++i) {
      const std::uint32_t want = bitsOf(expected[static_cast<std::size_t>(i)]);
      const std::uint32_t got = bitsOf(actual[static_cast<std::size_t>(i)]);
      if (want != got) {
        if (mismatches == 0) {
          char text[160];
          std::snprintf(text, sizeof text, "block %d (length %d), sample %d (%d in all): %08X expected, %08X got",
                        blockIndex, n, i, done + i, static_cast<unsigned>(want), static_cast<unsigned>(got));
          first = text;
        }
        ++mismatches;
      }
    }
    done += n;
  }
  return mismatches;
}

std::vector<Scenario> scenarios() {
  std::vector<int> taps = {16, 32, 48, 64, 80, 1040, 4096, 16384, 32768};
  std::mt19937 random(2026);
  for (int i = 0; i < 3; ++i) {
    taps.push_back(16 * (1 + static_cast<int>(random() % 2048u)));
  }
  std::vector<Scenario> list;
  for (std::size_t i = 0; i < taps.size(); ++i) {
    Scenario s{};
    s.taps = taps[i];
    s.inPlace = (i & 1u) != 0;
    s.replacing = (i & 2u) == 0;
    s.flushToZero = (i & 4u) != 0;
    // An Inf or NaN spoils every output within the tap count after it, so
    // they go to the shorter responses, where most outputs stay finite.
    s.specialEvery = s.taps <= 1040 ? 3000 : 0;
    s.seed = 100u + static_cast<std::uint32_t>(i);
    list.push_back(s);
  }
  // Builds that run under emulation may take only the first scenarios, whose
  // responses are the shorter ones.
#ifdef ULMAR_KERNEL_TIER_SCENARIOS
  list.resize(std::min<std::size_t>(list.size(), ULMAR_KERNEL_TIER_SCENARIOS));
#endif
  return list;
}

class BatchTier : public ::testing::TestWithParam<FirKernelTier> {
 protected:
  void SetUp() override {
    detectCpuFeatures();
    if (!firKernelTierAvailable(GetParam())) {
      GTEST_SKIP() << firKernelTierName(GetParam()) << ": not on this processor";
    }
  }
};

TEST_P(BatchTier, MatchesTheReferenceBitForBit) {
  for (const Scenario& scenario : scenarios()) {
    std::string first;
    EXPECT_EQ(mismatchesAgainstReference(GetParam(), scenario, first), 0) << describe(scenario) << "; first: " << first;
  }
}

// Lanes before the newest sample of a line meet zero coefficients and hold
// the inputs of a whole ring earlier: a NaN there turns 0 x NaN into NaN
// in the reference, a ring later, only on the samples whose phase reaches
// back to it. The batch kernels must see the same values there. (An Inf
// would not do: the history holds inputs clamped to a finite bound.)
TEST_P(BatchTier, InputsARingEarlierReachTheSameLanes) {
  for (int offset = 0; offset < 4; ++offset) {
    FirEngine reference;
    FirEngine candidate;
    std::vector<float> response(16, 0.25f);
    load(reference, response, 16);
    load(candidate, response, 16);
    std::vector<float> input(2 * 32768, 0.5f);
    input[static_cast<std::size_t>(100 + offset)] = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> expected(input.size());
    std::vector<float> actual(input.size());
    for (std::size_t start = 0; start < input.size(); start += 512) {
      {
        const ScopedTier pin(FirKernelTier::kReference);
        reference.process(input.data() + start, expected.data() + start, 512, true);
      }
      const ScopedTier pin(GetParam());
      candidate.process(input.data() + start, actual.data() + start, 512, true);
    }
    int lateNaNs = 0;
    for (std::size_t i = 0; i < input.size(); ++i) {
      ASSERT_EQ(bitsOf(expected[i]), bitsOf(actual[i])) << "NaN at " << 100 + offset << ", sample " << i;
      lateNaNs += (i > 32768 && std::isnan(expected[i])) ? 1 : 0;
    }
    // The NaN reaches 3 - (its own phase) later samples of its line.
    EXPECT_EQ(lateNaNs, 3 - ((32767 - 100 - offset) & 3)) << "NaN at " << 100 + offset;
  }
}

INSTANTIATE_TEST_SUITE_P(Tiers, BatchTier, ::testing::ValuesIn(kBatchTiers),
                         [](const ::testing::TestParamInfo<FirKernelTier>& tier) {
                           return std::string(firKernelTierName(tier.param));
                         });

TEST(FirKernelTier, ReportsTheTierInUse) {
  detectCpuFeatures();
  std::string available;
  for (FirKernelTier tier : kBatchTiers) {
    if (firKernelTierAvailable(tier)) {
      available += std::string(" ") + firKernelTierName(tier);
    }
  }
  std::printf("FIR kernel tier: %s, detected %s (batch tiers on this processor:%s)\n",
              firKernelTierName(activeFirKernelTier()), firKernelTierName(detectedFirKernelTier()),
              available.empty() ? " none" : available.c_str());
  EXPECT_TRUE(firKernelTierAvailable(activeFirKernelTier()));
}

TEST(FirKernelTier, ChoiceFollowsTheProcessorAndTheSystem) {
  const std::uint32_t sse = kEdxFpu | kEdxCmov | kEdxFxsr | kEdxSse;
  const std::uint32_t sse2 = sse | kEdxSse2;
  const std::uint32_t avxEcx = kEcxOsxsave | kEcxAvx;
  const std::uint32_t both = kLeaf7EbxAvx2 | kLeaf7EbxAvx512f;
  struct Case {
    const char* processor;
    std::uint32_t edx;
    CpuProbe::WideVectorSupport wide;
    FirKernelTier expected;
  };
  const Case cases[] = {
      {"SSE only", sse, {7, avxEcx, both, kXcr0Avx512}, FirKernelTier::kReference},
      {"SSE2, no wide registers", sse2, {13, 0, 0, 0}, FirKernelTier::kSse2},
      {"AVX2, system does not save the registers", sse2, {13, kEcxAvx, both, 0}, FirKernelTier::kSse2},
      {"AVX2, XCR0 without AVX state", sse2, {13, avxEcx, both, 0x3}, FirKernelTier::kSse2},
      {"AVX2 bits, but no leaf 7", sse2, {6, avxEcx, both, kXcr0Avx512}, FirKernelTier::kSse2},
      {"AVX2", sse2, {13, avxEcx, kLeaf7EbxAvx2, kXcr0Avx}, FirKernelTier::kAvx2},
      {"AVX-512, system saves only AVX state", sse2, {13, avxEcx, both, kXcr0Avx | 0x1}, FirKernelTier::kAvx2},
      {"AVX-512", sse2, {13, avxEcx, both, kXcr0Avx512 | 0x1}, FirKernelTier::kAvx512},
      {"AVX-512F without AVX2", sse2, {13, avxEcx, kLeaf7EbxAvx512f, kXcr0Avx512}, FirKernelTier::kSse2},
  };
  for (const Case& c : cases) {
    FakeCpuProbe probe = FakeCpuProbe::withEdx(c.edx);
    probe.wide = c.wide;
    const ScopedProcessor cpu(probe);
    EXPECT_EQ(firKernelTierName(detectedFirKernelTier()), std::string(firKernelTierName(c.expected))) << c.processor;
  }
}

TEST(FirKernelTier, PinningAcceptsOnlyWhatTheProcessorHas) {
  FakeCpuProbe probe = FakeCpuProbe::withEdx(kEdxFpu | kEdxSse | kEdxSse2);
  unpinFirKernelTier();
  {
    const ScopedProcessor cpu(probe);
    EXPECT_FALSE(pinFirKernelTier(FirKernelTier::kAvx2));
    EXPECT_EQ(activeFirKernelTier(), FirKernelTier::kSse2);
    EXPECT_TRUE(pinFirKernelTier(FirKernelTier::kReference));
    EXPECT_EQ(activeFirKernelTier(), FirKernelTier::kReference);
    unpinFirKernelTier();
    EXPECT_EQ(activeFirKernelTier(), FirKernelTier::kSse2);
  }
  // The program's own pin, if the environment set one, comes back.
  EXPECT_TRUE(pinFirKernelTierFromEnvironment());
  FirKernelTier tier = FirKernelTier::kReference;
  EXPECT_TRUE(firKernelTierFromName("avx512", tier));
  EXPECT_EQ(tier, FirKernelTier::kAvx512);
  EXPECT_FALSE(firKernelTierFromName("avx", tier));
  EXPECT_FALSE(firKernelTierFromName(nullptr, tier));
}

}  // namespace
