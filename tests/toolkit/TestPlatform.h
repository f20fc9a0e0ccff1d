// What the toolkit tests need from the back-end they run on: the pixels of
// an offscreen, the test bitmaps as resources, and the late-bound blending
// functions switched off and on. One implementation per back-end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class COffscreenContext;

namespace toolkit_test {

// Resource numbers of the test bitmaps (tests/toolkit/bitmaps).
inline constexpr int32_t kStripBitmap = 201;  // 8 x 24, three frames of 8 rows
inline constexpr int32_t kPaletteBitmap = 202;
inline constexpr int32_t kRunLengthBitmap = 203;

struct Pixels {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> rgb;  // 0xRRGGBB, top row first
  uint32_t at(int32_t x, int32_t y) const {
    return rgb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
};

Pixels readPixels(COffscreenContext& offscreen);
// Makes the test bitmaps loadable by their resource numbers.
void provideTestBitmaps();
// Binds or clears AlphaBlend and TransparentBlt where the back-end binds
// them at run time; the cairo back-end always blends itself.
void setBlendFunctionsBound(bool bound);
const char* backendName();

// Writes the pixels as a binary PPM file (for a look at a drawing).
void writePpm(const Pixels& pixels, const std::string& path);

}  // namespace toolkit_test
