// The five bitmaps load by their numbers from what the library carries
// (compiled resources on Windows, embedded bytes elsewhere) with the sizes
// the editor's layout is built on, and the same pixels on both platforms.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/EditorBitmaps.h"
#include "resources/ResourceIds.h"
#include "tests/toolkit/TestPlatform.h"
#include "toolkit/drawing/CBitmap.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/drawing/COffscreenContext.h"

#ifdef _WIN32
#include <windows.h>

#include "host/ModuleHandle.h"
#else
#include "toolkit/linux/BitmapResources.h"
#endif

namespace {

struct Expected {
  int32_t id;
  const char* file;
  int32_t width;
  int32_t height;
};
constexpr Expected kBitmaps[] = {{IDB_BACK, "back.bmp", 304, 245},
                                 {IDB_KNOB, "knob.bmp", 60, 3840},
                                 {IDB_LOAD, "load.bmp", 73, 50},
                                 {IDB_LEFT, "left.bmp", 18, 40},
                                 {IDB_RIGHT, "right.bmp", 18, 40}};

TEST(EditorBitmapsTest, TheFiveBitmapsLoadByNumberWithTheirSizesAndPixels) {
#ifdef _WIN32
  setModuleInstanceHandle(GetModuleHandleA(nullptr));
#endif
  provideEditorBitmaps();
  provideEditorBitmaps();  // a second editor provides them again harmlessly
  for (const Expected& e : kBitmaps) {
    CBitmap bitmap(e.id);
    ASSERT_TRUE(bitmap.isLoaded()) << e.file;
    EXPECT_EQ(bitmap.getWidth(), e.width) << e.file;
    EXPECT_EQ(bitmap.getHeight(), e.height) << e.file;
#ifndef _WIN32
    std::ifstream in(std::string(ULMAR_RESOURCE_DIR) + "/" + e.file, std::ios::binary);
    const std::vector<unsigned char> committed((std::istreambuf_iterator<char>(in)), {});
    const BitmapResource embedded = findBitmapResource(e.id);
    ASSERT_EQ(embedded.size, committed.size()) << e.file;
    EXPECT_TRUE(std::equal(committed.begin(), committed.end(), embedded.bytes)) << e.file;
#endif
  }

  // Pixels the platforms must agree on: the background's corners and
  // middle, and the middle column of knob image 31.
  CFrame frame(CRect(0, 0, 304, 245), nullptr, nullptr);
  CBitmap back(IDB_BACK);
  CBitmap knob(IDB_KNOB);
  COffscreenContext canvas(&frame, 304, 245);
  back.draw(&canvas, CRect(0, 0, 304, 245));
  knob.draw(&canvas, CRect(0, 0, 60, 60), CPoint(0, 31 * 60));
  const toolkit_test::Pixels p = toolkit_test::readPixels(canvas);
  ASSERT_EQ(p.width, 304);
  uint32_t checksum = 0;
  for (int32_t y = 0; y < 245; y += 7) {
    for (int32_t x = 0; x < 304; x += 5) checksum = checksum * 31u + p.at(x, y);
  }
  // The same on every platform (a decoder or a resource path that differs
  // changes it); to be recomputed when the pictures are drawn anew.
  EXPECT_EQ(checksum, 2379906588u);
}

}  // namespace
