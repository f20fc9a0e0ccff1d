// The committed bitmaps as the editor will use them: numbered as the header
// says, of the sizes its views take, the knob turning the right way, the
// buttons' states told apart, and the window picture leaving plain ground
// where text and curves are drawn over it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include "resources/ResourceIds.h"
#include "tests/resources/BitmapFile.h"

namespace {

using test_support::blue;
using test_support::green;
using test_support::luminance;
using test_support::red;

std::string resourceDir() {
  const char* dir = std::getenv("ULMAR_RESOURCE_DIR");
  return dir != nullptr ? dir : "resources";
}

art::RgbImage load(const std::string& name) {
  std::string error;
  art::RgbImage image = test_support::readBitmapFile(resourceDir() + "/" + name, error);
  EXPECT_EQ(error, "");
  return image;
}

struct Expected {
  int id;
  const char* file;
  int width;
  int height;
};

TEST(ResourceArt, ScriptNumbersEachBitmapOfItsSize) {
  const Expected expected[] = {{IDB_KNOB, "knob.bmp", 60, 64 * 60},
                               {IDB_BACK, "back.bmp", 304, 245},
                               {IDB_LOAD, "load.bmp", 73, 2 * 25},
                               {IDB_LEFT, "left.bmp", 18, 2 * 20},
                               {IDB_RIGHT, "right.bmp", 18, 2 * 20}};
  EXPECT_EQ(IDB_KNOB, 102);
  EXPECT_EQ(IDB_BACK, 103);
  EXPECT_EQ(IDB_LOAD, 106);
  EXPECT_EQ(IDB_LEFT, 107);
  EXPECT_EQ(IDB_RIGHT, 108);

  std::ifstream script(resourceDir() + "/Ulmar_v1.rc");
  ASSERT_TRUE(script.good());
  // Lines of the form: NUMBER BITMAP "FILE".
  std::map<int, std::string> numbered;
  for (std::string line; std::getline(script, line);) {
    std::istringstream words(line);
    int id = 0;
    std::string kind;
    std::string file;
    if (!(words >> id >> kind >> file) || kind != "BITMAP") continue;
    ASSERT_TRUE(file.size() > 2 && file.front() == '"' && file.back() == '"') << line;
    EXPECT_TRUE(numbered.emplace(id, file.substr(1, file.size() - 2)).second) << "twice: " << line;
  }
  EXPECT_EQ(numbered.size(), std::size(expected));
  for (const Expected& bitmap : expected) {
    SCOPED_TRACE(bitmap.file);
    EXPECT_EQ(numbered[bitmap.id], bitmap.file);
    const art::RgbImage image = load(bitmap.file);
    EXPECT_EQ(image.width, bitmap.width);
    EXPECT_EQ(image.height, bitmap.height);
  }
}

// The pointer's direction in each knob image, from the centroid of its
// near-white pixels, in degrees clockwise from twelve o'clock.
TEST(ResourceArt, KnobTurnsClockwiseFromSevenThroughTwelveToFive) {
  const art::RgbImage strip = load("knob.bmp");
  const art::RgbImage back = load("back.bmp");
  ASSERT_EQ(strip.height, 64 * 60);
  ASSERT_EQ(back.width, 304);
  const int knobLefts[] = {7, 79, 151};
  constexpr int kTop = 8;

  for (int image = 0; image < 64; ++image) {
    SCOPED_TRACE(image);
    double sumX = 0.0;
    double sumY = 0.0;
    int count = 0;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 60; ++x) {
        const std::uint32_t p = strip.at(x, image * 60 + y);
        const double dx = x + 0.5 - 30.0;
        const double dy = y + 0.5 - 30.0;
        if (red(p) > 200 && green(p) > 200 && blue(p) > 200 && std::hypot(dx, dy) < 20.0) {
          sumX += dx;
          sumY += dy;
          ++count;
        }
      }
    }
    ASSERT_GT(count, 8);
    const double angle = std::atan2(sumX / count, -sumY / count) * 180.0 / std::numbers::pi;
    // Linear in the image: twelve at 32, 150 degrees either side at 0 and 64.
    EXPECT_NEAR(angle, (image - 32) * 150.0 / 32.0, 3.0);

    // Every image sits on the well the window picture has under each knob:
    // its outer frame equals the picture there, so no seam shows.
    int seams = 0;
    for (int k = 0; k < 60; ++k) {
      for (const int left : knobLefts) {
        seams += strip.at(k, image * 60) != back.at(left + k, kTop);
        seams += strip.at(k, image * 60 + 59) != back.at(left + k, kTop + 59);
        seams += strip.at(0, image * 60 + k) != back.at(left, kTop + k);
        seams += strip.at(59, image * 60 + k) != back.at(left + 59, kTop + k);
      }
    }
    EXPECT_EQ(seams, 0);
  }
}

double meanLuminance(const art::RgbImage& image, int top, int height) {
  double sum = 0.0;
  for (int y = top; y < top + height; ++y) {
    for (int x = 0; x < image.width; ++x) sum += luminance(image.at(x, y));
  }
  return sum / (image.width * height);
}

int countPixels(const art::RgbImage& image, int top, int height, bool (*matches)(std::uint32_t)) {
  int count = 0;
  for (int y = top; y < top + height; ++y) {
    for (int x = 0; x < image.width; ++x) count += matches(image.at(x, y)) ? 1 : 0;
  }
  return count;
}

bool isRedLetter(std::uint32_t p) { return red(p) > 150 && green(p) < 90 && blue(p) < 90; }
bool isLightText(std::uint32_t p) { return luminance(p) > 150; }

TEST(ResourceArt, ButtonStatesAreTellable) {
  for (const char* name : {"left.bmp", "right.bmp"}) {
    SCOPED_TRACE(name);
    const art::RgbImage image = load(name);
    ASSERT_EQ(image.height, 40);
    // Off above, bright; on below, dark; a red letter on both.
    EXPECT_GT(meanLuminance(image, 0, 20), meanLuminance(image, 20, 20) + 60.0);
    EXPECT_GT(countPixels(image, 0, 20, isRedLetter), 10);
    EXPECT_GT(countPixels(image, 20, 20, isRedLetter), 10);
  }
  const art::RgbImage loadButton = load("load.bmp");
  ASSERT_EQ(loadButton.height, 50);
  // Released above, pressed below, the word readable on both.
  EXPECT_GT(meanLuminance(loadButton, 0, 25), meanLuminance(loadButton, 25, 25) + 10.0);
  EXPECT_GT(countPixels(loadButton, 0, 25, isLightText), 20);
  EXPECT_GT(countPixels(loadButton, 25, 25, isLightText), 20);
}

// WCAG contrast ratio between two luminances (linear light).
double contrast(std::uint32_t a, std::uint32_t b) {
  auto linear = [](int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  auto relative = [&](std::uint32_t p) {
    return 0.2126 * linear(red(p)) + 0.7152 * linear(green(p)) + 0.0722 * linear(blue(p));
  };
  const double la = relative(a);
  const double lb = relative(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ResourceArt, WindowPictureLeavesPlainGroundUnderDrawnText) {
  const art::RgbImage back = load("back.bmp");
  ASSERT_EQ(back.width, 304);
  ASSERT_EQ(back.height, 245);
  constexpr std::uint32_t kReadoutText = 0xC8C8C8;
  constexpr std::uint32_t kWithinLength = 0x009600;
  constexpr std::uint32_t kBeyondLength = 0x960000;
  constexpr std::uint32_t kDarkestMarker = 0x6E6E6E;

  // The impulse panel: one flat dark colour on which the curve, its band,
  // marker and texts stand out.
  const std::uint32_t panel = back.at(14, 111);
  for (int y = 111; y < 233; ++y) {
    for (int x = 14; x < 290; ++x) ASSERT_EQ(back.at(x, y), panel) << x << "," << y;
  }
  EXPECT_GT(contrast(panel, kReadoutText), 10.0);
  EXPECT_GT(contrast(panel, kWithinLength), 4.0);
  // (150, 0, 0) reaches at most 2.3 even on black.
  EXPECT_GT(contrast(panel, kBeyondLength), 2.0);
  EXPECT_GT(contrast(panel, kDarkestMarker), 3.0);
  // The read-outs: nothing printed where their text goes (each row one
  // colour), dark enough for their light grey text; the captions sit
  // above them, under the knobs.
  const int readouts[3][4] = {{7, 85, 67, 105}, {79, 85, 139, 105}, {136, 85, 226, 105}};
  for (const auto& r : readouts) {
    SCOPED_TRACE(r[0]);
    for (int y = r[1]; y <= r[3]; ++y) {
      for (int x = r[0]; x <= r[2]; ++x) ASSERT_EQ(back.at(x, y), back.at(r[0], y)) << x << "," << y;
      EXPECT_GT(contrast(back.at(r[0], y), kReadoutText), 4.5);
    }
  }
  const int knobLefts[] = {7, 79, 151};
  for (const int left : knobLefts) {
    int caption = 0;
    for (int y = 68; y < 85; ++y) {
      for (int x = left; x < left + 60; ++x) caption += luminance(back.at(x, y)) > 110 ? 1 : 0;
    }
    EXPECT_GT(caption, 15) << left;
  }

  // The logo and the address sit in the link area at the top right.
  int logo = 0;
  int address = 0;
  for (int y = 0; y < 41; ++y) {
    for (int x = 212; x < 303; ++x) {
      const std::uint32_t p = back.at(x, y);
      logo += red(p) > 200 && green(p) > 120 && blue(p) < 100 ? 1 : 0;
      address += y > 28 && luminance(p) > 90 ? 1 : 0;
    }
  }
  EXPECT_GT(logo, 150);
  EXPECT_GT(address, 40);
}

}  // namespace
