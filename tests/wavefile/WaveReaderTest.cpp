// WaveReader over hand-made files: chunk layouts, refusals, conversions and
// frame counting. The files go through the platform's own RIFF layer.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/wavefile/WavBytes.h"
#include "wavefile/WaveReader.h"

using namespace wavbytes;

namespace {

// 16-bit mono data whose frame i holds the sample i - 1000, wrapped.
Bytes rampData(int frames) {
  Bytes b;
  for (int i = 0; i < frames; ++i) put16(b, static_cast<unsigned>(static_cast<std::uint16_t>(i - 1000)));
  return b;
}

constexpr float kInfinity = std::numeric_limits<float>::infinity();

float rampValue(int i) { return static_cast<float>(static_cast<std::int16_t>(i - 1000)) / 32768.0f; }

// Opens bytes written to a file and reads once; the reader stays open.
struct Session {
  explicit Session(const Bytes& bytes) : file(bytes) { opened = reader.open(test_support::nativeName(file.path())); }
  std::vector<float> read(int maxFrames, int* frames) {
    std::vector<float> out(static_cast<std::size_t>(maxFrames) * 8 + 1, -7.0f);
    *frames = reader.readFrames(out.data(), maxFrames);
    return out;
  }
  TempFile file;
  WaveReader reader;
  bool opened = false;
};

TEST(WaveReaderLayout, FindsFormatAndDataWhereverTheyStand) {
  const Chunk data{"data", rampData(5)};
  const Chunk list{"LIST", {'I', 'N', 'F', 'O', 'I', 'C', 'M', 'T', 1, 0, 0, 0, 'x', 0}};
  const Chunk odd{"junk", {1, 2, 3}};  // odd size: a pad byte follows
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"fmt then data", riffBytes({fmtChunk(1, 1, 16), data})},
      {"data before fmt", riffBytes({data, fmtChunk(1, 1, 16)})},
      {"list between", riffBytes({fmtChunk(1, 1, 16), list, data})},
      {"odd chunks with pad bytes", riffBytes({odd, fmtChunk(1, 1, 16), odd, data})},
      {"fmt of 18 bytes", riffBytes({{"fmt ", fmt(1, 1, 2, 16, 0, true)}, data})},
      {"fmt of 40 bytes", riffBytes({{"fmt ", fmt(1, 1, 2, 16, 22)}, odd, data})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s(c.bytes);
    ASSERT_TRUE(s.opened);
    EXPECT_EQ(s.reader.format().wFormatTag, 1);
    EXPECT_EQ(s.reader.format().nChannels, 1);
    EXPECT_EQ(s.reader.format().nSamplesPerSec, 48000u);
    EXPECT_EQ(s.reader.format().nAvgBytesPerSec, 96000u);
    EXPECT_EQ(s.reader.format().nBlockAlign, 2);
    EXPECT_EQ(s.reader.format().wBitsPerSample, 16);
    EXPECT_EQ(s.reader.format().cbSize, 0);
    int frames = 0;
    const std::vector<float> out = s.read(100, &frames);
    ASSERT_EQ(frames, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(out[i], rampValue(i));
  }
}

TEST(WaveReaderRefusal, NamesEachReasonAndStaysClosed) {
  using R = WaveReader::Refusal;
  const Chunk data{"data", rampData(4)};
  Bytes shortFmt = fmt(1, 1, 2, 16);
  shortFmt.resize(14);
  Bytes fmt39 = fmtExtensible({});
  fmt39.resize(39);
  const struct {
    const char* name;
    Bytes bytes;
    R reason;
  } cases[] = {
      {"empty file", {}, R::kNotRiff},
      {"not RIFF", riffBytes({fmtChunk(1, 1, 16), data}, "WAVE", "RIFX"), R::kNotRiff},
      {"not WAVE", riffBytes({fmtChunk(1, 1, 16), data}, "AVI "), R::kNotWave},
      {"no fmt", riffBytes({data}), R::kNoFormatChunk},
      {"fmt shorter than 16", riffBytes({{"fmt ", shortFmt}, data}), R::kFormatTooShort},
      {"fmt cut by the end of the file", riffBytes({{"fmt ", {1, 0, 1, 0}, 16}}), R::kFormatTruncated},
      {"extensible with a garbage extension", riffBytes({{"fmt ", fmt(0xFFFE, 1, 2, 16, 22)}, data}),
       R::kUnsupportedSubFormat},
      {"extensible ADPCM", riffBytes({{"fmt ", fmtExtensible({.subTag = 2})}, data}), R::kUnsupportedSubFormat},
      {"extensible PCM tag with a foreign GUID base",
       riffBytes({{"fmt ", fmtExtensible({.standardBase = false})}, data}), R::kUnsupportedSubFormat},
      {"extensible sub-format 0x10001", riffBytes({{"fmt ", fmtExtensible({.subTag = 0x10001})}, data}),
       R::kUnsupportedSubFormat},
      {"extensible, cbSize 0", riffBytes({{"fmt ", fmtExtensible({.cbSize = 0})}, data}), R::kExtensionTooShort},
      {"extensible, cbSize 21", riffBytes({{"fmt ", fmtExtensible({.cbSize = 21})}, data}), R::kExtensionTooShort},
      {"extensible, 39-byte fmt", riffBytes({{"fmt ", fmt39}, data}), R::kExtensionTooShort},
      {"extensible, 18-byte fmt", riffBytes({{"fmt ", fmt(0xFFFE, 1, 2, 16, 0, true)}, data}), R::kExtensionTooShort},
      {"extensible, valid bits 28 in 24",
       riffBytes({{"fmt ", fmtExtensible({.blockAlign = 3, .bits = 24, .validBits = 28})}, data}),
       R::kValidBitsAboveContainer},
      {"extensible, valid bits 17 in 16", riffBytes({{"fmt ", fmtExtensible({.validBits = 17})}, data}),
       R::kValidBitsAboveContainer},
      {"extensible cut by the end of the file", riffBytes({{"fmt ", fmt(0xFFFE, 1, 2, 16, 2), 40}}),
       R::kFormatTruncated},
      {"extensible block align below a 32-bit container",
       riffBytes({{"fmt ", fmtExtensible({.blockAlign = 3, .bits = 32, .validBits = 24})}, data}),
       R::kBlockAlignTooSmall},
      {"ADPCM", riffBytes({{"fmt ", fmt(2, 1, 2, 16)}, data}), R::kUnsupportedTag},
      {"zero channels", riffBytes({{"fmt ", fmt(1, 0, 2, 16)}, data}), R::kNoChannels},
      {"257 channels", riffBytes({{"fmt ", fmt(1, 257, 514, 16)}, data}), R::kTooManyChannels},
      {"65535 channels", riffBytes({{"fmt ", fmt(1, 65535, 65535, 8)}, data}), R::kTooManyChannels},
      {"zero block align", riffBytes({{"fmt ", fmt(1, 1, 0, 16)}, data}), R::kNoBlockAlign},
      {"block align below packed stereo", riffBytes({{"fmt ", fmt(1, 2, 2, 16)}, data}), R::kBlockAlignTooSmall},
      {"block align below 24-bit", riffBytes({{"fmt ", fmt(1, 1, 2, 24)}, data}), R::kBlockAlignTooSmall},
      {"block align below 12-bit stereo", riffBytes({{"fmt ", fmt(1, 2, 3, 12)}, data}), R::kBlockAlignTooSmall},
      {"no data", riffBytes({fmtChunk(1, 1, 16), {"LIST", {'I', 'N', 'F', 'O'}}}), R::kNoDataChunk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s(c.bytes);
    EXPECT_FALSE(s.opened);
    EXPECT_EQ(s.reader.lastRefusal(), c.reason);
    const WaveFormat zero{};
    EXPECT_EQ(std::memcmp(&s.reader.format(), &zero, sizeof zero), 0);
    EXPECT_EQ(s.reader.validBitsPerSample(), 0);
    int frames = -1;
    s.read(10, &frames);
    EXPECT_EQ(frames, 0);
  }

  WaveReader reader;
  EXPECT_FALSE(reader.open(test_support::nativeName("/no/such/dir/none.wav")));
  EXPECT_EQ(reader.lastRefusal(), R::kCannotOpen);
  EXPECT_FALSE(reader.open(NativePath()));
}

TEST(WaveReaderConversion, MapsEveryFormatExactly) {
  const struct {
    const char* name;
    unsigned tag, bits;
    Bytes data;
    std::vector<float> expected;
  } cases[] = {
      {"pcm 8", 1, 8, {0x00, 0x80, 0xFF, 0x81}, {-1.0f, 0.0f, 0.9921875f, 0.0078125f}},
      {"pcm 16",
       1,
       16,
       {0x00, 0x80, 0xFF, 0x7F, 0xFF, 0xFF, 0x01, 0x00},
       {-1.0f, 0.999969482421875f, -0x1p-15f, 0x1p-15f}},
      {"pcm 24",
       1,
       24,
       {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00},
       {-1.0f, 0.99999988079071044921875f, -0x1p-23f, 0x1p-23f}},
      // 0x7FFFFFFF rounds up to 1.0; 0x40000001 rounds to nearest (down).
      {"pcm 32",
       1,
       32,
       {0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0x7F, 0x01, 0x00, 0x00, 0x40, 0x01, 0x00, 0x00, 0x00},
       {-1.0f, 1.0f, 0.5f, 0x1p-31f}},
      {"float 32",
       3,
       32,
       {0x00, 0x00, 0xC0, 0x3F, 0x01, 0x00, 0x00, 0x80, 0x00, 0x00, 0x80, 0x7F, 0x00, 0x00, 0x00, 0x00},
       {1.5f, -0x1p-149f, kInfinity, 0.0f}},
      // 0.1 as a double becomes the nearest float; 1e300 overflows to infinity.
      {"float 64",
       3,
       64,
       {0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x04, 0xC0, 0x9C, 0x75, 0x88, 0x3C, 0xE4, 0x37, 0x7E, 0x7E},
       {0.1f, -2.5f, kInfinity}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Session s(riffBytes({fmtChunk(c.tag, 1, c.bits), {"data", c.data}}));
    ASSERT_TRUE(s.opened);
    int frames = 0;
    const std::vector<float> out = s.read(100, &frames);
    ASSERT_EQ(frames, static_cast<int>(c.expected.size()));
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(std::memcmp(&out[i], &c.expected[i], sizeof(float)), 0) << "sample " << i << ": " << out[i];
    }
    EXPECT_EQ(out[c.expected.size()], -7.0f) << "wrote past the delivered frames";
  }
}

TEST(WaveReaderConversion, InterleavesChannelsAndSkipsFramePadding) {
  // Stereo 16-bit: L0 R0 L1 R1 in file order.
  Session stereo(riffBytes({fmtChunk(1, 2, 16), {"data", {0x00, 0x40, 0x00, 0xC0, 0x00, 0x20, 0x00, 0xE0}}}));
  ASSERT_TRUE(stereo.opened);
  int frames = 0;
  std::vector<float> out = stereo.read(10, &frames);
  ASSERT_EQ(frames, 2);
  EXPECT_EQ(out[0], 0.5f);
  EXPECT_EQ(out[1], -0.5f);
  EXPECT_EQ(out[2], 0.25f);
  EXPECT_EQ(out[3], -0.25f);
  EXPECT_EQ(out[4], -7.0f);

  // Mono 16-bit in 4-byte frames: each frame's sample comes from the
  // frame's start and the two pad bytes are skipped.
  Session padded(riffBytes({{"fmt ", fmt(1, 1, 4, 16)}, {"data", {0x00, 0x40, 0x00, 0x10, 0x00, 0x20, 0x00, 0x08}}}));
  ASSERT_TRUE(padded.opened);
  out = padded.read(10, &frames);
  ASSERT_EQ(frames, 2);
  EXPECT_EQ(out[0], 0.5f);
  EXPECT_EQ(out[1], 0.25f);
  EXPECT_EQ(out[2], -7.0f);

  // Stereo 24-bit in 8-byte frames (two pad bytes after each frame), over
  // more than one round of frames.
  std::vector<std::uint8_t> data;
  for (int f = 0; f < 150; ++f) {
    for (int c = 0; c < 2; ++c) {
      const int value = (f * 2 + c) * 1000 - 150000;
      data.push_back(static_cast<std::uint8_t>(value));
      data.push_back(static_cast<std::uint8_t>(value >> 8));
      data.push_back(static_cast<std::uint8_t>(value >> 16));
    }
    data.push_back(0xEE);
    data.push_back(0xEE);
  }
  Session wide(riffBytes({{"fmt ", fmt(1, 2, 8, 24)}, {"data", data}}));
  ASSERT_TRUE(wide.opened);
  out = wide.read(200, &frames);
  ASSERT_EQ(frames, 150);
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(out[static_cast<std::size_t>(i)], static_cast<float>(i * 1000 - 150000) / 8388608.0f) << i;
  }
}

// An extensible header reads as the plain format its sub-format names:
// samples by their container, valid bits only reported, the channel mask
// ignored.
TEST(WaveReaderExtensible, ReadsAsItsSubFormat) {
  const struct {
    const char* name;
    Extensible header;
    Bytes data;
    std::vector<float> expected;
    unsigned tag, validBits;
  } cases[] = {
      {"pcm 16", {}, rampData(5), {rampValue(0), rampValue(1), rampValue(2), rampValue(3), rampValue(4)}, 1, 16},
      {"valid bits 0 stand for the container", {.validBits = 0}, rampData(2), {rampValue(0), rampValue(1)}, 1, 16},
      // A 24-bit sample in a 32-bit container has its low byte zero.
      {"pcm 24 in 32",
       {.blockAlign = 4, .bits = 32, .validBits = 24},
       {0x00, 0x00, 0x00, 0x80, 0x00, 0xFF, 0xFF, 0x7F, 0x00, 0x01, 0x00, 0x00},
       {-1.0f, 0.99999988079071044921875f, 0x1p-23f},
       1,
       24},
      // Bits below the valid ones are not masked: the container's value.
      {"pcm 20 in 24",
       {.blockAlign = 3, .bits = 24, .validBits = 20},
       {0x01, 0x00, 0x00, 0x0F, 0x00, 0x80},
       {0x1p-23f, -1.0f + 15 * 0x1p-23f},
       1,
       20},
      {"float 32",
       {.subTag = 3, .blockAlign = 4, .bits = 32, .validBits = 32},
       {0x00, 0x00, 0xC0, 0x3F, 0x01, 0x00, 0x00, 0x80, 0x00, 0x00, 0x80, 0x7F},
       {1.5f, -0x1p-149f, kInfinity},
       3,
       32},
      {"float 64, valid bits 0",
       {.subTag = 3, .blockAlign = 8, .bits = 64, .validBits = 0},
       {0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0},
       {0.1f, -2.5f},
       3,
       64},
      {"cbSize 24 with two more bytes, any channel mask",
       {.cbSize = 24, .channelMask = 0xFFFFFFFF, .extra = 2},
       rampData(3),
       {rampValue(0), rampValue(1), rampValue(2)},
       1,
       16},
      // Four channels of 24 bits: all delivered, in file order.
      {"four channels",
       {.channels = 4, .blockAlign = 12, .bits = 24, .validBits = 24, .channelMask = 0x33},
       {0x00, 0x00, 0x40, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0xE0,
        0x00, 0x00, 0x10, 0x00, 0x00, 0xF0, 0x00, 0x00, 0x08, 0x00, 0x00, 0xF8},
       {0.5f, -0.5f, 0.25f, -0.25f, 0.125f, -0.125f, 0.0625f, -0.0625f},
       1,
       24},
  };
  const Chunk list{"LIST", {'I', 'N', 'F', 'O'}};
  for (const auto& c : cases) {
    for (const bool dataFirst : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (dataFirst ? ", data first" : ""));
      const Chunk format{"fmt ", fmtExtensible(c.header)};
      const Chunk data{"data", c.data};
      Session s(dataFirst ? riffBytes({data, list, format}) : riffBytes({format, list, data}));
      ASSERT_TRUE(s.opened) << static_cast<int>(s.reader.lastRefusal());
      EXPECT_EQ(s.reader.format().wFormatTag, c.tag);
      EXPECT_EQ(s.reader.format().nChannels, c.header.channels);
      EXPECT_EQ(s.reader.format().nBlockAlign, c.header.blockAlign);
      EXPECT_EQ(s.reader.format().wBitsPerSample, c.header.bits);
      EXPECT_EQ(s.reader.format().cbSize, 0);
      EXPECT_EQ(s.reader.validBitsPerSample(), c.validBits);
      int frames = 0;
      const std::vector<float> out = s.read(100, &frames);
      ASSERT_EQ(frames * static_cast<int>(c.header.channels), static_cast<int>(c.expected.size()));
      for (std::size_t i = 0; i < c.expected.size(); ++i) {
        EXPECT_EQ(std::memcmp(&out[i], &c.expected[i], sizeof(float)), 0) << "sample " << i << ": " << out[i];
      }
      EXPECT_EQ(out[c.expected.size()], -7.0f) << "wrote past the delivered frames";
    }
  }

  // A sub-format whose container has no conversion opens and yields no
  // frames, as the plain header does.
  Session float24(riffBytes(
      {{"fmt ", fmtExtensible({.subTag = 3, .blockAlign = 3, .bits = 24, .validBits = 24})}, {"data", rampData(6)}}));
  ASSERT_TRUE(float24.opened);
  int frames = -1;
  float24.read(10, &frames);
  EXPECT_EQ(frames, 0);
}

TEST(WaveReaderCounting, DeliversWholeFramesInRounds) {
  int frames = -1;
  {
    SCOPED_TRACE("maxFrames 0 reads nothing");
    Session s(riffBytes({fmtChunk(1, 1, 16), {"data", rampData(3)}}));
    ASSERT_TRUE(s.opened);
    s.read(0, &frames);
    EXPECT_EQ(frames, 0);
    const std::vector<float> out = s.read(3, &frames);
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(out[0], rampValue(0));
  }
  {
    SCOPED_TRACE("3 bytes of 4-byte frames");
    Session s(riffBytes({fmtChunk(1, 2, 16), {"data", {1, 2, 3}}}));
    ASSERT_TRUE(s.opened);
    s.read(10, &frames);
    EXPECT_EQ(frames, 0);
  }
  {
    SCOPED_TRACE("250 frames asked 32768");
    Session s(riffBytes({fmtChunk(1, 1, 16), {"data", rampData(250)}}));
    ASSERT_TRUE(s.opened);
    const std::vector<float> out = s.read(32768, &frames);
    ASSERT_EQ(frames, 250);
    for (int i = 0; i < 250; ++i) ASSERT_EQ(out[i], rampValue(i)) << i;
    EXPECT_EQ(out[250], -7.0f);
    s.read(32768, &frames);
    EXPECT_EQ(frames, 0);
  }
  {
    // Spans several refills of the I/O buffer.
    SCOPED_TRACE("40000 frames asked 32768 twice");
    Session s(riffBytes({fmtChunk(1, 1, 16), {"data", rampData(40000)}}));
    ASSERT_TRUE(s.opened);
    std::vector<float> out = s.read(32768, &frames);
    ASSERT_EQ(frames, 32768);
    for (int i = 0; i < 32768; ++i) ASSERT_EQ(out[i], rampValue(i)) << i;
    out = s.read(32768, &frames);
    ASSERT_EQ(frames, 40000 - 32768);
    for (int i = 0; i < frames; ++i) ASSERT_EQ(out[i], rampValue(32768 + i)) << i;
  }
}

TEST(WaveReaderCounting, FailsReadsPastTheFileAndUnsupportedDepths) {
  int frames = -1;
  {
    // 150 frames present, 300 declared: the second round fails, the call
    // answers 0, and the first round's samples are already in place.
    SCOPED_TRACE("data declared longer than the file");
    Session s(riffBytes({fmtChunk(1, 1, 16), {"data", rampData(150), 600}}));
    ASSERT_TRUE(s.opened);
    const std::vector<float> out = s.read(32768, &frames);
    EXPECT_EQ(frames, 0);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(out[i], rampValue(i)) << i;
  }
  {
    SCOPED_TRACE("truncated in the first round");
    Bytes bytes = riffBytes({fmtChunk(1, 1, 16), {"data", rampData(50)}});
    bytes.resize(bytes.size() - 7);
    Session s(bytes);
    ASSERT_TRUE(s.opened);
    s.read(50, &frames);
    EXPECT_EQ(frames, 0);
  }
  for (unsigned bits : {12u, 20u}) {
    SCOPED_TRACE(bits);
    Session s(riffBytes({{"fmt ", fmt(1, 1, (bits + 7) / 8, bits)}, {"data", rampData(30)}}));
    ASSERT_TRUE(s.opened);
    EXPECT_EQ(s.reader.format().wBitsPerSample, bits);
    const std::vector<float> out = s.read(10, &frames);
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(out[0], -7.0f);
  }
  {
    SCOPED_TRACE("24-bit float");
    Session s(riffBytes({fmtChunk(3, 1, 24), {"data", rampData(30)}}));
    ASSERT_TRUE(s.opened);
    s.read(10, &frames);
    EXPECT_EQ(frames, 0);
  }
}

TEST(WaveReaderLifecycle, CloseIsRepeatableAndReopenWorks) {
  TempFile file(riffBytes({fmtChunk(1, 1, 16), {"data", rampData(4)}}));
  WaveReader reader;
  float out[4] = {};
  EXPECT_EQ(reader.readFrames(out, 4), 0);
  ASSERT_TRUE(reader.open(test_support::nativeName(file.path())));
  EXPECT_EQ(reader.readFrames(nullptr, 4), 0);
  EXPECT_EQ(reader.readFrames(out, -1), 0);
  reader.close();
  reader.close();
  EXPECT_EQ(reader.format().nChannels, 0);
  EXPECT_EQ(reader.validBitsPerSample(), 0);
  EXPECT_EQ(reader.readFrames(out, 4), 0);
  ASSERT_TRUE(reader.open(test_support::nativeName(file.path())));
  EXPECT_EQ(reader.lastRefusal(), WaveReader::Refusal::kNone);
  EXPECT_EQ(reader.readFrames(out, 4), 4);
  EXPECT_EQ(out[3], rampValue(3));
}

}  // namespace
