#include "editor/SharedBitmaps.h"

#include <mutex>

#include "resources/ResourceIds.h"
#include "toolkit/drawing/CBitmap.h"

namespace {

struct BitmapEntry {
  int resourceId;
  const char* failureCaption;
};

// In the order they are created.
constexpr BitmapEntry kEntries[kEditorBitmapCount] = {{IDB_BACK, "IDB_BACK is not loaded!!!"},
                                                      {IDB_KNOB, "IDB_KNOB is not loaded!!!"},
                                                      {IDB_LOAD, "IDB_LOAD is not loaded!!!"},
                                                      {IDB_LEFT, "IDB_LEFT is not loaded!!!"},
                                                      {IDB_RIGHT, "IDB_RIGHT is not loaded!!!"}};

CBitmap* shared[kEditorBitmapCount] = {};
// Hosts may create instances, and with them editors, on several threads at
// once: the first creation is made by one of them only.
std::mutex creation;

// The bitmaps go with the module: a host that unloads the plug-in (after a
// scan, or between projects) gets their memory back.
struct ReleasedAtUnload {
  ~ReleasedAtUnload() {
    for (CBitmap*& bitmap : shared) {
      if (bitmap) bitmap->release();
      bitmap = nullptr;
    }
  }
} releasedAtUnload;

}  // namespace

void createSharedBitmaps(MessageSink report) {
  const std::lock_guard<std::mutex> lock(creation);
  for (int i = 0; i < kEditorBitmapCount; ++i) {
    if (shared[i]) continue;
    shared[i] = new CBitmap(kEntries[i].resourceId);
    if (!shared[i]->isLoaded() && report) report("", kEntries[i].failureCaption);
  }
}

CBitmap* sharedBitmap(EditorBitmap which) { return shared[static_cast<int>(which)]; }
