// Audio callbacks and the state block of the built plug-in, through its
// exported entry point and record only.
#include <xmmintrin.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "effect/StateChunk.h"
#include "tests/plugin/PluginFixture.h"

namespace {

using test_support::noise;

constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x40;

class PluginAudio : public PluginFixture {
 protected:
  // Restores a state holding `response` and the five parameters.
  void restore(const std::vector<float>& response, std::vector<float> params, unsigned char loaded = 1) {
    StateChunk chunk{};
    std::strcpy(chunk.impulsePath, "/tmp/response.wav");
    std::memcpy(chunk.parameterValues, params.data(), sizeof(chunk.parameterValues));
    std::memcpy(chunk.impulseSamples, response.data(), response.size() * sizeof(float));
    chunk.impulseLoaded = loaded;
    ASSERT_EQ(dispatch(effSetChunk, 1, kStateChunkSize, &chunk), kStateChunkSize);
  }

  std::vector<unsigned char> save(VstInt32 index) {
    void* data = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, index, 0, &data);
    EXPECT_EQ(size, kStateChunkSize);
    EXPECT_NE(data, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
  }

  std::vector<float> run(const std::vector<float>& in) {
    std::vector<float> input = in;
    std::vector<float> out(in.size(), 0.0f);
    processReplacing(input.data(), out.data(), static_cast<VstInt32>(in.size()));
    return out;
  }

  const std::vector<float> response_ = noise(300, 21);
  const std::vector<float> input_ = noise(512, 22);
};

TEST_F(PluginAudio, BypassCopiesTheInputWithSeparateOrSharedBuffers) {
  restore(response_, {0.5f, 0.5f, 0.5f, 1.0f, 0.0f});
  EXPECT_EQ(run(input_), input_);
  std::vector<float> shared = input_;
  processReplacing(shared.data(), shared.data(), static_cast<VstInt32>(shared.size()));
  EXPECT_EQ(shared, input_);
  // The accumulating callback adds nothing while bypassed.
  std::vector<float> existing = noise(512, 23);
  std::vector<float> sum = existing;
  std::vector<float> in = input_;
  processAccumulating(in.data(), sum.data(), 512);
  EXPECT_EQ(sum, existing);
}

TEST_F(PluginAudio, WithoutAResponseTheOutputBufferIsLeftAsItWas) {
  std::vector<float> in = input_;
  std::vector<float> out(512, 777.0f);
  processReplacing(in.data(), out.data(), 512);
  EXPECT_EQ(out, std::vector<float>(512, 777.0f));
  processAccumulating(in.data(), out.data(), 512);
  EXPECT_EQ(out, std::vector<float>(512, 777.0f));
  // A state whose samples are present but whose flag says none: still nothing.
  restore(response_, {0.5f, 0.5f, 0.5f, 0.0f, 0.0f}, 0);
  processReplacing(in.data(), out.data(), 512);
  EXPECT_EQ(out, std::vector<float>(512, 777.0f));
}

TEST_F(PluginAudio, AccumulatingAddsWhatReplacingWrites) {
  restore(response_, {0.7f, 0.6f, 0.5f, 0.0f, 0.0f});
  const std::vector<float> replaced = run(input_);

  AEffect* second = library_->entry()(test_support::recordingHost);
  ASSERT_NE(second, nullptr);
  std::swap(effect_, second);
  restore(response_, {0.7f, 0.6f, 0.5f, 0.0f, 0.0f});
  std::vector<float> existing = noise(512, 24);
  std::vector<float> sum = existing;
  std::vector<float> in = input_;
  processAccumulating(in.data(), sum.data(), 512);
  std::swap(effect_, second);
  second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f);
  for (std::size_t i = 0; i < sum.size(); ++i) {
    ASSERT_EQ(sum[i], existing[i] + replaced[i]) << i;
  }
}

TEST_F(PluginAudio, GainChangesStepExactlyAtTheBlockBoundary) {
  // Mix 0 leaves only the dry path, scaled by the gain (2.0, then 0.5).
  restore(response_, {0.0f, 1.0f, 0.5f, 0.0f, 0.0f});
  const std::vector<float> doubled = run(input_);
  setParameter(1, 0.5f);
  const std::vector<float> halved = run(input_);
  for (std::size_t i = 0; i < input_.size(); ++i) {
    ASSERT_EQ(doubled[i], input_[i] * 2.0f) << i;
    ASSERT_EQ(halved[i], input_[i] * 0.5f) << i;
  }
}

TEST_F(PluginAudio, AfterBypassTheFilterContinuesFromTheEarlierHistory) {
  const std::vector<float> params = {0.8f, 0.6f, 0.5f, 0.0f, 0.0f};
  restore(response_, params);
  run(input_);
  setParameter(3, 1.0f);
  run(noise(512, 25));
  setParameter(3, 0.0f);
  const std::vector<float> resumed = run(noise(512, 26));

  AEffect* reference = library_->entry()(test_support::recordingHost);
  std::swap(effect_, reference);
  restore(response_, params);
  run(input_);
  const std::vector<float> expected = run(noise(512, 26));
  std::swap(effect_, reference);
  reference->dispatcher(reference, effClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(resumed, expected);
}

TEST_F(PluginAudio, TheHostsFloatingPointModeSurvivesEveryCallback) {
  restore(response_, {0.5f, 0.5f, 0.5f, 0.0f, 0.0f});
  const unsigned original = _mm_getcsr();
  for (unsigned hostBits : {0u, kFlushToZero | kDenormalsAreZero, kFlushToZero}) {
    _mm_setcsr((original & ~(kFlushToZero | kDenormalsAreZero)) | hostBits);
    run(input_);
    EXPECT_EQ(_mm_getcsr() & (kFlushToZero | kDenormalsAreZero), hostBits);
    setParameter(3, 1.0f);
    run(input_);
    EXPECT_EQ(_mm_getcsr() & (kFlushToZero | kDenormalsAreZero), hostBits);
    setParameter(3, 0.0f);
  }
  _mm_setcsr(original);
}

using PluginState = PluginAudio;

TEST_F(PluginState, ProgramAndBankChunksAreTheSameBlock) {
  restore(response_, {0.1f, 0.2f, 0.3f, 0.0f, 1.0f});
  EXPECT_EQ(save(0), save(1));
}

TEST_F(PluginState, SizeDecidesWhetherABlockIsAccepted) {
  std::vector<unsigned char> block(200000, 0);
  StateChunk chunk{};
  std::strcpy(chunk.impulsePath, "long.wav");
  chunk.parameterValues[0] = 0.9f;
  std::memcpy(block.data(), &chunk, sizeof(chunk));
  EXPECT_EQ(dispatch(effSetChunk, 0, kStateChunkSize - 1, block.data()), 0);
  EXPECT_EQ(getParameter(0), 0.5f);
  EXPECT_EQ(dispatch(effSetChunk, 0, 200000, block.data()), kStateChunkSize);
  EXPECT_EQ(getParameter(0), 0.9f);
}

TEST_F(PluginState, SaveThenRestoreReproducesEverythingBitForBit) {
  const std::vector<float> params = {0.33f, 0.77f, 0.123f, 0.0f, 1.0f};
  restore(response_, params);
  const std::vector<unsigned char> saved = save(1);
  const std::vector<float> before = run(input_);

  AEffect* other = library_->entry()(test_support::recordingHost);
  std::swap(effect_, other);
  ASSERT_EQ(dispatch(effSetChunk, 0, kStateChunkSize, const_cast<unsigned char*>(saved.data())), kStateChunkSize);
  const std::vector<unsigned char> again = save(0);
  // The first block after the restore already filters with the new state.
  const std::vector<float> after = run(input_);
  std::swap(effect_, other);
  other->dispatcher(other, effClose, 0, 0, nullptr, 0.0f);

  EXPECT_EQ(std::memcmp(again.data(), saved.data(), kStateChunkSize - 3), 0);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(getParameter(i), params[static_cast<std::size_t>(i)]);
  }
  EXPECT_EQ(after, before);
}

TEST_F(PluginState, ARestoredBypassIsHeard) {
  restore(response_, {0.5f, 0.5f, 0.5f, 1.0f, 0.0f});
  EXPECT_EQ(getParameter(3), 1.0f);
  EXPECT_EQ(text(effGetParamDisplay, 3), "on");
  EXPECT_EQ(run(input_), input_);
}

}  // namespace
