// State restores while audio runs: every block is computed entirely from
// the old state or entirely from the new one, the first block after a
// restore already uses it, and the audio thread never allocates.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/effect/StressHarness.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace test_support;

struct StateSpec {
  std::vector<float> response;
  float mix;
  float gain;
  float length;
  float bypass;
};

std::vector<unsigned char> makeChunk(const StateSpec& spec) {
  StateChunk chunk{};
  std::strcpy(chunk.impulsePath, "stress.wav");
  const float params[] = {spec.mix, spec.gain, spec.length, spec.bypass, 0.0f};
  std::memcpy(chunk.parameterValues, params, sizeof(params));
  std::memcpy(chunk.impulseSamples, spec.response.data(), spec.response.size() * sizeof(float));
  chunk.impulseLoaded = 1;
  std::vector<unsigned char> bytes(sizeof(chunk));
  std::memcpy(bytes.data(), &chunk, sizeof(chunk));
  return bytes;
}

class StateRestore : public ::testing::Test {
 protected:
  void SetUp() override {
    input_ = noise(kStressBlock, 42);
    // Different responses, tap counts, gains, mixes, and one bypassed.
    specs_ = {{noise(2000, 1), 0.6f, 0.55f, 2048.0f / 32768.0f, 0.0f},
              {noise(3000, 2), 0.9f, 0.8f, 1024.0f / 32768.0f, 0.0f},
              {noise(600, 3), 0.3f, 0.7f, 256.0f / 32768.0f, 1.0f}};
    for (const auto& spec : specs_) {
      chunks_.push_back(makeChunk(spec));
    }
    for (auto& chunk : chunks_) {
      expected_.push_back(steadyOutput(input_, [&](ConvolverEffect& e) {
        ASSERT_EQ(e.setChunk(chunk.data(), kStateChunkSize, false), kStateChunkSize);
      }));
    }
    ASSERT_EQ(expected_[2], input_);  // the bypassed state copies the input
    ASSERT_NE(expected_[0], expected_[1]);
  }

  std::vector<float> input_;
  std::vector<StateSpec> specs_;
  std::vector<std::vector<unsigned char>> chunks_;
  std::vector<std::vector<float>> expected_;
};

TEST_F(StateRestore, TheFirstBlockAfterARestoreUsesTheNewState) {
  ConvolverEffect effect(nullptr);
  effect.setChunk(chunks_[0].data(), kStateChunkSize, false);
  std::vector<float> output(kStressBlock);
  runBlocks(effect, input_, output, kWarmupBlocks);
  for (int s : {1, 0, 2, 1, 2, 0}) {
    ASSERT_EQ(effect.setChunk(chunks_[static_cast<std::size_t>(s)].data(), kStateChunkSize, false), kStateChunkSize);
    runBlocks(effect, input_, output, 1);
    EXPECT_EQ(output, expected_[static_cast<std::size_t>(s)]) << "state " << s;
  }
}

TEST_F(StateRestore, ConcurrentRestoresNeverMixStates) {
  ConvolverEffect effect(nullptr);
  effect.setChunk(chunks_[0].data(), kStateChunkSize, false);
  const StressResult result = runStress(effect, input_, 3, matchAny(expected_), 2000, [&](int i) {
    // Mostly filtering states; the bypassed one every fifth change.
    const int order[] = {1, 0, 1, 2, 0};
    effect.setChunk(chunks_[static_cast<std::size_t>(order[i % 5])].data(), kStateChunkSize, i % 2 == 0);
  });
  std::printf("%ld blocks: %ld, %ld, %ld per state\n", result.blocks, result.blocksPerState[0],
              result.blocksPerState[1], result.blocksPerState[2]);
  EXPECT_EQ(result.mismatches, 0) << "of " << result.blocks << " blocks";
  EXPECT_EQ(result.allocationsOnAudioThread, 0);
  EXPECT_GT(result.blocks, 100);
  for (std::size_t s = 0; s < expected_.size(); ++s) {
    EXPECT_GT(result.blocksPerState[s], 0) << "state " << s << " never heard";
  }
}

TEST_F(StateRestore, ParameterChangesFromTheAudioThreadDoNotAllocate) {
  ConvolverEffect effect(nullptr);
  effect.setChunk(chunks_[0].data(), kStateChunkSize, false);
  std::vector<float> output(kStressBlock);
  const AllocationCounter counter;
  for (int i = 0; i < 50; ++i) {
    effect.setParameter(i % 5, static_cast<float>(i % 7) / 7.0f);
    runBlocks(effect, input_, output, 1);
  }
  EXPECT_EQ(counter.count(), 0);
}

}  // namespace
