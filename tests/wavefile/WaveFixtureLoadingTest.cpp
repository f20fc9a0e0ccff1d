// Files with the extensible header through the plug-in's own loader: the
// response is their first channel exactly as libsndfile decodes it, and
// the automatic length and gain are those of the same samples under a
// plain header (sox's copy, NAME_plain.wav). The automatic gain measures
// the response with noise from a per-thread generator that each load
// continues, so every load runs on a fresh thread.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "effect/ConvolverEffect.h"
#include "tests/support/TestSupport.h"
#include "tests/wavefile/WaveFixtures.h"

namespace {

std::vector<std::string> gMessages;
void recordMessage(const char* text, const char* /*caption*/) { gMessages.emplace_back(text); }

struct Loaded {
  bool ok = false;
  int lengthTaps = 0;
  float gain = 0.0f;
  float lengthParameter = 0.0f;
  float gainParameter = 0.0f;
  std::vector<float> samples;  // the saved state's samples
};

Loaded loadHere(const std::string& path) {
  ConvolverEffect effect(nullptr);
  effect.setMessageSink(recordMessage);
  Loaded result;
  result.ok = effect.loadImpulseResponse(test_support::nativeName(path));
  result.lengthTaps = effect.engine().lengthTaps();
  result.gain = effect.engine().gain();
  result.lengthParameter = effect.getParameter(2);
  result.gainParameter = effect.getParameter(1);
  void* data = nullptr;
  if (effect.getChunk(&data, true) == kStateChunkSize) {
    const auto* chunk = static_cast<const StateChunk*>(data);
    result.samples.assign(chunk->impulseSamples, chunk->impulseSamples + kChunkSampleCount);
  }
  return result;
}

Loaded load(const std::string& path) {
  Loaded result;
  std::thread thread([&] { result = loadHere(path); });
  thread.join();
  return result;
}

TEST(WaveFixtureLoading, ExtensibleFilesLoadLikeTheirPlainTwins) {
  const std::string dir = wave_fixtures::directory();
  if (dir.empty()) GTEST_SKIP() << "ULMAR_WAVE_FIXTURES is not set; run through ctest";
  const struct {
    const char* name;
    unsigned channels;
    int soundingFrames;  // before the silent tail
  } cases[] = {
      {"sox_ext_pcm24_mono", 1, 1200},
      {"sox_ext_pcm24_6ch", 6, 900},
      {"sox_ext_pcm32_4ch", 4, 1000},
      {"sox_ext_pcm16_3ch", 3, 1500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    gMessages.clear();
    const std::string plainName = std::string(c.name) + "_plain";
    ASSERT_EQ(wave_fixtures::headerTag(wave_fixtures::path(dir, c.name, ".wav")), 0xFFFEu);
    ASSERT_EQ(wave_fixtures::headerTag(wave_fixtures::path(dir, plainName.c_str(), ".wav")), 1u);
    const std::vector<float> reference = wave_fixtures::readReference(wave_fixtures::path(dir, c.name, ".f32"));
    ASSERT_FALSE(reference.empty()) << "missing reference";
    const std::size_t frames = reference.size() / c.channels;

    const Loaded extensible = load(wave_fixtures::path(dir, c.name, ".wav"));
    ASSERT_TRUE(extensible.ok);
    EXPECT_TRUE(gMessages.empty());
    ASSERT_EQ(extensible.samples.size(), static_cast<std::size_t>(kChunkSampleCount));
    for (std::size_t i = 0; i < frames; ++i) {
      ASSERT_EQ(std::memcmp(&extensible.samples[i], &reference[i * c.channels], sizeof(float)), 0)
          << "frame " << i << ": " << extensible.samples[i] << " != " << reference[i * c.channels];
    }
    for (std::size_t i = frames; i < extensible.samples.size(); ++i) ASSERT_EQ(extensible.samples[i], 0.0f) << i;

    // The silent tail is trimmed away: the length follows the signal.
    EXPECT_GE(extensible.lengthTaps, c.soundingFrames - 16);
    EXPECT_LE(extensible.lengthTaps, c.soundingFrames + 32);

    const Loaded plain = load(wave_fixtures::path(dir, plainName.c_str(), ".wav"));
    ASSERT_TRUE(plain.ok);
    EXPECT_EQ(plain.samples, extensible.samples);
    EXPECT_EQ(plain.lengthTaps, extensible.lengthTaps);
    EXPECT_EQ(plain.gain, extensible.gain);
    EXPECT_EQ(plain.lengthParameter, extensible.lengthParameter);
    EXPECT_EQ(plain.gainParameter, extensible.gainParameter);
  }
}

}  // namespace
