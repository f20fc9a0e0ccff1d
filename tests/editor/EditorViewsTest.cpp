// The read-outs, the link area and the wrappers of the anti-aliased layer:
// what a read-out draws and where, its text limits, which clicks open the
// web page, and the statuses and start/stop pairs the wrappers keep.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/LinkArea.h"
#include "editor/SmoothObjects.h"
#include "editor/ValueDisplay.h"
#include "editor/WebPage.h"
#include "tests/editor/EditorViewFixture.h"
#include "tests/editor/RecordingRenderer.h"
#include "toolkit/drawing/CDrawContext.h"

namespace {

using editor_test::EditorViews;
using editor_test::RecordingRenderer;

TEST(EditorViewsTest, ReadOutDrawsItsTextCentredOverThePictureInOneOffscreen) {
  RecordingRenderer r;
  EditorViews v;
  auto* readOut = new ValueDisplay(CRect(136, 85, 226, 105), v.background);
  v.frame.addView(readOut);

  readOut->setDirty(false);
  readOut->setText("0.37sec /50%");
  EXPECT_TRUE(readOut->isDirty());
  readOut->draw(&v.window);
  EXPECT_FALSE(readOut->isDirty());
  readOut->setText("1.00sec /100%");
  readOut->draw(&v.window);

  ASSERT_EQ(r.texts.size(), 2u);
  for (const auto& t : r.texts) {
    EXPECT_EQ(t.layout.x, 0.0f);
    EXPECT_EQ(t.layout.y, 0.0f);
    EXPECT_EQ(t.layout.width, 90.0f);
    EXPECT_EQ(t.layout.height, 20.0f);
    EXPECT_EQ(t.align, 1) << "centred";
    EXPECT_EQ(t.argb, 0xFFC8C8C8u);
    EXPECT_EQ(t.emSize, 10.0f);
    EXPECT_EQ(t.style, 1);
    EXPECT_EQ(t.unit, SmoothUnit::kPixel);
    EXPECT_EQ(t.family, "Microsoft Sans Serif");
    EXPECT_EQ(t.textHint, 4);
  }
  EXPECT_EQ(r.texts[0].text, "0.37sec /50%");
  EXPECT_EQ(r.texts[1].text, "1.00sec /100%");

  std::vector<void*> targets;
  for (uintptr_t h : r.created) {
    if (r.objects.at(h).kind == "graphics") targets.push_back(r.objects.at(h).deviceHandle);
  }
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_NE(targets[0], nullptr);
  EXPECT_EQ(targets[0], targets[1]);
  EXPECT_EQ(r.deletedInOrder.size(), r.created.size());

  // At most 255 characters are kept; null empties the text.
  const std::string longText(400, 'x');
  readOut->setText(longText.c_str());
  EXPECT_EQ(std::string(readOut->getText()), std::string(255, 'x'));
  readOut->setText(nullptr);
  EXPECT_STREQ(readOut->getText(), "");
}

std::vector<std::string>& openedPages() {
  static std::vector<std::string> pages;
  return pages;
}

bool recordPage(const char* address) {
  openedPages().push_back(address);
  return true;
}

TEST(EditorViewsTest, OnlyAPlainLeftClickOnTheLinkOpensTheWebPageOnce) {
  const WebPageOpener previous = setWebPageOpener(recordPage);
  openedPages().clear();
  EditorViews v;
  auto* link = new LinkArea(CRect(212, 0, 303, 41));
  v.frame.addView(link);
  CPoint where(250, 20);
  for (int32_t buttons : {int32_t{kRButton}, kLButton | kControl, kLButton | kShift, kLButton | kAlt, int32_t{kMButton},
                          kLButton | kRButton}) {
    link->mouse(&v.window, where, buttons);
  }
  EXPECT_TRUE(openedPages().empty());
  link->mouse(&v.window, where, kLButton);
  ASSERT_EQ(openedPages().size(), 1u);
  EXPECT_EQ(openedPages()[0], kMakerWebPage);
  EXPECT_NE(std::string(kMakerWebPage).find(".example/"), std::string::npos);
  setWebPageOpener(previous);
  EXPECT_EQ(webPageOpener(), previous);
}

TEST(EditorViewsTest, WrappersKeepTheirLastFailureAndSessionsPairStartAndStop) {
  RecordingRenderer r;
  {
    r.failing["createPen"] = kSmoothInvalidParameter;
    SmoothGraphics graphics(reinterpret_cast<void*>(1), reinterpret_cast<void*>(2));
    SmoothPen pen(SmoothColor(1, 2, 3), 1.0f);
    SmoothSolidBrush brush(SmoothColor(30, 70, 70, 70));
    EXPECT_EQ(pen.lastStatus(), kSmoothInvalidParameter);
    EXPECT_EQ(pen.native(), nullptr);
    EXPECT_EQ(brush.lastStatus(), kSmoothOk);
    EXPECT_EQ(r.object(brush.native()).argb, 0x1E464646u);

    // A line with the pen that was never made fails; the graphics keeps
    // that, and a later success leaves it.
    EXPECT_EQ(graphics.drawLine(pen, 0, 0, 1, 1), kSmoothInvalidParameter);
    EXPECT_EQ(graphics.fillRectangle(brush, 0, 0, 2, 2), kSmoothOk);
    EXPECT_EQ(graphics.lastStatus(), kSmoothInvalidParameter);
    EXPECT_EQ(r.fills.size(), 1u);

    SmoothFontFamily family("No Such Face");
    r.failing["createFontFamily"] = kSmoothFontFamilyNotFound;
    SmoothFontFamily missing("No Such Face");
    EXPECT_EQ(missing.lastStatus(), kSmoothFontFamilyNotFound);
    SmoothFont font(missing, 10.0f, kSmoothFontBold, SmoothUnit::kPixel);
    EXPECT_NE(font.lastStatus(), kSmoothOk) << "a font of a family that was not made";
    EXPECT_EQ(graphics.drawString("x", font, SmoothRect{}, nullptr, brush), kSmoothInvalidParameter);
    EXPECT_TRUE(r.texts.empty());
  }
  // Only what was made is deleted, each once.
  EXPECT_EQ(r.deletedInOrder.size(), r.created.size());

  // Each editor starts once and stops with its own token, in any order;
  // a start that failed is not stopped.
  {
    auto first = std::make_unique<SmoothDrawingSession>();
    SmoothDrawingSession second;
    EXPECT_TRUE(first->started());
    first.reset();
    ASSERT_EQ(r.shutdownTokens.size(), 1u);
    EXPECT_EQ(r.shutdownTokens[0], r.startedTokens[0]);
  }
  ASSERT_EQ(r.shutdownTokens.size(), 2u);
  EXPECT_EQ(r.shutdownTokens[1], r.startedTokens[1]);
  r.failing["startup"] = kSmoothNotInitialized;
  {
    SmoothDrawingSession failed;
    EXPECT_FALSE(failed.started());
    EXPECT_EQ(failed.lastStatus(), kSmoothNotInitialized);
  }
  EXPECT_EQ(r.shutdownTokens.size(), 2u);

  static_assert(SmoothColor(200, 200, 200).argb() == 0xFFC8C8C8u);
  static_assert(SmoothColor(30, 70, 70, 70).argb() == 0x1E464646u);
}

}  // namespace
