// Loading a response through the effect: what the user is told, what is
// remembered, and loads while audio runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "desktop/PathText.h"
#include "tests/effect/StressHarness.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WaveFiles.h"

namespace {

using namespace test_support;
using wavbytes::TempFile;

std::vector<std::string> gMessages;
void recordMessage(const char* text, const char* caption) { gMessages.push_back(std::string(caption) + "|" + text); }

// Writes a file by its native name, with the folders it needs.
void writeNamed(const std::filesystem::path& file, const wavbytes::Bytes& bytes) {
  std::filesystem::create_directories(file.parent_path());
#ifdef _WIN32
  std::FILE* out = _wfopen(file.c_str(), L"wb");
#else
  std::FILE* out = std::fopen(file.c_str(), "wb");
#endif
  ASSERT_NE(out, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
}

class ImpulseLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    gMessages.clear();
    recordedHostCalls().clear();
    effect_.setMessageSink(recordMessage);
  }
  ConvolverEffect effect_{recordingHost};
};

TEST_F(ImpulseLoading, ASuccessfulLoadRemembersThePathAndSetsLengthAndGainQuietly) {
  std::vector<float> h(100, 0.0f);
  h[90] = 0.8f;
  TempFile file(floatWave(h));
  ASSERT_TRUE(effect_.loadImpulseResponse(nativeName(file.path())));
  EXPECT_STREQ(effect_.impulsePath().c_str(), file.path());
  EXPECT_EQ(effect_.engine().lengthTaps(), 112);
  EXPECT_EQ(effect_.getParameter(2), 112.0f / 32768.0f);
  EXPECT_EQ(effect_.getParameter(1), effect_.engine().gainParameter());
  EXPECT_TRUE(effect_.engine().isLoaded());
  EXPECT_TRUE(gMessages.empty());
  // The host learns the new values only when it asks: no automation call.
  EXPECT_TRUE(recordedHostCalls().empty());

  // The saved state carries the path, the samples and the automatic values.
  void* data = nullptr;
  ASSERT_EQ(effect_.getChunk(&data, true), kStateChunkSize);
  const auto* chunk = static_cast<const StateChunk*>(data);
  EXPECT_STREQ(chunk->impulsePath, file.path());
  EXPECT_EQ(chunk->impulseSamples[90], 0.8f);
  EXPECT_EQ(chunk->impulseLoaded, 1);
  for (std::size_t i = std::strlen(chunk->impulsePath); i < kImpulsePathSize; ++i) {
    ASSERT_EQ(chunk->impulsePath[i], '\0');
  }
}

TEST_F(ImpulseLoading, AFileThatCannotBeOpenedIsReportedAndChangesNothing) {
  TempFile good(floatWave(noise(500, 3)));
  ASSERT_TRUE(effect_.loadImpulseResponse(nativeName(good.path())));
  const float params[] = {effect_.getParameter(1), effect_.getParameter(2)};

  TempFile text(wavbytes::Bytes{'h', 'e', 'l', 'l', 'o'});
  EXPECT_FALSE(effect_.loadImpulseResponse(nativeName(text.path())));
  ASSERT_EQ(gMessages.size(), 1u);
  EXPECT_EQ(gMessages[0], std::string("Ulmar|Cannot open file: ") + text.path());
  EXPECT_STREQ(effect_.impulsePath().c_str(), good.path());
  EXPECT_EQ(effect_.getParameter(1), params[0]);
  EXPECT_EQ(effect_.getParameter(2), params[1]);

  EXPECT_FALSE(effect_.loadImpulseResponse(nativeName("/no/such/dir/response.wav")));
  EXPECT_EQ(gMessages.back(), "Ulmar|Cannot open file: /no/such/dir/response.wav");
}

// The file the caller names is the file read, whatever the name: a folder
// outside the ANSI code page (with a different response at the name that
// code page's best fit makes of it, as an ANSI dialog would have returned),
// a path beyond MAX_PATH, and "+" after "." (which the multimedia layer
// reads as an element of a compound file when it parses a name). The state
// keeps the name as code-page text, cut to its field.
TEST(ImpulseLoadingNames, EachNameOpensTheFileItNames) {
  TempDir dir;
  const std::filesystem::path base(nativeName(dir.path()));
  std::filesystem::path deep = base;
  while (deep.native().size() < 300) deep /= "a deep sample library folder";
  const std::filesystem::path files[] = {
      base / nativeName("\u0141\u00f3d\u017a") / "ir.wav",
      base / nativeName("\u6771\u4eac Hall") / "ir.wav",
      deep / "ir.wav",
      base / "j.doe" / "IRs+1" / "L+R.wav",
  };
  const std::vector<float> chosen = noise(300, 11);
  for (const auto& file : files) writeNamed(file, floatWave(chosen));
#ifdef _WIN32
  const std::filesystem::path lookAlike(::nativePath(pathText(files[0].native())));
  ASSERT_NE(lookAlike, files[0]);
  writeNamed(lookAlike, floatWave(noise(200, 12)));
#endif

  for (const auto& file : files) {
    SCOPED_TRACE(pathText(file.native()));
    gMessages.clear();
    ConvolverEffect effect(nullptr);
    effect.setMessageSink(recordMessage);
    ASSERT_TRUE(effect.loadImpulseResponse(file.native()));
    EXPECT_TRUE(gMessages.empty());
    void* data = nullptr;
    ASSERT_EQ(effect.getChunk(&data, false), kStateChunkSize);
    const auto* chunk = static_cast<const StateChunk*>(data);
    EXPECT_TRUE(std::equal(chosen.begin(), chosen.end(), chunk->impulseSamples));
    EXPECT_EQ(chunk->impulsePath, pathText(file.native()).substr(0, kImpulsePathSize - 1));
  }
}

TEST_F(ImpulseLoading, AnUnreadableDepthGivesASilentResponseUnderTheNewName) {
  TempFile twelveBit(wavbytes::riffBytes({{"fmt ", wavbytes::fmt(1, 1, 2, 12)}, {"data", wavbytes::Bytes(64, 1)}}));
  ASSERT_TRUE(effect_.loadImpulseResponse(nativeName(twelveBit.path())));
  EXPECT_TRUE(gMessages.empty());
  EXPECT_STREQ(effect_.impulsePath().c_str(), twelveBit.path());
  EXPECT_EQ(effect_.engine().lengthTaps(), 16);
  EXPECT_FLOAT_EQ(effect_.engine().gain(), 0.35f);
}

// One thread loads two files in turn while another processes without
// pause. The automatic gain differs slightly from load to load (the noise
// signal continues), so the gains of the whole sequence are found first by
// the same loads on another fresh thread; with mix 1 each block must then
// equal one response's filtered block scaled by one of those gains.
TEST(ImpulseLoadingStress, LoadsWhileAudioRunsNeverMixResponses) {
  const std::vector<float> input = noise(kStressBlock, 42);
  std::vector<float> a = noise(1500, 1);
  std::vector<float> b = noise(700, 2);
  TempFile fileA(floatWave(a));
  TempFile fileB(floatWave(b));
  const NativePath files[] = {nativeName(fileA.path()), nativeName(fileB.path())};
  constexpr int kLoads = 600;

  std::vector<float> gains(kLoads);
  std::thread dryRun([&] {
    ConvolverEffect effect(nullptr);
    for (int i = 0; i < kLoads; ++i) {
      ASSERT_TRUE(effect.loadImpulseResponse(files[(i + 1) % 2]));
      gains[static_cast<std::size_t>(i)] = effect.engine().gain();
    }
  });
  dryRun.join();

  // Each response's filtered block at gain 0.5 (exact to undo).
  std::vector<std::vector<float>> filtered;
  for (const NativePath& path : files) {
    std::vector<float> block = steadyOutput(input, [&](ConvolverEffect& e) {
      ASSERT_TRUE(e.loadImpulseResponse(path));
      e.setParameter(0, 1.0f);
      e.setParameter(1, 0.5f);
    });
    for (float& v : block) {
      v *= 2.0f;
    }
    filtered.push_back(block);
  }
  auto scaled = [&](int response, float gain) {
    const float wet = static_cast<float>(1.0 * static_cast<double>(gain));
    const float dry = static_cast<float>((1.0 - 1.0) * static_cast<double>(gain));
    std::vector<float> out(kStressBlock);
    for (int i = 0; i < kStressBlock; ++i) {
      out[static_cast<std::size_t>(i)] =
          (filtered[static_cast<std::size_t>(response)][static_cast<std::size_t>(i)] * wet) +
          (input[static_cast<std::size_t>(i)] * dry);
    }
    return out;
  };
  // A 64-bit FNV-1a hash of the block's bytes: looked up without allocating.
  auto key = [](const float* block) {
    std::uint64_t hash = 14695981039346656037ull;
    const auto* bytes = reinterpret_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < sizeof(float) * kStressBlock; ++i) {
      hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    return hash;
  };

  ConvolverEffect effect(nullptr);
  ASSERT_TRUE(effect.loadImpulseResponse(nativeName(fileA.path())));
  effect.setParameter(0, 1.0f);
  std::unordered_map<std::uint64_t, int> expected;
  expected.emplace(key(scaled(0, effect.engine().gain()).data()), 0);
  for (int i = 0; i < kLoads; ++i) {
    const int response = (i + 1) % 2;
    expected.emplace(key(scaled(response, gains[static_cast<std::size_t>(i)]).data()), response);
  }
  const StressResult result = runStress(
      effect, input, 2,
      [&](const float* block) {
        const auto found = expected.find(key(block));
        return found == expected.end() ? -1 : found->second;
      },
      kLoads, [&](int i) { ASSERT_TRUE(effect.loadImpulseResponse(files[(i + 1) % 2])); });
  EXPECT_EQ(result.mismatches, 0) << "of " << result.blocks << " blocks";
  EXPECT_EQ(result.allocationsOnAudioThread, 0);
  EXPECT_GT(result.blocksPerState[0], 0);
  EXPECT_GT(result.blocksPerState[1], 0);
}

}  // namespace
