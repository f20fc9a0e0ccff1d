// Reads the bitmap files the resource compiler takes, refusing anything but
// 24-bit uncompressed bottom-up pictures with the 40-byte info header.
#pragma once

#include <string>

#include "resources/generator/BmpFile.h"

namespace test_support {

// The picture, or an empty one with the reason in `error`.
art::RgbImage readBitmapFile(const std::string& path, std::string& error);

// Luminance 0 ... 255 of a 0xRRGGBB pixel.
double luminance(std::uint32_t rgb);
inline int red(std::uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
inline int green(std::uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
inline int blue(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

}  // namespace test_support
