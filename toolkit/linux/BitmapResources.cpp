#include "toolkit/linux/BitmapResources.h"

#include <map>
#include <mutex>

namespace {

// Editors register their bitmaps as they are made, with their effects, on
// whichever threads the host creates instances on.
std::mutex tableLock;

std::map<int32_t, BitmapResource>& resources() {
  static std::map<int32_t, BitmapResource> table;
  return table;
}

}  // namespace

void registerBitmapResource(int32_t resourceId, const unsigned char* bytes, size_t size) {
  const std::lock_guard<std::mutex> lock(tableLock);
  resources()[resourceId] = BitmapResource{bytes, size};
}

BitmapResource findBitmapResource(int32_t resourceId) {
  const std::lock_guard<std::mutex> lock(tableLock);
  auto found = resources().find(resourceId);
  return found == resources().end() ? BitmapResource{} : found->second;
}
