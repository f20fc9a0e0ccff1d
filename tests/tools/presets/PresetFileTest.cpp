// Program and bank preset files: the byte layout hosts expect, round trips,
// and a named refusal for every kind of damaged or foreign file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tools/presets/PresetFile.h"

namespace {

using preset_file::Error;
using preset_file::Kind;
using preset_file::Preset;

constexpr VstInt32 kPluginId = fourCharCode('W', 'q', '1', '1');

std::vector<unsigned char> sampleChunk(std::size_t size) {
  std::vector<unsigned char> chunk(size);
  for (std::size_t i = 0; i < size; ++i) {
    chunk[i] = static_cast<unsigned char>(i * 7 + 3);
  }
  return chunk;
}

Preset programPreset() {
  Preset preset;
  preset.kind = Kind::kProgram;
  preset.pluginId = kPluginId;
  preset.pluginVersion = 0x01020304;
  preset.count = 5;
  preset.programName = "Hall";
  preset.chunk = sampleChunk(37);
  return preset;
}

Preset bankPreset(VstInt32 formatVersion = 1) {
  Preset preset = programPreset();
  preset.kind = Kind::kBank;
  preset.formatVersion = formatVersion;
  preset.programName.clear();
  preset.count = 1;
  preset.currentProgram = formatVersion == 2 ? 0x0A0B0C0D : 0;
  return preset;
}

std::uint32_t bigEndianAt(const std::vector<unsigned char>& bytes, std::size_t offset) {
  return (std::uint32_t{bytes[offset]} << 24) | (std::uint32_t{bytes[offset + 1]} << 16) |
         (std::uint32_t{bytes[offset + 2]} << 8) | std::uint32_t{bytes[offset + 3]};
}

void putBigEndian(std::vector<unsigned char>& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[offset + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (24 - 8 * i));
  }
}

std::string textAt(const std::vector<unsigned char>& bytes, std::size_t offset, std::size_t length) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

Error parseError(const std::vector<unsigned char>& bytes) {
  return preset_file::parse(bytes.data(), bytes.size(), kPluginId).error;
}

void expectSamePreset(const Preset& expected, const Preset& actual) {
  EXPECT_EQ(actual.kind, expected.kind);
  EXPECT_EQ(actual.pluginId, expected.pluginId);
  EXPECT_EQ(actual.pluginVersion, expected.pluginVersion);
  EXPECT_EQ(actual.count, expected.count);
  EXPECT_EQ(actual.programName, expected.programName);
  EXPECT_EQ(actual.currentProgram, expected.currentProgram);
  EXPECT_EQ(actual.chunk, expected.chunk);
}

TEST(PresetFileLayout, ProgramFieldsAreBigEndianAtTheirOffsets) {
  const std::vector<unsigned char> bytes = preset_file::encode(programPreset());
  ASSERT_EQ(bytes.size(), 60u + 37u);
  EXPECT_EQ(textAt(bytes, 0, 4), "CcnK");
  EXPECT_EQ(bigEndianAt(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(textAt(bytes, 8, 4), "FPCh");
  EXPECT_EQ(bigEndianAt(bytes, 12), 1u);
  EXPECT_EQ(textAt(bytes, 16, 4), "Wq11");
  EXPECT_EQ(bigEndianAt(bytes, 20), 0x01020304u);
  EXPECT_EQ(bigEndianAt(bytes, 24), 5u);
  EXPECT_EQ(textAt(bytes, 28, 5), std::string("Hall\0", 5));
  for (std::size_t i = 33; i < 56; ++i) {
    EXPECT_EQ(bytes[i], 0) << "name padding at " << i;
  }
  EXPECT_EQ(bigEndianAt(bytes, 56), 37u);
  EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 60, bytes.end()), sampleChunk(37));
}

TEST(PresetFileLayout, BankFieldsAreBigEndianAtTheirOffsets) {
  const std::vector<unsigned char> bytes = preset_file::encode(bankPreset());
  ASSERT_EQ(bytes.size(), 160u + 37u);
  EXPECT_EQ(textAt(bytes, 0, 4), "CcnK");
  EXPECT_EQ(bigEndianAt(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(textAt(bytes, 8, 4), "FBCh");
  EXPECT_EQ(bigEndianAt(bytes, 12), 1u);
  EXPECT_EQ(textAt(bytes, 16, 4), "Wq11");
  EXPECT_EQ(bigEndianAt(bytes, 20), 0x01020304u);
  EXPECT_EQ(bigEndianAt(bytes, 24), 1u);
  for (std::size_t i = 28; i < 156; ++i) {
    EXPECT_EQ(bytes[i], 0) << "reserved byte " << i;
  }
  EXPECT_EQ(bigEndianAt(bytes, 156), 37u);
  EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 160, bytes.end()), sampleChunk(37));

  const std::vector<unsigned char> version2 = preset_file::encode(bankPreset(2));
  EXPECT_EQ(bigEndianAt(version2, 12), 2u);
  EXPECT_EQ(bigEndianAt(version2, 28), 0x0A0B0C0Du);
}

TEST(PresetFileLayout, ProgramNameKeepsItsTerminator) {
  Preset preset = programPreset();
  preset.programName = std::string(40, 'n');
  std::vector<unsigned char> bytes = preset_file::encode(preset);
  EXPECT_EQ(textAt(bytes, 28, 28), std::string(27, 'n') + '\0');
  EXPECT_EQ(preset_file::parse(bytes.data(), bytes.size(), kPluginId).preset.programName, std::string(27, 'n'));

  // A host that fills the field without a terminator: the name ends before
  // its last byte, as it is written, so that reading what was written
  // gives what was read.
  for (std::size_t i = 28; i < 56; ++i) {
    bytes[i] = 'x';
  }
  EXPECT_EQ(preset_file::parse(bytes.data(), bytes.size(), kPluginId).preset.programName, std::string(27, 'x'));
}

TEST(PresetFileRoundTrip, EveryFormSurvivesWritingAndReading) {
  test_support::TempDir dir;
  const Preset presets[] = {programPreset(), bankPreset(1), bankPreset(2)};
  for (const Preset& preset : presets) {
    const std::string path = dir.file("preset.bin");
    ASSERT_EQ(preset_file::writeFile(path.c_str(), preset), Error::kNone);
    const preset_file::ReadResult read = preset_file::readFile(path.c_str(), kPluginId);
    ASSERT_TRUE(read.ok()) << preset_file::describe(read.error);
    expectSamePreset(preset, read.preset);
  }
}

TEST(PresetFileRoundTrip, AnEmptyChunkIsAValidFile) {
  Preset preset = programPreset();
  preset.chunk.clear();
  const std::vector<unsigned char> bytes = preset_file::encode(preset);
  const preset_file::ReadResult read = preset_file::parse(bytes.data(), bytes.size(), kPluginId);
  ASSERT_TRUE(read.ok());
  EXPECT_TRUE(read.preset.chunk.empty());
}

TEST(PresetFileRefusal, EveryTruncationIsNamed) {
  for (const Preset& preset : {programPreset(), bankPreset()}) {
    const std::vector<unsigned char> bytes = preset_file::encode(preset);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
      const std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_EQ(parseError(cut), Error::kTruncated) << "cut at " << length;
    }
  }
}

TEST(PresetFileRefusal, ForeignFilesAreNamed) {
  const std::vector<unsigned char> good = preset_file::encode(programPreset());
  struct Case {
    const char* what;
    std::size_t offset;
    std::uint32_t value;
    Error expected;
  };
  const Case cases[] = {
      {"chunk magic", 0, static_cast<std::uint32_t>(fourCharCode('R', 'I', 'F', 'F')), Error::kWrongMagic},
      {"program parameter list", 8, static_cast<std::uint32_t>(fourCharCode('F', 'x', 'C', 'k')),
       Error::kParameterListForm},
      {"bank parameter list", 8, static_cast<std::uint32_t>(fourCharCode('F', 'x', 'B', 'k')),
       Error::kParameterListForm},
      {"unknown form", 8, static_cast<std::uint32_t>(fourCharCode('A', 'B', 'C', 'D')), Error::kUnknownForm},
      {"program version 2", 12, 2, Error::kUnsupportedVersion},
      {"plug-in id", 16, static_cast<std::uint32_t>(fourCharCode('W', 'q', '1', '2')), Error::kWrongPluginId},
      {"byteSize beyond the file", 4, static_cast<std::uint32_t>(good.size() - 7), Error::kTruncated},
      {"byteSize short of the file", 4, static_cast<std::uint32_t>(good.size() - 9), Error::kSizeMismatch},
      {"chunkSize beyond the file", 56, 38, Error::kTruncated},
      {"chunkSize short of the file", 56, 36, Error::kSizeMismatch},
      {"negative chunkSize", 56, 0xFFFFFFFFu, Error::kTooLarge},
      {"negative byteSize", 4, 0x80000000u, Error::kTruncated},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> bytes = good;
    putBigEndian(bytes, c.offset, c.value);
    EXPECT_EQ(parseError(bytes), c.expected) << c.what;
  }
}

TEST(PresetFileRefusal, BankVersionsAndSizesAreChecked) {
  const std::vector<unsigned char> good = preset_file::encode(bankPreset());
  std::vector<unsigned char> bytes = good;
  putBigEndian(bytes, 12, 3);
  EXPECT_EQ(parseError(bytes), Error::kUnsupportedVersion);

  bytes = good;
  putBigEndian(bytes, 156, 38);
  EXPECT_EQ(parseError(bytes), Error::kTruncated);

  // Bytes appended after a complete file: byteSize no longer matches.
  bytes = good;
  bytes.push_back(0);
  EXPECT_EQ(parseError(bytes), Error::kSizeMismatch);
}

TEST(PresetFileRefusal, FilesThatCannotBeReadOrWritten) {
  test_support::TempDir dir;
  EXPECT_EQ(preset_file::readFile(dir.file("missing.fxp").c_str(), kPluginId).error, Error::kCannotOpen);
  EXPECT_EQ(preset_file::readFile(nullptr, kPluginId).error, Error::kCannotOpen);
  EXPECT_EQ(preset_file::writeFile(dir.file("no/such/folder.fxp").c_str(), programPreset()), Error::kCannotWrite);
}

#if !defined(_WIN32)
TEST(PresetFileRefusal, OversizedFilesAreRefusedBeforeReading) {
  test_support::TempDir dir;
  const std::string path = dir.file("huge.fxb");
  // Sparse: one byte past the limit costs no disk space.
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fseek(file, static_cast<long>(preset_file::kMaxFileSize), SEEK_SET), 0);
  std::fputc(0, file);
  std::fclose(file);
  EXPECT_EQ(preset_file::readFile(path.c_str(), kPluginId).error, Error::kTooLarge);
}
#endif

}  // namespace
