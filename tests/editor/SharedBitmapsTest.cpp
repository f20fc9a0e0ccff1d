// The process-wide bitmaps when none of them loads (this program carries
// no usable bitmap resources): each is reported once, in the order back,
// knob, load, left, right, with its own caption and an empty text; a later
// editor reuses the same objects and reports nothing again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/SharedBitmaps.h"
#include "resources/ResourceIds.h"
#include "toolkit/drawing/CBitmap.h"

#ifndef _WIN32
#include "toolkit/linux/BitmapResources.h"
#endif

namespace {

std::vector<std::string>& reports() {
  static std::vector<std::string> seen;
  return seen;
}

void record(const char* text, const char* caption) { reports().push_back(std::string(caption) + "|" + text); }

TEST(SharedBitmapsTest, BitmapsThatDoNotLoadAreReportedOnceInOrderAndKept) {
#ifndef _WIN32
  // Damaged bytes where the bitmaps should be.
  static const unsigned char damaged[] = {'B', 'M', 0, 0};
  for (int id : {IDB_BACK, IDB_KNOB, IDB_LOAD, IDB_LEFT, IDB_RIGHT})
    registerBitmapResource(id, damaged, sizeof damaged);
#endif
  EXPECT_EQ(sharedBitmap(EditorBitmap::kBack), nullptr);
  createSharedBitmaps(record);
  const std::vector<std::string> expected{"IDB_BACK is not loaded!!!|", "IDB_KNOB is not loaded!!!|",
                                          "IDB_LOAD is not loaded!!!|", "IDB_LEFT is not loaded!!!|",
                                          "IDB_RIGHT is not loaded!!!|"};
  EXPECT_EQ(reports(), expected);

  CBitmap* first = sharedBitmap(EditorBitmap::kRight);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->isLoaded());
  EXPECT_EQ(first->getWidth(), 0);

  createSharedBitmaps(record);
  EXPECT_EQ(reports().size(), expected.size()) << "reported once per process";
  EXPECT_EQ(sharedBitmap(EditorBitmap::kRight), first) << "kept and reused";
}

}  // namespace
