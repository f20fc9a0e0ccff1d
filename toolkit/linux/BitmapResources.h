// The bitmap resources of the module on this platform: BMP file bytes
// registered under their resource numbers (the library's embedded images,
// or a test's). Any thread.
#pragma once

#include <cstddef>
#include <cstdint>

struct BitmapResource {
  const unsigned char* bytes = nullptr;
  size_t size = 0;
};

// The bytes stay owned by the caller and must outlive their use.
void registerBitmapResource(int32_t resourceId, const unsigned char* bytes, size_t size);
// Empty when nothing is registered under the number.
BitmapResource findBitmapResource(int32_t resourceId);
