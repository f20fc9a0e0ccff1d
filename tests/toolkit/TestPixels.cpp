#include <cstdio>

#include "tests/toolkit/TestPlatform.h"

namespace toolkit_test {

void writePpm(const Pixels& pixels, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fprintf(file, "P6\n%d %d\n255\n", pixels.width, pixels.height);
  for (uint32_t p : pixels.rgb) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                  static_cast<unsigned char>(p)};
    std::fwrite(rgb, 1, 3, file);
  }
  std::fclose(file);
}

}  // namespace toolkit_test
