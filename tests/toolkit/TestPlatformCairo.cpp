#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "tests/toolkit/TestPlatform.h"
#include "toolkit/drawing/COffscreenContext.h"
#include "toolkit/linux/BitmapResources.h"

namespace toolkit_test {

namespace {

// cairo keeps the fonts it used, and fontconfig its patterns, until the
// process ends; freeing them at the end keeps the leak checker's report to
// the toolkit's own memory.
class FontCaches : public ::testing::Environment {
 public:
  void TearDown() override {
    cairo_debug_reset_static_data();
    FcFini();
  }
};

const auto* const kFontCaches = ::testing::AddGlobalTestEnvironment(new FontCaches);

}  // namespace

Pixels readPixels(COffscreenContext& offscreen) {
  Pixels result;
  auto* surface = static_cast<cairo_surface_t*>(offscreen.getBitmapHandle());
  if (!surface) return result;
  cairo_surface_flush(surface);
  result.width = cairo_image_surface_get_width(surface);
  result.height = cairo_image_surface_get_height(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int32_t stride = cairo_image_surface_get_stride(surface);
  for (int32_t y = 0; y < result.height; ++y) {
    auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int32_t x = 0; x < result.width; ++x) result.rgb.push_back(row[x] & 0xFFFFFFu);
  }
  return result;
}

void provideTestBitmaps() {
  static std::map<int32_t, std::vector<unsigned char>> files;
  const std::pair<int32_t, const char*> names[] = {
      {kStripBitmap, "strip24.bmp"}, {kPaletteBitmap, "pal8.bmp"}, {kRunLengthBitmap, "rle8.bmp"}};
  for (const auto& [id, name] : names) {
    std::ifstream in(std::string(ULMAR_TOOLKIT_TEST_BITMAPS) + "/" + name, std::ios::binary);
    files[id].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    registerBitmapResource(id, files[id].data(), files[id].size());
  }
}

void setBlendFunctionsBound(bool) {}

const char* backendName() { return "cairo"; }

}  // namespace toolkit_test
