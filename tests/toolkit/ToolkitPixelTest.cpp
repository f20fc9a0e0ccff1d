// Drawing contexts, offscreens and bitmaps, checked by their pixels. The
// same source runs on the GDI back-end (under Wine) and on the cairo one,
// so both must put every pixel in the same place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/toolkit/TestPlatform.h"
#include "toolkit/drawing/CBitmap.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/drawing/COffscreenContext.h"
#include "toolkit/views/MouseInput.h"

namespace {

using toolkit_test::Pixels;
using toolkit_test::readPixels;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kFrameColours[3] = {0xC82828, 0x28C828, 0x2828C8};
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kGrey = 0x7F7F7F;

uint32_t rgbOf(const CColor& c) { return (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue; }

// Every pixel that `expected` says, and the count of pixels that differ.
template <typename Expected>
int countMismatches(const Pixels& pixels, Expected expected) {
  int mismatches = 0;
  for (int32_t y = 0; y < pixels.height; ++y) {
    for (int32_t x = 0; x < pixels.width; ++x) {
      if (pixels.at(x, y) != expected(x, y)) {
        if (mismatches < 8) ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << std::hex << pixels.at(x, y);
        ++mismatches;
      }
    }
  }
  return mismatches;
}

bool inside(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return x >= left && x <= right && y >= top && y <= bottom;
}

// Saves a picture of the drawing when ULMAR_TOOLKIT_DUMP names a folder.
void dump(const Pixels& pixels, const char* name) {
  if (const char* folder = std::getenv("ULMAR_TOOLKIT_DUMP")) {
    toolkit_test::writePpm(pixels, std::string(folder) + "/" + toolkit_test::backendName() + "-" + name + ".ppm");
  }
}

class PixelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    toolkit_test::provideTestBitmaps();
    toolkit_test::setBlendFunctionsBound(true);
  }
  void TearDown() override { toolkit_test::setBlendFunctionsBound(true); }
};

TEST_F(PixelTest, RectanglesAndLinesCoverExactlyTheirPixels) {
  auto* offscreen = new COffscreenContext(nullptr, 120, 40, kBlackCColor);
  ASSERT_NE(offscreen->getBitmapHandle(), nullptr);
  offscreen->setFillColor(kWhiteCColor);
  offscreen->fillRect(CRect(10, 10, 20, 20));  // x 11..19, y 11..19
  offscreen->setLineColor(kRedCColor);
  offscreen->drawRect(CRect(30, 10, 40, 20), 0);  // outline x 30..39, y 10..19
  offscreen->setFillColor(kGreenCColor);
  offscreen->drawRect(CRect(50, 10, 60, 20), 1);  // filled x 50..59, y 10..19
  offscreen->setFillColor(kBlueCColor);
  offscreen->drawRect(CRect(70, 10, 80, 20), 2);  // blue inside a red outline
  offscreen->setLineColor(kYellowCColor);
  offscreen->moveTo(CPoint(90, 10));
  offscreen->lineTo(CPoint(100, 10));  // x 90..99
  offscreen->lineTo(CPoint(100, 20));  // y 10..19 at x 100
  offscreen->moveTo(CPoint(90, 25));
  offscreen->lineTo(CPoint(95, 30));  // the diagonal (90,25)..(94,29)
  EXPECT_EQ(offscreen->getPenLocation(), CPoint(95, 30));

  const Pixels pixels = readPixels(*offscreen);
  dump(pixels, "rectangles");
  const uint32_t red = rgbOf(kRedCColor);
  EXPECT_EQ(0, countMismatches(pixels, [&](int32_t x, int32_t y) -> uint32_t {
              if (inside(x, y, 11, 11, 19, 19)) return kWhite;
              const bool outline30 = inside(x, y, 30, 10, 39, 19) && !inside(x, y, 31, 11, 38, 18);
              if (outline30) return red;
              if (inside(x, y, 50, 10, 59, 19)) return rgbOf(kGreenCColor);
              if (inside(x, y, 70, 10, 79, 19)) return inside(x, y, 71, 11, 78, 18) ? rgbOf(kBlueCColor) : red;
              if (y == 10 && inside(x, y, 90, 10, 99, 10)) return rgbOf(kYellowCColor);
              if (x == 100 && inside(x, y, 100, 10, 100, 19)) return rgbOf(kYellowCColor);
              if (inside(x, y, 90, 25, 94, 29) && x - 90 == y - 25) return rgbOf(kYellowCColor);
              return kBlack;
            }));
  offscreen->release();
}

TEST_F(PixelTest, DottedPenDrawsThreeOnThreeOffFromEachLineStart) {
  auto* offscreen = new COffscreenContext(nullptr, 30, 4, kBlackCColor);
  offscreen->setLineColor(kWhiteCColor);  // the background colour until now
  offscreen->setLineStyle(kLineOnOffDash);
  offscreen->moveTo(CPoint(0, 1));
  offscreen->lineTo(CPoint(20, 1));
  offscreen->moveTo(CPoint(0, 3));
  offscreen->lineTo(CPoint(5, 3));
  offscreen->lineTo(CPoint(12, 3));
  const Pixels pixels = readPixels(*offscreen);
  EXPECT_EQ(0, countMismatches(pixels, [](int32_t x, int32_t y) -> uint32_t {
              if (y == 1 && x < 20) return (x / 3) % 2 == 0 ? kWhite : kBlack;
              if (y == 3 && x < 5) return x / 3 == 0 ? kWhite : kBlack;
              if (y == 3 && x >= 5 && x < 12) return ((x - 5) / 3) % 2 == 0 ? kWhite : kBlack;
              return kBlack;
            }));
  offscreen->release();
}

TEST_F(PixelTest, ClipIsStoredInDeviceCoordinatesAndNothingLandsOutsideIt) {
  auto* offscreen = new COffscreenContext(nullptr, 30, 30, kBlackCColor);
  offscreen->offset = CPoint(5, 5);
  offscreen->setClipRect(CRect(0, 0, 10, 10));
  CRect clip;
  EXPECT_EQ(offscreen->getClipRect(clip), CRect(0, 0, 10, 10));
  offscreen->offset = CPoint(0, 0);
  EXPECT_EQ(offscreen->getClipRect(clip), CRect(5, 5, 15, 15));
  offscreen->offset = CPoint(5, 5);
  offscreen->setFillColor(kWhiteCColor);
  offscreen->drawRect(CRect(-5, -5, 25, 25), 1);
  offscreen->setLineColor(kRedCColor);
  offscreen->moveTo(CPoint(-5, 12));
  offscreen->lineTo(CPoint(25, 12));  // outside the clip: nothing
  const Pixels pixels = readPixels(*offscreen);
  EXPECT_EQ(0,
            countMismatches(pixels, [](int32_t x, int32_t y) { return inside(x, y, 5, 5, 14, 14) ? kWhite : kBlack; }));

  offscreen->resetClipRect();  // no frame: (0,0,1000,1000)
  offscreen->offset = CPoint(0, 0);
  EXPECT_EQ(offscreen->getClipRect(clip), CRect(0, 0, 1000, 1000));
  offscreen->release();
}

TEST_F(PixelTest, DrawModesApplyToLinesAndPolygonsNotToRectangleFills) {
  const CColor below{0x0C, 0xF0, 0x0F, 255};
  const CColor pen{0x30, 0x0F, 0xF0, 255};
  auto* offscreen = new COffscreenContext(nullptr, 30, 10, below);
  offscreen->setLineColor(pen);
  offscreen->setFillColor(pen);
  const int32_t modes[3] = {kOrMode, kXorMode, 7};  // 7, like any other value, copies
  for (int i = 0; i < 3; ++i) {
    const int32_t left = 10 * i;
    offscreen->setDrawMode(modes[i]);
    offscreen->moveTo(CPoint(left, 1));
    offscreen->lineTo(CPoint(left + 10, 1));
    const CPoint square[4] = {CPoint(left, 3), CPoint(left + 10, 3), CPoint(left + 10, 6), CPoint(left, 6)};
    offscreen->fillPolygon(square, 4);
    offscreen->drawRect(CRect(left, 7, left + 10, 10), 1);
  }
  EXPECT_EQ(offscreen->getDrawMode(), 7);
  const Pixels pixels = readPixels(*offscreen);
  const uint32_t b = rgbOf(below);
  const uint32_t p = rgbOf(pen);
  const uint32_t expected[3] = {b | p, ~(b ^ p) & 0xFFFFFFu, p};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(pixels.at(10 * i + 5, 1), expected[i]) << "line, mode " << modes[i];
    EXPECT_EQ(pixels.at(10 * i + 5, 4), expected[i]) << "polygon, mode " << modes[i];
    EXPECT_EQ(pixels.at(10 * i + 5, 8), p) << "rectangle, mode " << modes[i];
    EXPECT_EQ(pixels.at(10 * i + 5, 2), b);
  }
  offscreen->release();
}

TEST_F(PixelTest, FontTableIdsSizesAndStyles) {
  auto* offscreen = new COffscreenContext(nullptr, 200, 60, kBlackCColor);
  EXPECT_EQ(offscreen->getFont(), 0);
  EXPECT_EQ(offscreen->getFontSize(), 12);
  offscreen->setFont(9, 0, 0);  // outside the table: font 0, 12 px bold
  EXPECT_EQ(offscreen->getFont(), 0);
  EXPECT_EQ(offscreen->getFontSize(), 12);
  offscreen->drawString("Ulmar 42", CRect(0, 0, 200, 20), false, 0);
  const int32_t widthOfNine = offscreen->getStringWidth("Ulmar 42");
  offscreen->setFont(0, 12, 0);
  offscreen->drawString("Ulmar 42", CRect(0, 20, 200, 40), false, 0);
  EXPECT_EQ(offscreen->getStringWidth("Ulmar 42"), widthOfNine);
  offscreen->setFont(3);  // the same face and size, not bold
  EXPECT_EQ(offscreen->getFontSize(), 12);
  offscreen->drawString("Ulmar 42", CRect(0, 40, 200, 60), false, 0);
  EXPECT_LT(offscreen->getStringWidth("Ulmar 42"), widthOfNine);
  EXPECT_GT(widthOfNine, 0);
  EXPECT_EQ(offscreen->getStringWidth(nullptr), 0);
  offscreen->setFont(1);
  EXPECT_EQ(offscreen->getFontSize(), 18);
  offscreen->setFont(7, 0, 2);
  EXPECT_EQ(offscreen->getFontSize(), 13);
  EXPECT_EQ(offscreen->getFontStyle(), 2);

  const Pixels pixels = readPixels(*offscreen);
  dump(pixels, "text");
  int lit = 0;
  int differs = 0;
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 200; ++x) {
      lit += pixels.at(x, y) != kBlack;
      differs += pixels.at(x, y) != pixels.at(x, y + 20);
    }
  }
  EXPECT_GT(lit, 20) << "text was drawn";
  EXPECT_EQ(differs, 0) << "font 9 draws as font 0";
  // Left-aligned text starts one pixel in: column 0 stays dark.
  for (int32_t y = 0; y < 60; ++y) EXPECT_EQ(pixels.at(0, y), kBlack) << y;
  offscreen->release();
}

TEST_F(PixelTest, TextAlignmentAndOpaqueBackground) {
  auto* offscreen = new COffscreenContext(nullptr, 100, 80, kBlackCColor);
  offscreen->setFontColor(kWhiteCColor);
  offscreen->setFillColor(kBlueCColor);
  offscreen->drawString("Hello", CRect(0, 0, 100, 20), false, 0);
  offscreen->drawString("Hello", CRect(0, 20, 100, 40), false, 1);
  offscreen->drawString("Hello", CRect(0, 40, 100, 60), false, 2);
  offscreen->drawString("Hello", CRect(0, 60, 100, 80), true, 1);
  offscreen->drawString(nullptr, CRect(0, 0, 100, 80), true, 1);  // nothing
  const Pixels pixels = readPixels(*offscreen);
  dump(pixels, "alignment");
  // The columns where a band of rows has light text pixels.
  auto span = [&](int32_t top) {
    int32_t first = 100;
    int32_t last = -1;
    for (int32_t y = top; y < top + 20; ++y) {
      for (int32_t x = 0; x < 100; ++x) {
        if (((pixels.at(x, y) >> 16) & 0xFF) > 128) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
      }
    }
    return std::pair{first, last};
  };
  const auto [leftFirst, leftLast] = span(0);
  const auto [centreFirst, centreLast] = span(20);
  const auto [rightFirst, rightLast] = span(40);
  EXPECT_GE(leftFirst, 1);  // one pixel in from the left edge
  EXPECT_LE(leftFirst, 3);
  EXPECT_NEAR((centreFirst + centreLast) / 2.0, 50.0, 3.0);
  EXPECT_GE(rightLast, 95);
  EXPECT_LE(rightLast, 99);
  EXPECT_NEAR(rightLast - rightFirst, leftLast - leftFirst, 1);
  int background = 0;
  for (int32_t y = 0; y < 80; ++y) {
    for (int32_t x = 0; x < 100; ++x) {
      if (pixels.at(x, y) == rgbOf(kBlueCColor)) {
        ++background;
        EXPECT_GE(y, 60) << "only opaque text fills its background";
      }
    }
  }
  EXPECT_GT(background, 50);
  offscreen->release();
}

TEST_F(PixelTest, AContextOnAnExistingDeviceContextDrawsThere) {
  auto* offscreen = new COffscreenContext(nullptr, 20, 20, kBlackCColor);
  offscreen->setFillColor(kGreenCColor);
  auto* borrowed = new CDrawContext(nullptr, offscreen->getDeviceContext(), nullptr);
  EXPECT_EQ(borrowed->getDeviceContext(), offscreen->getDeviceContext());
  borrowed->setFillColor(kRedCColor);
  borrowed->drawRect(CRect(0, 0, 10, 10), 1);
  borrowed->release();
  // The offscreen's own brush is back in place.
  offscreen->drawRect(CRect(10, 10, 20, 20), 1);
  const Pixels pixels = readPixels(*offscreen);
  EXPECT_EQ(pixels.at(5, 5), rgbOf(kRedCColor));
  EXPECT_EQ(pixels.at(15, 15), rgbOf(kGreenCColor));
  EXPECT_EQ(pixels.at(15, 5), kBlack);
  offscreen->release();
}

TEST_F(PixelTest, FilmStripFramesAndTheTransparentColour) {
  auto* strip = new CBitmap(toolkit_test::kStripBitmap);
  ASSERT_TRUE(strip->isLoaded());
  EXPECT_EQ(strip->getWidth(), 8);
  EXPECT_EQ(strip->getHeight(), 24);
  EXPECT_EQ(strip->getTransparentColor(), kTransparentCColor);
  strip->setTransparentColor(kMagentaCColor);

  auto* offscreen = new COffscreenContext(nullptr, 40, 24, kGreyCColor);
  for (int frame = 0; frame < 3; ++frame)
    strip->draw(offscreen, CRect(0, frame * 8, 8, frame * 8 + 8), CPoint(0, 8 * (2 - frame)));
  offscreen->offset = CPoint(10, 0);  // drawing moves with the offset
  strip->drawTransparent(offscreen, CRect(0, 0, 8, 8), CPoint(0, 8));
  offscreen->offset = CPoint(0, 0);
  toolkit_test::setBlendFunctionsBound(false);  // the mask fallback
  strip->drawTransparent(offscreen, CRect(20, 0, 28, 8), CPoint(0, 16));
  strip->drawTransparent(offscreen, CRect(30, 8, 38, 16), CPoint(0, 0));
  toolkit_test::setBlendFunctionsBound(true);

  const Pixels pixels = readPixels(*offscreen);
  dump(pixels, "strip");
  EXPECT_EQ(0, countMismatches(pixels, [](int32_t x, int32_t y) -> uint32_t {
              const bool block = (x % 10) < 4 && (y % 8) < 4;
              if (x < 8) return block ? kMagenta : kFrameColours[2 - y / 8];  // frames 2, 1, 0
              if (inside(x, y, 10, 0, 17, 7)) return block ? kGrey : kFrameColours[1];
              if (inside(x, y, 20, 0, 27, 7)) return block ? kGrey : kFrameColours[2];
              if (inside(x, y, 30, 8, 37, 15)) return block ? kGrey : kFrameColours[0];
              return kGrey;
            }));
  offscreen->release();
  strip->release();
}

TEST_F(PixelTest, TransparencyMaskFromAContextDecidesWhatIsDrawn) {
  auto* strip = new CBitmap(toolkit_test::kStripBitmap);
  auto* target = new COffscreenContext(nullptr, 20, 10, kGreyCColor);
  // The mask's pattern: the bitmap's own pixels, with a cyan square added
  // where the bitmap has frame colour.
  auto* pattern = new COffscreenContext(target, strip, false);
  pattern->setFillColor(kCyanCColor);
  pattern->drawRect(CRect(5, 5, 7, 7), 1);
  strip->setTransparentColor(kCyanCColor);
  EXPECT_FALSE(strip->setTransparencyMask(nullptr));
  EXPECT_TRUE(strip->setTransparencyMask(pattern, CPoint(0, 0)));
  pattern->release();
  strip->drawTransparent(target, CRect(0, 0, 8, 8));
  EXPECT_EQ(0, countMismatches(readPixels(*target), [](int32_t x, int32_t y) -> uint32_t {
              if (inside(x, y, 5, 5, 6, 6)) return kGrey;  // masked, though the bitmap has no cyan
              if (x < 4 && y < 4) return kMagenta;         // not the transparent colour here
              if (x < 8 && y < 8) return kFrameColours[0];
              return kGrey;
            }));
  target->release();
  strip->release();
}

TEST_F(PixelTest, ConstantAlphaBlend) {
  auto* strip = new CBitmap(toolkit_test::kStripBitmap);
  auto* offscreen = new COffscreenContext(nullptr, 30, 8, kBlackCColor);
  offscreen->setFillColor(kWhiteCColor);
  offscreen->drawRect(CRect(10, 0, 20, 8), 1);
  strip->drawAlphaBlend(offscreen, CRect(0, 0, 8, 8), CPoint(0, 0), 128);   // frame 0 over black
  strip->drawAlphaBlend(offscreen, CRect(10, 0, 18, 8), CPoint(0, 8), 64);  // frame 1 over white
  strip->drawAlphaBlend(offscreen, CRect(20, 0, 28, 8), CPoint(0, 16), 255);
  const Pixels pixels = readPixels(*offscreen);
  auto near = [](uint32_t actual, int r, int g, int b) {
    auto channel = [](uint32_t v, int shift, int want) {
      return std::abs(static_cast<int>((v >> shift) & 0xFF) - want) <= 1;
    };
    return channel(actual, 16, r) && channel(actual, 8, g) && channel(actual, 0, b);
  };
  // 200 x 128/255 = 100.4; 40 x 128/255 = 20.1
  EXPECT_TRUE(near(pixels.at(6, 6), 100, 20, 20)) << std::hex << pixels.at(6, 6);
  // 40 x 64/255 + 255 x 191/255 = 201.0; 200 x 64/255 + 191 = 241.2
  EXPECT_TRUE(near(pixels.at(16, 6), 201, 241, 201)) << std::hex << pixels.at(16, 6);
  EXPECT_EQ(pixels.at(26, 6), kFrameColours[2]);
  EXPECT_EQ(pixels.at(29, 6), kBlack);

  // Without AlphaBlend the Windows layer draws nothing; cairo blends itself.
  const bool gdi = std::string(toolkit_test::backendName()) == "gdi";
  toolkit_test::setBlendFunctionsBound(false);
  strip->drawAlphaBlend(offscreen, CRect(20, 0, 28, 8), CPoint(0, 0), 255);
  EXPECT_EQ(readPixels(*offscreen).at(26, 6), gdi ? kFrameColours[2] : kFrameColours[0]);

  // A frame binds the functions for its lifetime; when the last binding
  // goes they are cleared rather than left pointing into a freed library.
  auto* frame = new CFrame(CRect(0, 0, 10, 10), nullptr, nullptr);
  strip->drawAlphaBlend(offscreen, CRect(20, 0, 28, 8), CPoint(0, 8), 255);
  EXPECT_EQ(readPixels(*offscreen).at(26, 6), kFrameColours[1]);
  frame->release();
  strip->drawAlphaBlend(offscreen, CRect(20, 0, 28, 8), CPoint(0, 16), 255);
  EXPECT_EQ(readPixels(*offscreen).at(26, 6), gdi ? kFrameColours[1] : kFrameColours[2]);
  offscreen->release();
  strip->release();
}

TEST_F(PixelTest, PaletteAndRunLengthBitmapsLoadAlike) {
  const uint32_t palette[3] = {0x0A141E, 0xFA8000, 0x0080FF};
  for (int32_t id : {toolkit_test::kPaletteBitmap, toolkit_test::kRunLengthBitmap}) {
    auto* bitmap = new CBitmap(id);
    ASSERT_TRUE(bitmap->isLoaded()) << id;
    EXPECT_EQ(bitmap->getWidth(), 6);
    EXPECT_EQ(bitmap->getHeight(), 5);
    auto* offscreen = new COffscreenContext(nullptr, 6, 5, kBlackCColor);
    bitmap->draw(offscreen, CRect(0, 0, 6, 5));
    EXPECT_EQ(0, countMismatches(readPixels(*offscreen), [&](int32_t x, int32_t y) { return palette[(x + y) % 3]; }))
        << id;
    offscreen->release();
    bitmap->release();
  }
}

TEST_F(PixelTest, OffscreenCopiesAndBitmapOffscreens) {
  auto* strip = new CBitmap(toolkit_test::kStripBitmap);
  auto* target = new COffscreenContext(nullptr, 40, 30, kBlackCColor);

  // A copy of the bitmap, and a context that draws into the bitmap itself.
  auto* copy = new COffscreenContext(target, strip, false);
  EXPECT_EQ(copy->getWidth(), 8);
  EXPECT_EQ(copy->getHeight(), 24);
  EXPECT_EQ(strip->getNbReference(), 2);
  copy->setFillColor(kWhiteCColor);
  copy->drawRect(CRect(0, 20, 8, 24), 1);  // only the copy changes
  strip->setTransparentColor(kCyanCColor);
  strip->drawTransparent(target, CRect(20, 0, 28, 8));  // before the bitmap changes
  auto* inBitmap = new COffscreenContext(target, strip, true);
  inBitmap->setFillColor(kCyanCColor);
  inBitmap->drawRect(CRect(6, 6, 8, 8), 1);
  inBitmap->release();

  target->offset = CPoint(2, 2);
  copy->copyFrom(target, CRect(10, 0, 18, 24), CPoint(0, 0));  // lands at x 12..19, y 2..25
  target->offset = CPoint(0, 0);
  strip->draw(target, CRect(0, 0, 8, 8));
  strip->drawTransparent(target, CRect(20, 10, 28, 18));  // sees the new cyan pixels
  // Back the other way: a part of the target into the copy.
  target->setFillColor(kYellowCColor);
  target->drawRect(CRect(30, 0, 34, 4), 1);
  copy->copyTo(target, CRect(30, 0, 34, 4), CPoint(0, 0));

  const Pixels pixels = readPixels(*target);
  EXPECT_EQ(pixels.at(7, 7), rgbOf(kCyanCColor));  // drawn into the bitmap
  EXPECT_EQ(pixels.at(5, 5), kFrameColours[0]);
  EXPECT_EQ(pixels.at(12 + 7, 2 + 7), kFrameColours[0]);  // the copy kept the old pixels
  EXPECT_EQ(pixels.at(12, 2), kMagenta);
  EXPECT_EQ(pixels.at(12 + 5, 2 + 13), kFrameColours[1]);
  EXPECT_EQ(pixels.at(12 + 5, 2 + 21), kWhite);
  EXPECT_EQ(pixels.at(11, 10), kBlack);
  EXPECT_EQ(readPixels(*copy).at(1, 1), rgbOf(kYellowCColor));

  copy->release();
  EXPECT_EQ(strip->getNbReference(), 1);
  auto* blank = new COffscreenContext(target, nullptr, false);  // 20 x 20, black
  EXPECT_EQ(blank->getWidth(), 20);
  EXPECT_EQ(readPixels(*blank).at(0, 0), kBlack);
  blank->release();
  target->release();
  strip->release();
}

TEST_F(PixelTest, RefusedSizesAndCountsDrawNothing) {
  for (auto [w, h] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{-4, 8}, std::pair{8, -2147483647 - 1}}) {
    auto* offscreen = new COffscreenContext(nullptr, w, h, kWhiteCColor);
    EXPECT_EQ(offscreen->getBitmapHandle(), nullptr);
    EXPECT_EQ(offscreen->getDeviceContext(), nullptr);
    offscreen->drawRect(CRect(0, 0, 10, 10), 2);
    offscreen->drawString("x", CRect(0, 0, 10, 10));
    auto* bitmap = new CBitmap(nullptr, w, h);
    EXPECT_FALSE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), 0);
    EXPECT_EQ(bitmap->getHeight(), 0);
    bitmap->draw(offscreen, CRect(0, 0, 10, 10));
    auto* onBitmap = new COffscreenContext(offscreen, bitmap, false);
    EXPECT_EQ(onBitmap->getBitmapHandle(), nullptr);
    onBitmap->release();
    bitmap->release();
    offscreen->release();
  }
  auto* missing = new CBitmap(999);
  EXPECT_FALSE(missing->isLoaded());
  EXPECT_EQ(missing->getWidth(), 0);
  EXPECT_EQ(missing->getHandle(), nullptr);
  missing->release();
  auto* loaded = new CBitmap(toolkit_test::kStripBitmap);
  EXPECT_FALSE(loaded->loadFromPath("strip24.bmp"));
  EXPECT_FALSE(loaded->isLoaded());
  EXPECT_EQ(loaded->getHeight(), 0);
  auto* empty = new CBitmap(nullptr, 3, 4);
  EXPECT_TRUE(empty->isLoaded());
  EXPECT_EQ(empty->getWidth(), 3);
  loaded->release();
  empty->release();

  auto* offscreen = new COffscreenContext(nullptr, 50, 50, kBlackCColor);
  offscreen->setFillColor(kWhiteCColor);
  std::vector<CPoint> many(40);
  for (int i = 0; i < 40; ++i) many[i] = CPoint(i % 2 ? 20 : 0, i);
  offscreen->fillPolygon(many.data(), -1);
  offscreen->fillPolygon(many.data(), 0);
  offscreen->fillPolygon(many.data(), 2147483647);  // would read far past the array
  offscreen->polyline(nullptr, 5);
  EXPECT_EQ(0, countMismatches(readPixels(*offscreen), [](int32_t, int32_t) { return kBlack; }));
  // A square through the heap path (more than 30 points) and a stack one.
  std::vector<CPoint> square;
  for (int i = 0; i < 10; ++i) square.push_back(CPoint(30 + i, 30));
  for (int i = 0; i < 10; ++i) square.push_back(CPoint(40, 30 + i));
  for (int i = 0; i < 10; ++i) square.push_back(CPoint(40 - i, 40));
  for (int i = 0; i < 10; ++i) square.push_back(CPoint(30, 40 - i));
  offscreen->fillPolygon(square.data(), static_cast<int32_t>(square.size()));
  const CPoint triangle[3] = {CPoint(0, 0), CPoint(10, 0), CPoint(0, 10)};
  offscreen->setLineColor(kWhiteCColor);
  offscreen->polyline(triangle, 3);
  const Pixels pixels = readPixels(*offscreen);
  EXPECT_EQ(pixels.at(30, 30), kWhite);
  EXPECT_EQ(pixels.at(39, 39), kWhite);
  EXPECT_EQ(pixels.at(40, 35), kBlack);
  EXPECT_EQ(pixels.at(5, 0), kWhite);
  EXPECT_EQ(pixels.at(1, 9), kWhite);
  EXPECT_EQ(pixels.at(0, 10), kBlack);  // a polyline leaves out its last point
  EXPECT_EQ(pixels.at(0, 5), kBlack);   // and does not close
  offscreen->release();
}

// The mouse as the context reports it, from an injected source.
class FakeMouse : public MouseInputSource {
 public:
  bool isDown(InputKey key) const override { return down[static_cast<int>(key)]; }
  CPoint cursorPosition() const override { return cursor; }
  CPoint windowOrigin(void*) const override { return origin; }
  bool down[6] = {};
  CPoint cursor;
  CPoint origin;
};

TEST(MouseState, ButtonsHonourSwappingAndLocationIsRelativeToTheWindow) {
  FakeMouse fake;
  setMouseInputSource(&fake);
  fake.origin = CPoint(30, 20);
  fake.cursor = CPoint(100, 50);
  auto* context = new CDrawContext(nullptr, nullptr, nullptr);
  fake.origin = CPoint(0, 0);  // taken when the context was made
  CPoint where;
  context->getMouseLocation(where);
  EXPECT_EQ(where, CPoint(70, 30));

  EXPECT_EQ(context->getMouseButtons(), 0);
  fake.down[static_cast<int>(InputKey::kRightButton)] = true;
  EXPECT_EQ(context->getMouseButtons(), kRButton);
  setMouseButtonsSwapped(true);
  EXPECT_EQ(context->getMouseButtons(), kLButton);
  fake.down[static_cast<int>(InputKey::kRightButton)] = false;
  fake.down[static_cast<int>(InputKey::kLeftButton)] = true;
  EXPECT_EQ(context->getMouseButtons(), kRButton);
  setMouseButtonsSwapped(false);
  fake.down[static_cast<int>(InputKey::kMiddleButton)] = true;
  fake.down[static_cast<int>(InputKey::kShift)] = true;
  fake.down[static_cast<int>(InputKey::kControl)] = true;
  fake.down[static_cast<int>(InputKey::kAlt)] = true;
  EXPECT_EQ(context->getMouseButtons(), kLButton | kMButton | kShift | kControl | kAlt);
  context->release();
  setMouseInputSource(nullptr);
}

}  // namespace
