// The engine against the scalar model, bit for bit, and the filter's edge
// cases.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/FirEngine.h"
#include "engine/ProcessorDetection.h"
#include "tests/engine/FirModel.h"
#include "tests/support/FakeCpuProbe.h"
#include "tests/support/TestSupport.h"

namespace {

using test_support::FirModel;
using test_support::noise;

// An engine holding `response` with `taps` taps, gain and mix as given.
void prepare(FirEngine& engine, const std::vector<float>& response, int taps, float gainParameter, float mix) {
  engine.setImpulse(response.data(), static_cast<int>(response.size()));
  engine.setLengthTaps(taps);
  engine.setGainParameter(gainParameter);
  engine.setMix(mix);
  engine.setLoaded(true);
}

class EngineVersusModel : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { detectCpuFeatures(); }
};

// Many blocks of odd sizes, so that every phase occurs at every block start
// and the history ring wraps more than twice.
TEST_P(EngineVersusModel, MatchesBitForBitAcrossBlocksAndRingWraps) {
  const int taps = GetParam();
  const auto response = noise(static_cast<std::size_t>(taps), 7u + static_cast<std::uint32_t>(taps));
  FirEngine engine;
  prepare(engine, response, taps, 0.6f, 0.7f);
  FirModel model(response, taps, engine.gain(), 0.7f);

  const int total = 2 * FirModel::kRing + 3000;
  const auto input = noise(static_cast<std::size_t>(total), 99u);
  std::vector<float> output(static_cast<std::size_t>(total), 0.0f);
  const int blockSizes[] = {1, 7, 64, 333, 1024, 5};
  int position = 0;
  for (int b = 0; position < total; ++b) {
    const int n = std::min(blockSizes[b % 6], total - position);
    engine.process(input.data() + position, output.data() + position, n, true);
    position += n;
  }
  // Outputs are checked where the model is cheap enough: everything for
  // short responses, the last stretch (after the wraps) for long ones.
  const int checkedFrom = taps <= 256 ? 0 : total - 600;
  for (int i = 0; i < total; ++i) {
    if (i < checkedFrom) {
      model.skip(input[static_cast<std::size_t>(i)]);
      continue;
    }
    const float expected = model.next(input[static_cast<std::size_t>(i)]);
    ASSERT_EQ(std::memcmp(&expected, &output[static_cast<std::size_t>(i)], sizeof(float)), 0)
        << "sample " << i << ": " << expected << " vs " << output[static_cast<std::size_t>(i)];
  }
}

// Builds that run under emulation take only the first of these (shortest)
// tap counts.
#ifndef ULMAR_ENGINE_MODEL_TAP_COUNTS
#define ULMAR_ENGINE_MODEL_TAP_COUNTS 6
#endif
constexpr int kTapCounts[] = {16, 32, 48, 256, 4096, 32768};
static_assert(ULMAR_ENGINE_MODEL_TAP_COUNTS >= 1 && ULMAR_ENGINE_MODEL_TAP_COUNTS <= 6);
INSTANTIATE_TEST_SUITE_P(TapCounts, EngineVersusModel,
                         ::testing::ValuesIn(kTapCounts, kTapCounts + ULMAR_ENGINE_MODEL_TAP_COUNTS));

TEST(FirEngine, AccumulatingAddsToTheBufferAndInPlaceEqualsSeparateBuffers) {
  detectCpuFeatures();
  const auto response = noise(100, 3);
  const auto input = noise(5000, 4);
  const auto existing = noise(5000, 5);

  FirEngine separate;
  FirEngine inPlace;
  FirEngine accumulating;
  for (FirEngine* e : {&separate, &inPlace, &accumulating}) {
    prepare(*e, response, 112, 0.8f, 0.4f);
  }
  std::vector<float> out(5000, 0.0f);
  separate.process(input.data(), out.data(), 5000, true);
  std::vector<float> buffer = input;
  inPlace.process(buffer.data(), buffer.data(), 5000, true);
  EXPECT_EQ(std::memcmp(buffer.data(), out.data(), out.size() * sizeof(float)), 0);

  std::vector<float> sum = existing;
  accumulating.process(input.data(), sum.data(), 5000, false);
  for (std::size_t i = 0; i < sum.size(); ++i) {
    ASSERT_EQ(sum[i], existing[i] + out[i]) << i;
  }
}

TEST(FirEngine, UnitImpulsesShowWhichTapsEachPhaseUses) {
  detectCpuFeatures();
  const auto input = noise(64, 11);
  // Full wet at gain 0.5 (exact in binary): tap 0 with 16 taps gives the
  // input itself, halved, in every phase.
  {
    std::vector<float> h(16, 0.0f);
    h[0] = 1.0f;
    FirEngine engine;
    prepare(engine, h, 16, 0.5f, 1.0f);
    std::vector<float> out(64);
    engine.process(input.data(), out.data(), 64, true);
    for (int i = 0; i < 64; ++i) {
      EXPECT_EQ(out[static_cast<std::size_t>(i)], input[static_cast<std::size_t>(i)] * 0.5f) << "sample " << i;
    }
  }
  // Tap L-1 contributes only when the write position is a multiple of 4.
  {
    std::vector<float> h(16, 0.0f);
    h[15] = 1.0f;
    FirEngine engine;
    prepare(engine, h, 16, 0.5f, 1.0f);
    std::vector<float> out(64);
    engine.process(input.data(), out.data(), 64, true);
    for (int i = 0; i < 64; ++i) {
      const int w = (FirModel::kRing - 1 - i) % FirModel::kRing;  // descends from 32767
      const float expected = (w % 4 == 0 && i >= 15) ? input[static_cast<std::size_t>(i - 15)] * 0.5f : 0.0f;
      EXPECT_EQ(out[static_cast<std::size_t>(i)], expected) << "sample " << i;
    }
  }
}

TEST(FirEngine, LeavesTheOutputUntouchedWhenItCannotFilter) {
  detectCpuFeatures();
  const auto input = noise(256, 1);
  const auto response = noise(64, 2);
  const float marker = 12345.0f;
  auto untouched = [&](FirEngine& engine, int n) {
    std::vector<float> out(256, marker);
    engine.process(input.data(), out.data(), n, true);
    engine.process(input.data(), out.data(), n, false);
    for (float v : out) {
      if (v != marker) {
        return false;
      }
    }
    return true;
  };

  FirEngine noResponse;
  noResponse.setLengthParameter(0.5f);
  EXPECT_TRUE(untouched(noResponse, 256));

  FirEngine shortLength;
  prepare(shortLength, response, 64, 0.5f, 0.5f);
  shortLength.setLengthParameter(1.0f / 4096.0f);  // below 1/2048: no taps
  EXPECT_EQ(shortLength.lengthTaps(), 0);
  EXPECT_TRUE(untouched(shortLength, 256));

  FirEngine emptyBlock;
  prepare(emptyBlock, response, 64, 0.5f, 0.5f);
  EXPECT_TRUE(untouched(emptyBlock, 0));
  EXPECT_TRUE(untouched(emptyBlock, -5));

  FirEngine noSse;
  prepare(noSse, response, 64, 0.5f, 0.5f);
  {
    test_support::ScopedProcessor cpu(test_support::FakeCpuProbe::fpuAndCmovOnly());
    EXPECT_TRUE(untouched(noSse, 256));
  }
  EXPECT_FALSE(untouched(noSse, 256));
}

TEST(FirEngine, HistoryDoesNotAdvanceWhileNothingIsFiltered) {
  detectCpuFeatures();
  const auto response = noise(32, 8);
  const auto first = noise(100, 9);
  const auto ignored = noise(100, 10);
  const auto second = noise(100, 11);

  FirEngine engine;
  prepare(engine, response, 32, 0.7f, 0.5f);
  FirEngine reference;
  prepare(reference, response, 32, 0.7f, 0.5f);
  std::vector<float> out(100);
  std::vector<float> expected(100);
  engine.process(first.data(), out.data(), 100, true);
  reference.process(first.data(), expected.data(), 100, true);

  engine.setLoaded(false);
  engine.process(ignored.data(), out.data(), 100, true);
  engine.setLoaded(true);

  engine.process(second.data(), out.data(), 100, true);
  reference.process(second.data(), expected.data(), 100, true);
  EXPECT_EQ(out, expected);
}

TEST(FirEngine, ParameterMappings) {
  FirEngine engine;
  engine.setGainParameter(0.5f);
  EXPECT_EQ(engine.gain(), 0.5f);
  EXPECT_NEAR(engine.gainDecibels(), -6.0206f, 1e-4f);
  engine.setGainParameter(1.0f);
  EXPECT_EQ(engine.gain(), 2.0f);
  engine.setGainParameter(7.0f);
  EXPECT_EQ(engine.gain(), 2.0f);
  engine.setGainParameter(0.0f);
  EXPECT_EQ(engine.gain(), 0.0f);
  EXPECT_TRUE(std::isinf(engine.gainDecibels()) && engine.gainDecibels() < 0.0f);
  engine.setGainParameter(std::nanf(""));
  EXPECT_EQ(engine.gain(), 0.0f);
  // Unity lies at about 0.7071, within single precision only.
  engine.setGainParameter(std::sqrt(0.5f));
  EXPECT_FLOAT_EQ(engine.gain(), 1.0f);
  EXPECT_FLOAT_EQ(engine.gainParameter(), std::sqrt(0.5f));

  engine.setLengthParameter(0.5f);
  EXPECT_EQ(engine.lengthTaps(), 16384);
  engine.setLengthParameter(1.0f);
  EXPECT_EQ(engine.lengthTaps(), 32768);
  engine.setLengthParameter(1.0f / 2048.0f);
  EXPECT_EQ(engine.lengthTaps(), 16);
  engine.setLengthParameter(0.9999f / 2048.0f);
  EXPECT_EQ(engine.lengthTaps(), 0);
  engine.setLengthParameter(-3.0f);
  EXPECT_EQ(engine.lengthTaps(), 0);
  engine.setLengthParameter(std::nanf(""));
  EXPECT_EQ(engine.lengthTaps(), 0);

  // A tap count set directly is kept as its fraction, the one source of the
  // length: sending that fraction back keeps it, and a count between steps
  // of 16 reads back as the step below it.
  engine.setLengthTaps(112);
  EXPECT_EQ(engine.lengthTaps(), 112);
  EXPECT_EQ(engine.lengthParameter(), 112.0f / 32768.0f);
  engine.setLengthParameter(engine.lengthParameter());
  EXPECT_EQ(engine.lengthTaps(), 112);
  engine.setLengthTaps(100);
  EXPECT_EQ(engine.lengthTaps(), 96);
  engine.setLengthTaps(40000);
  EXPECT_EQ(engine.lengthTaps(), 32768);

  engine.setMix(1.5f);
  EXPECT_EQ(engine.mix(), 1.5f);
}

}  // namespace

namespace {

// A hand-over copies the active bank's settings into the spare bank while a
// parameter may be changing on another thread: once the setter returns, the
// engine holds its value, whatever hand-overs came in between.
TEST(FirEngine, SettingsSurviveConcurrentHandOvers) {
  FirEngine engine;
  std::atomic<bool> done{false};
  std::atomic<int> handOvers{0};
  std::thread writer([&] {
    while (!done.load()) {
      engine.setLoaded(true);
      ++handOvers;
    }
  });
  int lost = 0;
  // Until thousands of hand-overs have overlapped the changes.
  for (int i = 1; i <= 20000000 && handOvers.load() < 20000; ++i) {
    const float value = static_cast<float>(i);
    engine.setMix(value);
    // The stored value: the setting is clamped to the mix bound.
    if (engine.parameter(parameter_mapping::kMixIndex) != value) {
      ++lost;
    }
  }
  done = true;
  writer.join();
  EXPECT_EQ(lost, 0);
}

}  // namespace
