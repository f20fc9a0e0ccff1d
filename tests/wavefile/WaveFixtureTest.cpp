// WaveReader against files written by sox and libsndfile, compared sample
// for sample with libsndfile's own decoding (NAME.f32 beside NAME.wav).
// libsndfile scales integers exactly as the reader does (2^-7 after
// recentring 8-bit data, 2^-15, 2^-31 for 24- and 32-bit data in the top
// bits), copies float data and rounds double data to nearest, so the
// comparison is bit for bit with no tolerance.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "wavefile/WaveReader.h"

namespace {

constexpr int kMaxRequest = 32768;

// The directory comes from ctest as a native path; Wine sees the Linux
// file system as drive Z:.
std::string fixtureDir() {
  const char* dir = std::getenv("ULMAR_WAVE_FIXTURES");
  std::string path = dir != nullptr ? dir : "";
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    path = "Z:" + path;
  }
#endif
  return path;
}

std::vector<float> readReference(const std::string& path) {
  std::vector<float> samples;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return samples;
  unsigned char le[4];
  while (std::fread(le, 1, 4, f) == 4) {
    const std::uint32_t bits = le[0] | le[1] << 8 | le[2] << 16 | static_cast<std::uint32_t>(le[3]) << 24;
    float v;
    std::memcpy(&v, &bits, sizeof v);
    samples.push_back(v);
  }
  std::fclose(f);
  return samples;
}

struct Fixture {
  const char* name;
  unsigned tag, channels, bits;
};

const Fixture kAccepted[] = {
    {"sox_u8_mono", 1, 1, 8},          {"sox_pcm16_stereo", 1, 2, 16},   {"sox_pcm16_6ch", 1, 6, 16},
    {"sox_pcm16_mono_long", 1, 1, 16}, {"sox_pcm24_mono", 1, 1, 24},     {"sox_pcm32_stereo", 1, 2, 32},
    {"sox_float32_6ch", 3, 6, 32},     {"sox_float64_stereo", 3, 2, 64}, {"sf_u8_stereo", 1, 2, 8},
    {"sf_pcm24_6ch", 1, 6, 24},        {"sf_pcm32_mono", 1, 1, 32},      {"sf_float32_mono", 3, 1, 32},
    {"sf_float64_stereo", 3, 2, 64},
};

class WaveFixtures : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fixtureDir();
    if (dir_.empty()) GTEST_SKIP() << "ULMAR_WAVE_FIXTURES is not set; run through ctest";
  }
  std::string path(const char* name, const char* extension) const {
#ifdef _WIN32
    return dir_ + "\\" + name + extension;
#else
    return dir_ + "/" + name + extension;
#endif
  }
  std::string dir_;
};

TEST_F(WaveFixtures, MatchLibsndfileSampleForSample) {
  for (const Fixture& fx : kAccepted) {
    SCOPED_TRACE(fx.name);
    const std::vector<float> reference = readReference(path(fx.name, ".f32"));
    ASSERT_FALSE(reference.empty()) << "missing reference";
    WaveReader reader;
    ASSERT_TRUE(reader.open(path(fx.name, ".wav").c_str()));
    EXPECT_EQ(reader.format().wFormatTag, fx.tag);
    ASSERT_EQ(reader.format().nChannels, fx.channels);
    EXPECT_EQ(reader.format().wBitsPerSample, fx.bits);

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

TEST_F(WaveFixtures, RefuseTheExtensibleFormat) {
  for (const char* name : {"sox_extensible24_stereo", "sf_wavex24_mono"}) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(readReference(path(name, ".f32")).empty()) << "missing fixture";
    WaveReader reader;
    EXPECT_FALSE(reader.open(path(name, ".wav").c_str()));
    EXPECT_EQ(reader.lastRefusal(), WaveReader::Refusal::kUnsupportedTag);
  }
}

}  // namespace
