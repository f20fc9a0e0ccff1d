// libFuzzer target: the bitmap decoder, run under a memory limit (see
// scripts/fuzz.sh) so that an allocation the data cannot fill is caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "toolkit/linux/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto image = decodeBmp(data, size);
  if (!image) return 0;
  if (image->width <= 0 || image->height <= 0) std::abort();
  if (image->pixels.size() != static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height)) {
    std::abort();
  }
  return 0;
}
