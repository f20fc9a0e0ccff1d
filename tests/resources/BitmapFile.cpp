#include "tests/resources/BitmapFile.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace test_support {
namespace {

std::uint32_t le(const std::vector<unsigned char>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

}  // namespace

art::RgbImage readBitmapFile(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < art::kBmpPixelOffset) {
    error = path + ": shorter than the headers";
    return {};
  }
  const auto width = static_cast<std::int32_t>(le(bytes, 18, 4));
  const auto height = static_cast<std::int32_t>(le(bytes, 22, 4));
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  const std::size_t pixelBytes = rowBytes * static_cast<std::size_t>(height);
  struct Field {
    const char* name;
    std::size_t at;
    int size;
    std::uint32_t expected;
  };
  const Field fields[] = {
      {"signature", 0, 2, 0x4D42},  // "BM"
      {"file size", 2, 4, static_cast<std::uint32_t>(art::kBmpPixelOffset + pixelBytes)},
      {"reserved", 6, 4, 0},
      {"pixel offset", 10, 4, art::kBmpPixelOffset},
      {"info header size", 14, 4, art::kBmpInfoHeaderBytes},
      {"planes", 26, 2, 1},
      {"bits per pixel", 28, 2, 24},
      {"compression", 30, 4, 0},
      {"image size", 34, 4, static_cast<std::uint32_t>(pixelBytes)},
      {"horizontal resolution", 38, 4, art::kBmpPixelsPerMetre},
      {"vertical resolution", 42, 4, art::kBmpPixelsPerMetre},
      {"colours used", 46, 4, 0},
      {"important colours", 50, 4, 0},
  };
  if (width <= 0 || height <= 0) {
    error = path + ": not a bottom-up picture with a positive size";
    return {};
  }
  for (const Field& field : fields) {
    if (le(bytes, field.at, field.size) != field.expected) {
      error = path + ": " + field.name + " is " + std::to_string(le(bytes, field.at, field.size)) + ", not " +
              std::to_string(field.expected);
      return {};
    }
  }
  if (bytes.size() != art::kBmpPixelOffset + pixelBytes) {
    error = path + ": the file's length disagrees with its header";
    return {};
  }
  art::RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const std::size_t row = art::kBmpPixelOffset + rowBytes * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) * 3;
      image.pixels[static_cast<std::size_t>(y) * width + x] = (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
                                                              (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
                                                              bytes[at];
    }
  }
  return image;
}

double luminance(std::uint32_t rgb) { return 0.2126 * red(rgb) + 0.7152 * green(rgb) + 0.0722 * blue(rgb); }

}  // namespace test_support
