#include "toolkit/linux/BitmapResources.h"

#include <map>

namespace {

// Registered and read on the GUI thread.
std::map<int32_t, BitmapResource>& resources() {
  static std::map<int32_t, BitmapResource> table;
  return table;
}

}  // namespace

void registerBitmapResource(int32_t resourceId, const unsigned char* bytes, size_t size) {
  resources()[resourceId] = BitmapResource{bytes, size};
}

BitmapResource findBitmapResource(int32_t resourceId) {
  auto found = resources().find(resourceId);
  return found == resources().end() ? BitmapResource{} : found->second;
}
