// Windows bitmap files as the resource compiler takes them: 24 bits per
// pixel, uncompressed, a 40-byte info header, rows bottom-up and padded to
// four bytes, no colour table. The bytes depend on the pixels alone, so a
// picture drawn twice gives the same file twice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// An opaque picture: pixels 0xRRGGBB, rows from top to bottom.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

constexpr int kBmpFileHeaderBytes = 14;
constexpr int kBmpInfoHeaderBytes = 40;
constexpr int kBmpPixelOffset = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;
// 72 dots per inch in pixels per metre; a fixed value, never the screen's.
constexpr std::int32_t kBmpPixelsPerMetre = 2835;

// Bytes of one stored row: three per pixel, padded to a multiple of four.
constexpr int bmpRowBytes(int width) { return (width * 3 + 3) / 4 * 4; }

std::vector<unsigned char> encodeBmp(const RgbImage& image);

// Writes the encoded picture; false when the file cannot be written whole.
bool writeBmpFile(const std::string& path, const RgbImage& image);

}  // namespace art
