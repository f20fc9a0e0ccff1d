// WaveReader against files written by sox and libsndfile, compared sample
// for sample with libsndfile's own decoding (NAME.f32 beside NAME.wav).
// libsndfile scales integers exactly as the reader does (2^-7 after
// recentring 8-bit data, 2^-15, 2^-31 for 24- and 32-bit data in the top
// bits), copies float data and rounds double data to nearest, so the
// comparison is bit for bit with no tolerance.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/wavefile/WaveFixtures.h"
#include "wavefile/WaveReader.h"

namespace {

using wave_fixtures::readReference;

constexpr int kMaxRequest = 32768;

struct Fixture {
  const char* name;
  // The tag the samples follow; `extensible` files carry 0xFFFE in their
  // header and name this tag in their sub-format.
  unsigned tag, channels, bits;
  bool extensible = false;
};

const Fixture kAccepted[] = {
    {"sox_u8_mono", 1, 1, 8},
    {"sox_pcm16_stereo", 1, 2, 16},
    {"sox_pcm16_6ch", 1, 6, 16},
    {"sox_pcm16_mono_long", 1, 1, 16},
    {"sox_pcm24_mono", 1, 1, 24},
    {"sox_pcm32_stereo", 1, 2, 32},
    {"sox_float32_6ch", 3, 6, 32},
    {"sox_float64_stereo", 3, 2, 64},
    {"sf_u8_stereo", 1, 2, 8},
    {"sf_pcm24_6ch", 1, 6, 24},
    {"sf_pcm32_mono", 1, 1, 32},
    {"sf_float32_mono", 3, 1, 32},
    {"sf_float64_stereo", 3, 2, 64},
    {"sox_extensible24_stereo", 1, 2, 24, true},
    {"sox_ext_pcm24_mono", 1, 1, 24, true},
    {"sox_ext_pcm24_mono_plain", 1, 1, 24},
    {"sox_ext_pcm24_6ch", 1, 6, 24, true},
    {"sox_ext_pcm24_6ch_plain", 1, 6, 24},
    {"sox_ext_pcm32_4ch", 1, 4, 32, true},
    {"sox_ext_pcm32_4ch_plain", 1, 4, 32},
    {"sox_ext_pcm16_3ch", 1, 3, 16, true},
    {"sox_ext_pcm16_3ch_plain", 1, 3, 16},
    {"sf_wavex24_mono", 1, 1, 24, true},
    {"sf_wavexfloat_4ch", 3, 4, 32, true},
};

class WaveFixtures : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = wave_fixtures::directory();
    if (dir_.empty()) GTEST_SKIP() << "ULMAR_WAVE_FIXTURES is not set; run through ctest";
  }
  std::string path(const char* name, const char* extension) const { return wave_fixtures::path(dir_, name, extension); }
  std::string dir_;
};

TEST_F(WaveFixtures, MatchLibsndfileSampleForSample) {
  for (const Fixture& fx : kAccepted) {
    SCOPED_TRACE(fx.name);
    const std::vector<float> reference = readReference(path(fx.name, ".f32"));
    ASSERT_FALSE(reference.empty()) << "missing reference";
    if (!fx.extensible) {
      EXPECT_EQ(wave_fixtures::headerTag(path(fx.name, ".wav")), fx.tag);
    }
    WaveReader reader;
    ASSERT_TRUE(reader.open(test_support::nativeName(path(fx.name, ".wav")))) << static_cast<int>(reader.lastRefusal());
    EXPECT_EQ(reader.format().wFormatTag, fx.tag);
    ASSERT_EQ(reader.format().nChannels, fx.channels);
    EXPECT_EQ(reader.format().wBitsPerSample, fx.bits);
    // Every writer here fills its containers: no fewer valid bits.
    EXPECT_EQ(reader.validBitsPerSample(), fx.bits);

    // Requests of the loader's size until the data is exhausted.
    std::vector<float> samples;
    std::vector<float> block(static_cast<std::size_t>(kMaxRequest) * fx.channels);
    for (int frames; (frames = reader.readFrames(block.data(), kMaxRequest)) > 0;) {
      ASSERT_LE(frames, kMaxRequest);
      samples.insert(samples.end(), block.begin(), block.begin() + static_cast<long>(frames) * fx.channels);
    }
    ASSERT_EQ(samples.size(), reference.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
      ASSERT_EQ(std::memcmp(&samples[i], &reference[i], sizeof(float)), 0)
          << "sample " << i << ": " << samples[i] << " != " << reference[i];
    }
  }
}

TEST_F(WaveFixtures, ReadTheExtensibleFormatAsItsSubFormat) {
  for (const Fixture& fx : kAccepted) {
    if (!fx.extensible) continue;
    SCOPED_TRACE(fx.name);
    ASSERT_FALSE(readReference(path(fx.name, ".f32")).empty()) << "missing fixture";
    // The writers still write the header these files are here for.
    EXPECT_EQ(wave_fixtures::headerTag(path(fx.name, ".wav")), 0xFFFEu);
    WaveReader reader;
    EXPECT_TRUE(reader.open(test_support::nativeName(path(fx.name, ".wav"))));
    EXPECT_EQ(reader.lastRefusal(), WaveReader::Refusal::kNone);
    EXPECT_EQ(reader.format().wFormatTag, fx.tag);
  }
}

}  // namespace
