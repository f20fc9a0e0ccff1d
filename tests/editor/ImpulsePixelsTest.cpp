// The impulse panel drawn by the platform's renderer over the real window
// picture and copied to the window in one piece: at the defaults a flat
// line on the middle row, green up to column 137 and red from 138, the
// band tinting the green part, and the brightest marker pixels at x = 138.
#include <gtest/gtest.h>

#include <cstdint>

#include "editor/SmoothObjects.h"
#include "resources/EditorBitmaps.h"
#include "resources/ResourceIds.h"
#include "tests/editor/EditorViewFixture.h"
#include "tests/toolkit/TestPlatform.h"

#ifdef _WIN32
#include <windows.h>

#include "host/ModuleHandle.h"
#endif

namespace {

int channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFFu); }
int red(uint32_t rgb) { return channel(rgb, 16); }
int green(uint32_t rgb) { return channel(rgb, 8); }
int brightness(uint32_t rgb) { return red(rgb) + green(rgb) + channel(rgb, 0); }

TEST(ImpulsePixelsTest, DefaultsShowTheSplitFlatLineBandAndMarkerOverThePanel) {
#ifdef _WIN32
  setModuleInstanceHandle(GetModuleHandleA(nullptr));
#endif
  provideEditorBitmaps();
  SmoothDrawingSession session;
  ASSERT_TRUE(session.started());
  editor_test::EditorViews v;
  CBitmap picture(IDB_BACK);
  ASSERT_TRUE(picture.isLoaded());
  v.editor.background = &picture;
  v.display->draw(&v.window);
  const toolkit_test::Pixels p = toolkit_test::readPixels(v.window);
  ASSERT_EQ(p.width, 304);

  const int32_t left = 14;
  const int32_t row = 111 + 61;
  for (int32_t x : {1, 40, 100, 130}) {
    const uint32_t c = p.at(left + x, row);
    EXPECT_GT(green(c), 100) << "column " << x << std::hex << " " << c;
    EXPECT_LT(red(c), 60) << "column " << x;
  }
  for (int32_t x : {145, 200, 270}) {
    const uint32_t c = p.at(left + x, row);
    EXPECT_GT(red(c), 100) << "column " << x << std::hex << " " << c;
    EXPECT_LT(green(c), 60) << "column " << x;
  }
  // The band lightens the dark panel over the used part only.
  const uint32_t banded = p.at(left + 60, row - 20);
  const uint32_t plain = p.at(left + 200, row - 20);
  EXPECT_GT(brightness(banded), brightness(plain)) << std::hex << banded << " " << plain;
  // The marker: brightest at its middle, in column 138 of the panel.
  const uint32_t marker = p.at(left + 138, row - 10);
  EXPECT_GE(brightness(marker), brightness(p.at(left + 137, row - 10)));
  EXPECT_GE(brightness(marker), brightness(p.at(left + 139, row - 10)));
  EXPECT_GT(brightness(marker), 3 * 110) << std::hex << marker;
  // Nothing outside the panel is touched.
  EXPECT_EQ(p.at(left - 1, row), 0u);
  EXPECT_EQ(p.at(left + 276, row), 0u);
}

}  // namespace
