// The BMP decoder against damaged and unsupported files: every one is
// refused without reading past the bytes it was given.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit/linux/BmpDecoder.h"

namespace {

std::vector<unsigned char> readFixture(const char* name) {
  std::ifstream in(std::string(ULMAR_TOOLKIT_TEST_BITMAPS) + "/" + name, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void putU32(std::vector<unsigned char>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

TEST(BmpDecoder, RefusesDamagedAndUnsupportedFiles) {
  const auto strip = readFixture("strip24.bmp");
  const auto rle = readFixture("rle8.bmp");
  ASSERT_TRUE(decodeBmp(strip.data(), strip.size()));
  ASSERT_TRUE(decodeBmp(rle.data(), rle.size()));
  EXPECT_FALSE(decodeBmp(nullptr, 100));

  // Every truncation of the uncompressed file is refused (a copy of the
  // exact length, so that a read past it is caught by the sanitizers).
  for (size_t length = 0; length < strip.size(); ++length) {
    std::vector<unsigned char> cut(strip.begin(), strip.begin() + static_cast<long>(length));
    EXPECT_FALSE(decodeBmp(cut.data(), cut.size())) << length;
  }
  // Run-length data cut anywhere decodes what it has or is refused, but
  // never reads past its end.
  for (size_t length = 0; length < rle.size(); ++length) {
    std::vector<unsigned char> cut(rle.begin(), rle.begin() + static_cast<long>(length));
    (void)decodeBmp(cut.data(), cut.size());
  }

  auto changed = [](std::vector<unsigned char> bytes, size_t at, uint32_t value) {
    putU32(bytes, at, value);
    return decodeBmp(bytes.data(), bytes.size()).has_value();
  };
  EXPECT_FALSE(changed(strip, 10, 0x7FFFFFFF));  // pixel data beyond the file
  EXPECT_FALSE(changed(strip, 14, 12));          // an old-style header
  EXPECT_FALSE(changed(strip, 18, 0));           // no width
  EXPECT_FALSE(changed(strip, 18, 0x80000000));  // negative width
  EXPECT_FALSE(changed(strip, 22, 1u << 20));    // absurd height
  EXPECT_FALSE(changed(strip, 22, 100));         // more rows than bytes
  EXPECT_FALSE(changed(strip, 30, 3));           // bit fields
  EXPECT_FALSE(changed(rle, 46, 300));           // more palette entries than exist
  std::vector<unsigned char> sixteen = strip;
  sixteen[28] = 16;
  EXPECT_FALSE(decodeBmp(sixteen.data(), sixteen.size()));

  // A run-length stream whose runs and moves point outside the image draws
  // only inside it.
  std::vector<unsigned char> wild = rle;
  const size_t data = 66;
  const unsigned char runs[] = {255, 1, 0, 2, 200, 200, 3, 2, 0, 1};
  wild.resize(data + sizeof(runs));
  std::copy(std::begin(runs), std::end(runs), wild.begin() + data);
  putU32(wild, 2, static_cast<uint32_t>(wild.size()));
  (void)decodeBmp(wild.data(), wild.size());

  // Top-down 24-bit images come out the same way up.
  std::vector<unsigned char> flipped = strip;
  putU32(flipped, 22, static_cast<uint32_t>(-24));
  const auto up = decodeBmp(strip.data(), strip.size());
  const auto down = decodeBmp(flipped.data(), flipped.size());
  ASSERT_TRUE(down);
  EXPECT_EQ(up->pixels.front(), 0xFF00FFu);             // top-left: the magenta block
  EXPECT_EQ(down->pixels.front(), up->pixels[23 * 8]);  // its rows are read in the other order
}

}  // namespace
