// The effect's parameters, texts and state block, through the class.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "effect/ConvolverEffect.h"
#include "engine/cpu/CpuFeatures.h"
#include "engine/vectorops/VectorOps.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WaveFiles.h"

namespace {

std::string display(ConvolverEffect& effect, int index) {
  char text[64] = "unchanged";
  effect.getParameterDisplay(index, text);
  return text;
}

TEST(EffectParameters, DisplayTextsFollowTheValuesAsStored) {
  ConvolverEffect effect(test_support::recordingHost);
  EXPECT_EQ(display(effect, 0), "50%");
  effect.setParameter(0, 1.5f);
  EXPECT_EQ(effect.getParameter(0), 1.5f);
  EXPECT_EQ(display(effect, 0), "150%");
  effect.setParameter(0, 0.004f);
  EXPECT_EQ(display(effect, 0), "0%");
  effect.setParameter(0, 0.005f);
  EXPECT_EQ(display(effect, 0), "1%");

  // The gain text shows the engine's clamped gain, the stored value stays.
  effect.setParameter(1, 3.0f);
  EXPECT_EQ(effect.getParameter(1), 3.0f);
  EXPECT_EQ(display(effect, 1), "+6.0dB");
  effect.setParameter(1, -1.0f);
  EXPECT_EQ(display(effect, 1), "-INFdB");
  effect.setParameter(1, 0.5f);
  EXPECT_EQ(display(effect, 1), "-6.0dB");

  effect.setParameter(2, 0.0f);
  EXPECT_EQ(display(effect, 2), "0.00sec /0%");
  EXPECT_EQ(effect.engine().lengthTaps(), 0);
  effect.setParameter(2, 1.0f);
  EXPECT_EQ(display(effect, 2), "0.74sec /100%");
  EXPECT_EQ(effect.engine().lengthTaps(), 32768);
  effect.setSampleRate(48000.0f);
  EXPECT_EQ(display(effect, 2), "0.68sec /100%");

  // Odd values from a host never overflow the text or the integer part.
  effect.setParameter(2, 1e30f);
  EXPECT_LT(display(effect, 2).size(), 32u);
  effect.setParameter(0, std::nanf(""));
  EXPECT_EQ(display(effect, 0), "0%");

  effect.setParameter(3, -1.0f);
  EXPECT_EQ(display(effect, 3), "on");
  EXPECT_FALSE(effect.engine().isBypassed());
  effect.setParameter(3, std::nanf(""));
  EXPECT_FALSE(effect.engine().isBypassed());
  effect.setParameter(3, 0.25f);
  EXPECT_TRUE(effect.engine().isBypassed());
  effect.setParameter(4, 0.0f);
  EXPECT_EQ(display(effect, 4), "off");
  EXPECT_EQ(display(effect, 5), "unchanged");
}

TEST(EffectParameters, SampleRateBelongsToEachInstance) {
  ConvolverEffect a(test_support::recordingHost);
  ConvolverEffect b(test_support::recordingHost);
  a.setSampleRate(96000.0f);
  EXPECT_EQ(display(b, 2), "0.37sec /50%");
  EXPECT_EQ(display(a, 2), "0.17sec /50%");
}

TEST(EffectState, PathFieldWithoutTerminatorIsCutAt259Characters) {
  ConvolverEffect effect(test_support::recordingHost);
  void* data = nullptr;
  ASSERT_EQ(effect.getChunk(&data, false), kStateChunkSize);
  std::vector<unsigned char> block(static_cast<const unsigned char*>(data),
                                   static_cast<const unsigned char*>(data) + kStateChunkSize);
  std::memset(block.data(), 'x', kImpulsePathSize);
  ASSERT_EQ(effect.setChunk(block.data(), kStateChunkSize, true), kStateChunkSize);
  EXPECT_EQ(effect.impulsePath().size(), 259u);
  EXPECT_EQ(effect.impulsePath(), std::string(259, 'x'));
}

TEST(EffectState, NullOrShortBlocksChangeNothing) {
  ConvolverEffect effect(test_support::recordingHost);
  effect.setParameter(0, 0.25f);
  std::vector<unsigned char> block(kStateChunkSize - 1, 0);
  EXPECT_EQ(effect.setChunk(nullptr, kStateChunkSize, false), 0);
  EXPECT_EQ(effect.setChunk(block.data(), kStateChunkSize - 1, false), 0);
  EXPECT_EQ(effect.setChunk(block.data(), -5, false), 0);
  EXPECT_EQ(effect.getParameter(0), 0.25f);
  EXPECT_EQ(effect.impulsePath(), "... empty ...");
  EXPECT_EQ(effect.getChunk(nullptr, false), 0);
}

TEST(EffectState, AFreshInstanceSavesTheDefaults) {
  ConvolverEffect effect(test_support::recordingHost);
  void* data = nullptr;
  ASSERT_EQ(effect.getChunk(&data, true), kStateChunkSize);
  StateChunk chunk;
  std::memcpy(&chunk, data, sizeof(chunk));
  EXPECT_STREQ(chunk.impulsePath, "... empty ...");
  const float defaults[] = {0.5f, 0.5f, 0.5f, 0.0f, 0.0f};
  EXPECT_EQ(std::memcmp(chunk.parameterValues, defaults, sizeof(defaults)), 0);
  for (float s : chunk.impulseSamples) {
    ASSERT_EQ(s, 0.0f);
  }
  EXPECT_EQ(chunk.impulseLoaded, 0);
}

}  // namespace

namespace {

// The bypass copy goes through the vector-operation table; a stand-in entry
// records the SSE control register while the callback runs.
unsigned gMxcsrDuringBlock = 0;
void recordingMove(float* dst, const float* src, int n) {
  gMxcsrDuringBlock = _mm_getcsr();
  std::memcpy(dst, src, sizeof(float) * static_cast<std::size_t>(n));
}

TEST(EffectCallbacks, FlushToZeroHoldsDuringTheBlockAndTheHostsModeReturnsAfter) {
  constexpr unsigned kFtz = 0x8000;
  constexpr unsigned kDaz = 0x40;
  ConvolverEffect effect(nullptr);
  effect.setParameter(3, 1.0f);
  const bool daz = cpuFeatures().dazSupported;
  VectorOps::BinaryFn original = vectorOps().move.exchange(recordingMove);
  const unsigned saved = _mm_getcsr();
  std::vector<float> in(64, 0.25f);
  std::vector<float> out(64, 0.0f);
  float* inputs[] = {in.data()};
  float* outputs[] = {out.data()};
  for (unsigned hostBits : {0u, kFtz | kDaz, kFtz}) {
    _mm_setcsr((saved & ~(kFtz | kDaz)) | hostBits);
    effect.processReplacing(inputs, outputs, 64);
    EXPECT_EQ(gMxcsrDuringBlock & (kFtz | kDaz), daz ? (kFtz | kDaz) : kFtz) << hostBits;
    EXPECT_EQ(_mm_getcsr() & (kFtz | kDaz), hostBits);
  }
  _mm_setcsr(saved);
  vectorOps().move.store(original);
  EXPECT_EQ(out, in);
}

}  // namespace

namespace {

// Infinities and NaNs in a response would turn every output into NaN, silent
// input included (Inf x 0), and spread along the host's chain. Both ways in
// store them as 0.0, and a saved state then holds 0.0 there.
TEST(EffectResponse, NonFiniteSamplesFromFilesAndRestoresBecomeZero) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  const float kNaN = std::numeric_limits<float>::quiet_NaN();
  std::vector<float> response = test_support::noise(200, 5);
  const std::size_t bad[] = {3, 50, 51, 199};
  response[bad[0]] = kInf;
  response[bad[1]] = -kInf;
  response[bad[2]] = kNaN;
  response[bad[3]] = -kNaN;

  auto check = [&](ConvolverEffect& effect, const char* how) {
    void* data = nullptr;
    ASSERT_EQ(effect.getChunk(&data, false), kStateChunkSize);
    StateChunk saved;
    std::memcpy(&saved, data, sizeof(saved));
    for (std::size_t i = 0; i < response.size(); ++i) {
      const bool cleaned = std::find(std::begin(bad), std::end(bad), i) != std::end(bad);
      const float expected = cleaned ? 0.0f : response[i];
      ASSERT_EQ(std::memcmp(&saved.impulseSamples[i], &expected, sizeof(float)), 0) << how << ", sample " << i;
    }
    effect.setParameter(2, 1.0f);
    for (const std::vector<float>& input : {std::vector<float>(512, 0.0f), test_support::noise(512, 6)}) {
      std::vector<float> output(512, 0.0f);
      float* inputs[] = {const_cast<float*>(input.data())};
      float* outputs[] = {output.data()};
      effect.processReplacing(inputs, outputs, 512);
      for (float v : output) {
        ASSERT_TRUE(std::isfinite(v)) << how;
      }
    }
  };

  {
    ConvolverEffect effect(nullptr);
    test_support::TempDir dir;
    test_support::writeFile(dir.file("bad.wav"), test_support::floatWave(response));
    ASSERT_TRUE(effect.loadImpulseResponse(test_support::nativeName(test_support::nativePath(dir.file("bad.wav")))));
    check(effect, "file");
  }
  {
    StateChunk chunk{};
    std::strcpy(chunk.impulsePath, "bad.wav");
    const float parameters[] = {0.5f, 0.5f, 1.0f, 0.0f, 0.0f};
    std::memcpy(chunk.parameterValues, parameters, sizeof(parameters));
    std::memcpy(chunk.impulseSamples, response.data(), response.size() * sizeof(float));
    chunk.impulseLoaded = 1;
    ConvolverEffect effect(nullptr);
    ASSERT_EQ(effect.setChunk(&chunk, kStateChunkSize, false), kStateChunkSize);
    check(effect, "restore");
  }
}

// A host that hands a null first channel gets nothing done, bypassed or not,
// replacing or accumulating.
TEST(EffectCallbacks, ANullFirstChannelIsIgnored) {
  ConvolverEffect effect(nullptr);
  const std::vector<float> response = test_support::noise(64, 2);
  effect.engine().setImpulse(response.data(), 64);
  effect.engine().setLoaded(true);
  std::vector<float> buffer(64, 0.5f);
  float* none[] = {nullptr};
  float* some[] = {buffer.data()};
  for (float bypass : {0.0f, 1.0f}) {
    effect.setParameter(3, bypass);
    effect.processReplacing(none, some, 64);
    effect.processReplacing(some, none, 64);
    effect.process(none, some, 64);
    effect.process(some, none, 64);
  }
  EXPECT_EQ(buffer, std::vector<float>(64, 0.5f));
}

}  // namespace
