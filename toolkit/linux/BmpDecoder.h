// Decodes the Windows bitmap files the toolkit ships as resources: 24-bit
// uncompressed, and 8-bit palette images uncompressed or run-length
// encoded. Every size and offset is checked against the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct DecodedBitmap {
  int32_t width = 0;
  int32_t height = 0;
  // Top row first, 0x00RRGGBB per pixel.
  std::vector<uint32_t> pixels;
};

std::optional<DecodedBitmap> decodeBmp(const unsigned char* bytes, size_t size);
