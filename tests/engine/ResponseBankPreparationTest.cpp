// Loading a response from a file: the automatic tap count, the automatic
// gain with its exact arithmetic, and what a failed load leaves behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/FirEngine.h"
#include "engine/ParameterMapping.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WaveFiles.h"

namespace {

using test_support::floatWave;
using test_support::noise;
using wavbytes::TempFile;

// Runs `body` on a new thread, whose noise generator starts afresh.
template <typename Body>
void onFreshThread(Body body) {
  std::thread thread(body);
  thread.join();
}

// The automatic gain written out step by step: eleven signals, sums in
// double rounded to float after every step, the generator of a fresh
// thread, g in double, the 0.35 target, the clamp and the mapping.
float modelGain(const std::vector<float>& h, int taps) {
  std::uint32_t state = 1;
  float total = 0.0f;
  const int periods[] = {4, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096, 4096};
  for (int s = 0; s < 11; ++s) {
    const int period = periods[s];
    std::vector<float> w(static_cast<std::size_t>(period));
    if (s < 10) {
      const int q = period / 4;
      for (int i = 0; i < period; ++i) {
        const int quarter = i / q;
        const float rise = static_cast<float>(i % q) / static_cast<float>(q);
        const float up = quarter % 2 == 0 ? rise : 1.0f - rise;
        w[static_cast<std::size_t>(i)] = quarter < 2 ? up : -up;
      }
    } else {
      for (float& v : w) {
        state = state * 214013u + 2531011u;
        const int r = static_cast<int>((state >> 16) & 32767u);
        v = static_cast<float>(2.0 * r / 32767.0 - 1.0);
      }
    }
    float a = 0.0f;
    for (int l = 0; l < taps; ++l) {
      const double hl = l < static_cast<int>(h.size()) ? h[static_cast<std::size_t>(l)] : 0.0;
      a = static_cast<float>(a + hl * w[static_cast<std::size_t>(l % period)]);
    }
    total += std::fabs(a);
  }
  const float average = total / 11.0f;
  const double g = average != 0.0f ? 1.0 / std::fabs(static_cast<double>(average)) : 1.0;
  const float gain = std::clamp(static_cast<float>(g * static_cast<double>(0.35f)), 0.0f, 2.0f);
  return parameter_mapping::gainFromParameter(parameter_mapping::parameterFromGain(gain));
}

TEST(AutomaticLength, CutsOneBlockAfterTheLastLoudBlock) {
  FirEngine engine;
  struct Case {
    int frames;
    int loudAt;  // -1: silent
    float level;
    int taps;
  };
  for (const Case c : {Case{100, 90, 0.5f, 112}, Case{100, 95, 0.5f, 112}, Case{100, 96, 0.5f, 128},
                       Case{100, 79, 0.5f, 96}, Case{100, -1, 0.0f, 16}, Case{100, 50, 0.01f, 16},
                       Case{32768, 32767, 0.02f, 32768}, Case{40000, 39000, 0.5f, 16}, Case{1, 0, 1.0f, 32}}) {
    std::vector<float> h(static_cast<std::size_t>(c.frames), 0.001f);
    if (c.loudAt >= 0) {
      h[static_cast<std::size_t>(c.loudAt)] = -c.level;
    }
    TempFile file(floatWave(h));
    ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(file.path()), 0));
    EXPECT_EQ(engine.lengthTaps(), c.taps) << c.frames << " frames, loud at " << c.loudAt;
    EXPECT_EQ(engine.lengthParameter(), static_cast<float>(c.taps) / 32768.0f);
  }
}

TEST(AutomaticGain, FollowsTheStepsBitForBitOnAFreshThread) {
  for (std::uint32_t seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
    std::vector<float> h = noise(200 + 300 * seed, seed);
    for (std::size_t i = 0; i < h.size(); ++i) {
      h[i] *= std::exp(-static_cast<float>(i) / (50.0f * static_cast<float>(seed)));
    }
    TempFile file(floatWave(h));
    float gain = 0.0f;
    int taps = 0;
    onFreshThread([&] {
      FirEngine engine;
      ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(file.path()), 0));
      gain = engine.gain();
      taps = engine.lengthTaps();
    });
    EXPECT_EQ(gain, modelGain(h, taps)) << "seed " << seed;
  }
}

TEST(AutomaticGain, SilentQuietAndRepeatedResponses) {
  onFreshThread([] {
    FirEngine engine;
    TempFile silent(floatWave(std::vector<float>(300, 0.0f)));
    ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(silent.path()), 0));
    EXPECT_EQ(engine.lengthTaps(), 16);
    EXPECT_FLOAT_EQ(engine.gain(), 0.35f);
    EXPECT_EQ(engine.gain(), parameter_mapping::gainFromParameter(engine.gainParameter()));

    TempFile quiet(floatWave(std::vector<float>(300, 1e-5f)));
    ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(quiet.path()), 0));
    EXPECT_EQ(engine.gain(), 2.0f);

    // The noise signal continues its sequence from one load to the next.
    TempFile loud(floatWave(noise(2000, 77)));
    ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(loud.path()), 0));
    const float first = engine.gain();
    ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(loud.path()), 0));
    EXPECT_NE(engine.gain(), first);
    EXPECT_NEAR(engine.gain(), first, first * 0.05f);
  });
}

TEST(ImpulseFile, UsesTheFirstChannelAndTheFirst32768Frames) {
  FirEngine engine;
  std::vector<float> stereo;
  for (int i = 0; i < 500; ++i) {
    stereo.push_back(0.25f + static_cast<float>(i) * 1e-4f);
    stereo.push_back(-0.5f);
  }
  TempFile stereoFile(floatWave(stereo, 2));
  ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(stereoFile.path()), 0));
  EXPECT_EQ(engine.impulseSamples()[0], 0.25f);
  EXPECT_EQ(engine.impulseSamples()[499], stereo[998]);
  EXPECT_EQ(engine.impulseSamples()[500], 0.0f);
  // A channel beyond the file's falls back to its last channel.
  ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(stereoFile.path()), 7));
  EXPECT_EQ(engine.impulseSamples()[0], -0.5f);

  const std::vector<float> longResponse = noise(40000, 5);
  TempFile longFile(floatWave(longResponse));
  ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(longFile.path()), 0));
  EXPECT_EQ(std::memcmp(engine.impulseSamples(), longResponse.data(), 32768 * sizeof(float)), 0);
  EXPECT_EQ(engine.lengthTaps(), 32768);
}

TEST(ImpulseFile, AFailedLoadChangesNothingAndAnUnreadableDepthGivesSilence) {
  FirEngine engine;
  const std::vector<float> h = noise(300, 9);
  TempFile good(floatWave(h));
  ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(good.path()), 0));
  const int taps = engine.lengthTaps();
  const float gain = engine.gain();

  TempFile text(wavbytes::Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
  EXPECT_FALSE(engine.loadImpulseFile(test_support::nativeName(text.path()), 0));
  EXPECT_FALSE(engine.loadImpulseFile(test_support::nativeName("/no/such/file.wav"), 0));
  EXPECT_FALSE(engine.loadImpulseFile(NativePath(), 0));
  EXPECT_TRUE(engine.isLoaded());
  EXPECT_EQ(engine.lengthTaps(), taps);
  EXPECT_EQ(engine.gain(), gain);
  EXPECT_EQ(std::memcmp(engine.impulseSamples(), h.data(), h.size() * sizeof(float)), 0);

  // 12-bit PCM opens but delivers no frames: a silent, loaded response.
  wavbytes::Bytes twelve =
      wavbytes::riffBytes({{"fmt ", wavbytes::fmt(1, 1, 2, 12)}, {"data", wavbytes::Bytes(200, 0x7F)}});
  TempFile twelveBit(twelve);
  ASSERT_TRUE(engine.loadImpulseFile(test_support::nativeName(twelveBit.path()), 0));
  EXPECT_TRUE(engine.isLoaded());
  EXPECT_EQ(engine.lengthTaps(), 16);
  EXPECT_FLOAT_EQ(engine.gain(), 0.35f);
  EXPECT_EQ(engine.impulseSamples()[0], 0.0f);
}

}  // namespace
