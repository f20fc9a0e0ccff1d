#include "toolkit/linux/BmpDecoder.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
// Larger images are refused rather than allocated.
constexpr int32_t kMaxSide = 16384;
constexpr size_t kMaxRunLength = 255;

uint32_t readU16(const unsigned char* p) { return p[0] | (uint32_t{p[1]} << 8); }
uint32_t readU32(const unsigned char* p) { return readU16(p) | (readU16(p + 2) << 16); }
int32_t readI32(const unsigned char* p) { return static_cast<int32_t>(readU32(p)); }

uint32_t rgb(unsigned char r, unsigned char g, unsigned char b) { return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b; }

// Writes the pixel of row `rowFromBottom` (or from the top) and column x.
struct Canvas {
  DecodedBitmap& image;
  bool topDown;
  void set(int32_t x, int32_t row, uint32_t colour) {
    if (x < 0 || x >= image.width || row < 0 || row >= image.height) return;
    const int32_t y = topDown ? row : image.height - 1 - row;
    image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)] = colour;
  }
};

bool decodeRle8(const unsigned char* data, size_t size, const std::vector<uint32_t>& palette, Canvas canvas) {
  size_t at = 0;
  int32_t x = 0;
  int32_t row = 0;
  auto colourOf = [&palette](unsigned char index) { return index < palette.size() ? palette[index] : 0u; };
  while (at + 2 <= size) {
    const unsigned char count = data[at];
    const unsigned char value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int32_t i = 0; i < count; ++i) canvas.set(x++, row, colourOf(value));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      return true;
    } else if (value == 2) {  // move right and up
      if (at + 2 > size) return false;
      x += data[at];
      row += data[at + 1];
      at += 2;
    } else {  // `value` literal indices, padded to an even count
      const size_t padded = (value + 1u) & ~size_t{1};
      if (at + padded > size) return false;
      for (size_t i = 0; i < value; ++i) canvas.set(x++, row, colourOf(data[at + i]));
      at += padded;
    }
    if (row > canvas.image.height) return false;
  }
  // A stream without its end marker still yields what it drew.
  return true;
}

}  // namespace

std::optional<DecodedBitmap> decodeBmp(const unsigned char* bytes, size_t size) {
  if (!bytes || size < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint32_t bitsOffset = readU32(bytes + 10);
  const unsigned char* info = bytes + kFileHeaderSize;
  const uint32_t infoSize = readU32(info);
  if (infoSize < kInfoHeaderSize || infoSize > size - kFileHeaderSize) return std::nullopt;
  const int32_t width = readI32(info + 4);
  const int32_t signedHeight = readI32(info + 8);
  const uint32_t planes = readU16(info + 12);
  const uint32_t bitCount = readU16(info + 14);
  const uint32_t compression = readU32(info + 16);
  const uint32_t coloursUsed = readU32(info + 32);
  if (planes != 1 || width <= 0 || width > kMaxSide || signedHeight == 0 || signedHeight < -kMaxSide ||
      signedHeight > kMaxSide)
    return std::nullopt;
  const bool topDown = signedHeight < 0;
  const int32_t height = topDown ? -signedHeight : signedHeight;
  const bool supported = (bitCount == 24 && compression == kRgb) ||
                         (bitCount == 8 && (compression == kRgb || (compression == kRle8 && !topDown)));
  if (!supported || bitsOffset > size) return std::nullopt;

  std::vector<uint32_t> palette;
  if (bitCount == 8) {
    const uint32_t entries = coloursUsed == 0 ? 256 : coloursUsed;
    const size_t paletteAt = kFileHeaderSize + infoSize;
    if (entries > 256 || paletteAt + size_t{entries} * 4 > bitsOffset) return std::nullopt;
    for (uint32_t i = 0; i < entries; ++i) {
      const unsigned char* e = bytes + paletteAt + size_t{i} * 4;  // blue, green, red, unused
      palette.push_back(rgb(e[2], e[1], e[0]));
    }
  }

  // The pixels the data can describe are checked before any are allocated:
  // the header alone could ask for a gigabyte.
  const unsigned char* data = bytes + bitsOffset;
  const size_t dataSize = size - bitsOffset;
  const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  const size_t bytesPerPixel = bitCount / 8;
  const size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};
  if (compression == kRle8) {
    // A run draws at most 255 pixels per two bytes; an image that leaves
    // more of itself undrawn (by line ends and jumps) is no resource of ours.
    if (pixelCount > dataSize / 2 * kMaxRunLength) return std::nullopt;
  } else if (stride * static_cast<size_t>(height) > dataSize) {
    return std::nullopt;
  }

  DecodedBitmap image;
  image.width = width;
  image.height = height;
  image.pixels.assign(pixelCount, 0);
  Canvas canvas{image, topDown};
  if (compression == kRle8) {
    if (!decodeRle8(data, dataSize, palette, canvas)) return std::nullopt;
    return image;
  }
  for (int32_t row = 0; row < height; ++row) {
    const unsigned char* line = data + stride * static_cast<size_t>(row);
    for (int32_t x = 0; x < width; ++x) {
      if (bitCount == 24) {
        const unsigned char* p = line + static_cast<size_t>(x) * 3;  // blue, green, red
        canvas.set(x, row, rgb(p[2], p[1], p[0]));
      } else {
        const unsigned char index = line[x];
        canvas.set(x, row, index < palette.size() ? palette[index] : 0u);
      }
    }
  }
  return image;
}
