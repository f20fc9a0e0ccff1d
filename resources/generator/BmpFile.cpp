#include "resources/generator/BmpFile.h"

#include <cstdio>

namespace art {
namespace {

void putLe16(std::vector<unsigned char>& out, std::uint32_t value) {
  out.push_back(static_cast<unsigned char>(value & 0xFF));
  out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void putLe32(std::vector<unsigned char>& out, std::uint32_t value) {
  putLe16(out, value & 0xFFFF);
  putLe16(out, value >> 16);
}

}  // namespace

std::vector<unsigned char> encodeBmp(const RgbImage& image) {
  const int rowBytes = bmpRowBytes(image.width);
  const auto pixelBytes = static_cast<std::uint32_t>(rowBytes) * static_cast<std::uint32_t>(image.height);
  std::vector<unsigned char> out;
  out.reserve(kBmpPixelOffset + pixelBytes);

  // File header.
  out.push_back('B');
  out.push_back('M');
  putLe32(out, kBmpPixelOffset + pixelBytes);
  putLe32(out, 0);  // two reserved words
  putLe32(out, kBmpPixelOffset);

  // Info header: a positive height means the rows are stored bottom-up.
  putLe32(out, kBmpInfoHeaderBytes);
  putLe32(out, static_cast<std::uint32_t>(image.width));
  putLe32(out, static_cast<std::uint32_t>(image.height));
  putLe16(out, 1);   // planes
  putLe16(out, 24);  // bits per pixel
  putLe32(out, 0);   // uncompressed
  putLe32(out, pixelBytes);
  putLe32(out, kBmpPixelsPerMetre);
  putLe32(out, kBmpPixelsPerMetre);
  putLe32(out, 0);  // colours used: none, there is no colour table
  putLe32(out, 0);  // important colours: all

  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t rgb = image.at(x, y);
      out.push_back(static_cast<unsigned char>(rgb & 0xFF));
      out.push_back(static_cast<unsigned char>((rgb >> 8) & 0xFF));
      out.push_back(static_cast<unsigned char>((rgb >> 16) & 0xFF));
    }
    for (int pad = image.width * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

bool writeBmpFile(const std::string& path, const RgbImage& image) {
  const std::vector<unsigned char> bytes = encodeBmp(image);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace art
