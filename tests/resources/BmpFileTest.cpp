// The encoder's bytes, field by field, for pictures whose rows need each
// amount of padding.
#include <gtest/gtest.h>

#include <vector>

#include "resources/generator/BmpFile.h"

namespace {

std::uint32_t le32(const std::vector<unsigned char>& bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

TEST(BmpFile, HeadersRowsAndPaddingForEveryRowLength) {
  for (int width = 1; width <= 4; ++width) {
    SCOPED_TRACE(width);
    const int height = 2;
    art::RgbImage image;
    image.width = width;
    image.height = height;
    // Every pixel distinct: red from the row, green from the column, a fixed blue.
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) image.pixels.push_back(0x100000u * (y + 1) + 0x1000u * (x + 1) + 0x7Au);
    }
    const std::vector<unsigned char> bytes = art::encodeBmp(image);
    const std::size_t rowBytes = width == 4 ? 12 : static_cast<std::size_t>(width) * 4;
    ASSERT_EQ(bytes.size(), 54 + rowBytes * height);

    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(le32(bytes, 2), bytes.size());
    EXPECT_EQ(le32(bytes, 6), 0u);
    EXPECT_EQ(le32(bytes, 10), 54u);
    EXPECT_EQ(le32(bytes, 14), 40u);
    EXPECT_EQ(le32(bytes, 18), static_cast<std::uint32_t>(width));
    EXPECT_EQ(le32(bytes, 22), static_cast<std::uint32_t>(height));  // positive: bottom-up
    EXPECT_EQ(le32(bytes, 26), 1u | (24u << 16));                    // one plane, 24 bits
    EXPECT_EQ(le32(bytes, 30), 0u);                                  // uncompressed
    EXPECT_EQ(le32(bytes, 34), rowBytes * height);
    EXPECT_EQ(le32(bytes, 38), 2835u);
    EXPECT_EQ(le32(bytes, 42), 2835u);
    EXPECT_EQ(le32(bytes, 46), 0u);
    EXPECT_EQ(le32(bytes, 50), 0u);

    for (int stored = 0; stored < height; ++stored) {
      const int y = height - 1 - stored;  // the bottom row comes first
      const std::size_t row = 54 + rowBytes * stored;
      for (int x = 0; x < width; ++x) {
        const std::size_t at = row + 3 * x;
        EXPECT_EQ(bytes[at], 0x7A);                // blue
        EXPECT_EQ(bytes[at + 1], (x + 1) * 0x10);  // green
        EXPECT_EQ(bytes[at + 2], (y + 1) * 0x10);  // red
      }
      for (std::size_t pad = row + 3 * width; pad < row + rowBytes; ++pad) EXPECT_EQ(bytes[pad], 0);
    }
  }
}

}  // namespace
