// The view tree: hit testing, drawing order, dirty tracking and the update
// modes, restricted redraws, focus, the modal view, drag routing, wheel and
// reference counts. Runs on both back-ends; the drawing order is checked
// by pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/TestPlatform.h"
#include "toolkit/drawing/CBitmap.h"
#include "toolkit/views/CFrame.h"
#include "toolkit/drawing/COffscreenContext.h"
#include "toolkit/views/MouseInput.h"

namespace {

using toolkit_test::readPixels;

uint32_t rgbOf(const CColor& c) { return (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | c.blue; }

// Everything that reaches a probe view, in order.
std::vector<std::string>& journal() {
  static std::vector<std::string> events;
  return events;
}

std::string pointText(const CPoint& p) {
  std::string text = "(";
  text += std::to_string(p.h);
  text += ",";
  text += std::to_string(p.v);
  text += ")";
  return text;
}

// Appends "word word ..." to the journal.
void record(std::initializer_list<std::string> words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty()) line += ' ';
    line += word;
  }
  journal().push_back(line);
}

int gDestroyed = 0;

// A view that paints its rectangle in its colour and records its events.
class ProbeView : public CView {
 public:
  ProbeView(const std::string& name, const CRect& rect, CColor colour = kWhiteCColor)
      : CView(rect), name_(name), colour_(colour) {}
  ~ProbeView() override { ++gDestroyed; }

  void draw(CDrawContext* context) override {
    ++draws;
    context->setFillColor(colour_);
    context->drawRect(size, 1);
    CView::draw(context);
  }
  void mouse(CDrawContext*, CPoint& where, int32_t buttons) override {
    record({name_, "mouse", pointText(where), std::to_string(buttons)});
  }
  bool onWheel(CDrawContext*, const CPoint& where, int32_t axis, float distance) override {
    record(
        {name_, "wheel", pointText(where), "axis", std::to_string(axis), std::to_string(static_cast<int>(distance))});
    return true;
  }
  int32_t onKeyDown(VstKeyCode& key) override {
    record({name_, "key", std::to_string(key.character)});
    return key.character == handledKey ? 1 : -1;
  }
  void onDragEnter(CDrawContext*, CDropData*, const CPoint& where) override {
    record({name_, "enter", pointText(where)});
  }
  void onDragMove(CDrawContext*, CDropData*, const CPoint& where) override {
    record({name_, "move", pointText(where)});
  }
  void onDragLeave(CDrawContext*, CDropData*, const CPoint& where) override {
    record({name_, "leave", pointText(where)});
  }
  bool onDrop(CDrawContext*, CDropData*, const CPoint& where) override {
    record({name_, "drop", pointText(where)});
    return acceptsDrop;
  }
  void looseFocus(CDrawContext*) override { record({name_, "loses", "focus"}); }

  void setColour(CColor colour) { colour_ = colour; }

  int draws = 0;
  int32_t handledKey = -100;
  bool acceptsDrop = false;

 private:
  std::string name_;
  CColor colour_;
};

class FakeMouse : public MouseInputSource {
 public:
  bool isDown(InputKey key) const override { return key == InputKey::kLeftButton && leftDown; }
  CPoint cursorPosition() const override { return cursor; }
  CPoint windowOrigin(void*) const override { return CPoint(); }
  bool leftDown = false;
  CPoint cursor;
};

class ViewTree : public ::testing::Test {
 protected:
  void SetUp() override {
    journal().clear();
    gDestroyed = 0;
    setMouseInputSource(&mouse);
    frame = new CFrame(CRect(0, 0, 100, 60), nullptr, nullptr);
    screen = new COffscreenContext(nullptr, 100, 60, kBlackCColor);
    frame->setFrameContext(screen);
  }
  void TearDown() override {
    if (frame) frame->release();
    screen->release();
    setMouseInputSource(nullptr);
  }
  // The first paint, after which idle redraws.
  void paintOnce() { frame->drawRect(screen, CRect(0, 0, 100, 60)); }

  FakeMouse mouse;
  CFrame* frame = nullptr;
  COffscreenContext* screen = nullptr;
};

TEST_F(ViewTree, HitsOnEdgesLastAddedGetsTheMouseFirstAddedIsDrawnFirst) {
  auto* a = new ProbeView("a", CRect(10, 10, 30, 30), kRedCColor);
  auto* b = new ProbeView("b", CRect(20, 20, 40, 40), kBlueCColor);
  auto* hidden = new ProbeView("hidden", CRect(50, 10, 70, 30));
  auto* disabled = new ProbeView("disabled", CRect(50, 10, 70, 30));
  frame->addView(a);
  frame->addView(b);
  frame->addView(hidden);
  frame->addView(disabled, CRect(50, 10, 70, 30), false);
  EXPECT_EQ(frame->getViewCount(), 4);
  EXPECT_EQ(frame->getView(1), b);
  EXPECT_EQ(frame->getView(4), nullptr);
  EXPECT_EQ(a->getFrame(), frame);
  EXPECT_EQ(a->getParentView(), frame);

  EXPECT_EQ(frame->getViewAt(CPoint(30, 30)), b);  // both edges count; b is above
  EXPECT_EQ(frame->getViewAt(CPoint(15, 30)), a);  // a's bottom edge
  EXPECT_EQ(frame->getViewAt(CPoint(41, 25)), nullptr);

  mouse.leftDown = true;
  CPoint where(25, 25);
  frame->mouse(screen, where);  // -1: the buttons come from the context
  where = CPoint(30, 15);
  frame->mouse(screen, where, kRButton);
  where = CPoint(60, 20);
  frame->mouse(screen, where, kLButton);  // the disabled view is passed over
  EXPECT_EQ(journal(), (std::vector<std::string>{"b mouse (25,25) 1", "a mouse (30,15) 4", "hidden mouse (60,20) 1"}));

  frame->draw(screen);
  const auto pixels = readPixels(*screen);
  EXPECT_EQ(pixels.at(15, 15), rgbOf(kRedCColor));
  EXPECT_EQ(pixels.at(25, 25), rgbOf(kBlueCColor));  // b was drawn after a
  EXPECT_EQ(pixels.at(39, 39), rgbOf(kBlueCColor));
  EXPECT_EQ(pixels.at(40, 40), 0u);
  EXPECT_FALSE(frame->isDirty());
}

TEST_F(ViewTree, DirtyChildrenRedrawOnIdleAccordingToTheUpdateMode) {
  auto* box = new CViewContainer(CRect(10, 10, 60, 50), frame);
  auto* one = new ProbeView("one", CRect(0, 0, 20, 20), kRedCColor);
  auto* two = new ProbeView("two", CRect(25, 0, 45, 20), kGreenCColor);
  auto* outside = new ProbeView("outside", CRect(200, 200, 220, 220));
  box->addView(one);
  box->addView(two);
  box->addView(outside);
  frame->addView(box);
  EXPECT_EQ(box->getMode(), kOnlyDirtyUpdate);

  frame->idle();  // nothing before the first paint
  EXPECT_EQ(one->draws, 0);
  paintOnce();
  EXPECT_EQ(one->draws, 1);
  EXPECT_EQ(two->draws, 1);
  EXPECT_FALSE(frame->isDirty());

  // A dirty child outside its container's area does not make it dirty.
  outside->setDirty(true);
  EXPECT_FALSE(box->isDirty());

  box->setBackgroundColor(kBlackCColor);
  box->setDirty(false);
  one->setDirty(true);
  EXPECT_TRUE(box->isDirty());
  EXPECT_TRUE(frame->isDirty());
  frame->idle();
  EXPECT_EQ(one->draws, 2);
  EXPECT_EQ(two->draws, 1);  // mode 1: only the dirty child
  EXPECT_FALSE(one->isDirty());
  // The redrawn child reached the frame's context, at its place.
  EXPECT_EQ(readPixels(*screen).at(10 + 5, 10 + 5), rgbOf(kRedCColor));

  box->setMode(kNormalUpdate);
  two->setDirty(true);
  frame->idle();
  EXPECT_EQ(one->draws, 3);  // mode 0: the whole container
  EXPECT_EQ(two->draws, 2);

  // The frame's invalidate marks the children that overlap.
  auto* far = new ProbeView("far", CRect(70, 0, 90, 20));
  frame->addView(far);
  far->setDirty(false);
  box->setDirty(false);
  frame->invalidate(CRect(80, 10, 85, 15));
  EXPECT_TRUE(far->isDirty());
  EXPECT_FALSE(box->isDirty());

  // Updates switched off: idle draws nothing.
  EXPECT_FALSE(frame->updatesDisabled(true));
  frame->idle();
  EXPECT_TRUE(far->isDirty());
  EXPECT_TRUE(frame->updatesDisabled(false));
  frame->idle();
  EXPECT_FALSE(far->isDirty());
}

TEST_F(ViewTree, DrawRectRedrawsOnlyOverlappingViewsAndKeepsPartlyDrawnOnesDirty) {
  auto* left = new ProbeView("left", CRect(0, 0, 30, 30), kRedCColor);
  auto* right = new ProbeView("right", CRect(50, 0, 80, 30), kBlueCColor);
  frame->addView(left);
  frame->addView(right);
  paintOnce();
  ASSERT_EQ(left->draws, 1);
  ASSERT_EQ(right->draws, 1);

  frame->drawRect(screen, CRect(0, 0, 40, 40));
  EXPECT_EQ(left->draws, 2);
  EXPECT_EQ(right->draws, 1);

  // Dirty, but only half of it is redrawn: it stays dirty.
  right->setDirty(true);
  frame->drawRect(screen, CRect(60, 0, 100, 60));
  EXPECT_EQ(right->draws, 2);
  EXPECT_TRUE(right->isDirty());
  frame->drawRect(screen, CRect(40, 0, 100, 60));
  EXPECT_FALSE(right->isDirty());

  // Only the updated part of the frame's buffer reaches the target.
  auto* other = new COffscreenContext(nullptr, 100, 60, kBlackCColor);
  frame->drawRect(other, CRect(0, 0, 10, 10));
  const auto pixels = readPixels(*other);
  EXPECT_EQ(pixels.at(5, 5), rgbOf(kRedCColor));
  EXPECT_EQ(pixels.at(20, 20), 0u);
  other->release();
}

TEST_F(ViewTree, DrawViewRedrawAndContainerBackgrounds) {
  toolkit_test::provideTestBitmaps();
  auto* strip = new CBitmap(toolkit_test::kStripBitmap);
  ASSERT_TRUE(strip->isLoaded());
  strip->setTransparentColor(kMagentaCColor);
  auto* box = new CViewContainer(CRect(50, 0, 58, 8), frame, strip);
  box->setBackgroundOffset(CPoint(0, 8));  // frame 1 of the strip
  auto* left = new ProbeView("left", CRect(0, 0, 30, 30), kRedCColor);
  auto* loose = new ProbeView("loose", CRect(0, 0, 5, 5));
  frame->addView(left);
  frame->addView(box);
  EXPECT_EQ(strip->getNbReference(), 2);
  paintOnce();
  auto pixels = readPixels(*screen);
  EXPECT_EQ(pixels.at(55, 6), 0x28C828u);
  EXPECT_EQ(pixels.at(51, 1), 0xFF00FFu);

  left->redraw();  // a child: drawn alone, at once
  EXPECT_EQ(left->draws, 2);
  frame->drawView(loose);  // not a child: the whole frame instead
  EXPECT_EQ(left->draws, 3);
  EXPECT_EQ(loose->draws, 0);
  left->setDirty(true);
  left->update(nullptr);  // without a context: through redraw
  EXPECT_EQ(left->draws, 4);
  EXPECT_FALSE(left->isDirty());

  // A transparent container drawing straight into its parent lets what is
  // behind show where its bitmap has the transparent colour.
  box->useOffscreen(false);
  EXPECT_EQ(box->getOffscreen(), nullptr);
  box->setTransparency(true);
  frame->draw(screen);
  pixels = readPixels(*screen);
  EXPECT_EQ(pixels.at(51, 1), 0u);
  EXPECT_EQ(pixels.at(55, 6), 0x28C828u);
  loose->release();
  frame->release();
  frame = nullptr;
  EXPECT_EQ(strip->getNbReference(), 1);
  strip->release();
}

TEST_F(ViewTree, APartialRedrawReachesTheRightPartOfANestedBufferedContainer) {
  auto* box = new CViewContainer(CRect(20, 20, 60, 50), frame);
  auto* inner = new ProbeView("inner", CRect(20, 15, 40, 30), kRedCColor);  // (40,35)..(59,49) in the frame
  box->addView(inner);
  frame->addView(box);
  paintOnce();
  ASSERT_NE(box->getOffscreen(), nullptr);
  EXPECT_EQ(readPixels(*screen).at(50, 45), rgbOf(kRedCColor));

  // Only the lower right corner is redrawn; the box's own clip must be that
  // corner in the box's coordinates.
  inner->setColour(kBlueCColor);
  frame->drawRect(screen, CRect(45, 40, 60, 50));
  const auto pixels = readPixels(*screen);
  EXPECT_EQ(pixels.at(50, 45), rgbOf(kBlueCColor));
  EXPECT_EQ(pixels.at(42, 37), rgbOf(kRedCColor));  // outside the redrawn corner
}

TEST_F(ViewTree, TabMovesTheFocusAcrossNestedContainers) {
  auto* first = new ProbeView("first", CRect(0, 0, 10, 10));
  auto* box = new CViewContainer(CRect(20, 0, 80, 40), frame);
  auto* inner1 = new ProbeView("inner1", CRect(0, 0, 10, 10));
  auto* inner2 = new ProbeView("inner2", CRect(10, 0, 20, 10));
  auto* inner3 = new ProbeView("inner3", CRect(20, 0, 30, 10));
  auto* last = new ProbeView("last", CRect(90, 0, 100, 10));
  for (CView* v : {static_cast<CView*>(first), static_cast<CView*>(inner1), static_cast<CView*>(inner3),
                   static_cast<CView*>(last)})
    v->setWantsFocus(true);
  box->addView(inner1);
  box->addView(inner2);
  box->addView(inner3);
  frame->addView(first);
  frame->addView(box);
  frame->addView(last);

  VstKeyCode tab{0, 2, 0};
  VstKeyCode shiftTab{0, 2, 1};
  std::vector<CView*> seen;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    seen.push_back(frame->getFocusView());
  }
  EXPECT_EQ(seen, (std::vector<CView*>{first, inner1, inner3, last}));
  EXPECT_TRUE(last->isDirty());  // a view that wants focus redraws as it gets it

  for (int i = 0; i < 3; ++i) {
    frame->onKeyDown(shiftTab);
    seen.push_back(frame->getFocusView());
  }
  EXPECT_EQ(std::vector<CView*>(seen.begin() + 4, seen.end()), (std::vector<CView*>{inner3, inner1, first}));

  // At the end there is nowhere to go.
  EXPECT_FALSE(frame->advanceFocus(last, false));
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_FALSE(frame->advanceFocus(first, true));

  // Keys go to the focus view first; a handled key ends there.
  frame->setFocusView(inner2);
  inner2->handledKey = 65;
  VstKeyCode a{65, 0, 0};
  journal().clear();
  EXPECT_EQ(frame->onKeyDown(a), 1);
  EXPECT_EQ(journal(), (std::vector<std::string>{"inner2 key 65"}));
  // A click clears the focus view.
  CPoint where(95, 95);
  frame->mouse(screen, where, kLButton);
  EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(ViewTree, ModalViewTakesTheEventsAndRefusesASecondOne) {
  auto* under = new ProbeView("under", CRect(0, 0, 100, 60));
  auto* modal = new ProbeView("modal", CRect(10, 10, 30, 30));
  auto* second = new ProbeView("second", CRect(40, 10, 60, 30));
  under->setWantsFocus(true);
  frame->addView(under);
  EXPECT_TRUE(frame->setModalView(modal));
  EXPECT_FALSE(frame->setModalView(second));
  EXPECT_EQ(frame->getModalView(), modal);
  EXPECT_TRUE(frame->isChild(modal));

  CPoint outside(50, 50);
  frame->mouse(screen, outside, kLButton);  // not on the modal view: nobody
  CPoint on(20, 20);
  frame->mouse(screen, on, kLButton);
  EXPECT_TRUE(frame->onWheel(screen, CPoint(80, 50), 2.0f));  // the modal view wherever the pointer is
  VstKeyCode key{7, 0, 0};
  frame->onKeyDown(key);
  EXPECT_FALSE(frame->advanceFocus(nullptr, false));
  EXPECT_EQ(frame->getCurrentView(), modal);
  EXPECT_EQ(journal(),
            (std::vector<std::string>{"modal mouse (20,20) 1", "modal wheel (80,50) axis 1 2", "modal key 7"}));

  // Cleared: removed from the children, not released.
  EXPECT_TRUE(frame->setModalView(nullptr));
  EXPECT_FALSE(frame->isChild(modal));
  EXPECT_EQ(gDestroyed, 0);
  EXPECT_TRUE(frame->setModalView(second));
  modal->release();
  // The modal view belongs to whoever set it: the frame only lets it go.
  frame->release();
  frame = nullptr;
  EXPECT_EQ(gDestroyed, 2);
  second->release();
}

TEST_F(ViewTree, DragsRouteInLocalCoordinatesAndLeaveWhenOffEveryView) {
  auto* target = new ProbeView("target", CRect(0, 0, 20, 20));
  auto* box = new CViewContainer(CRect(30, 10, 80, 50), frame);
  auto* inner = new ProbeView("inner", CRect(5, 5, 15, 15));
  box->addView(inner);
  frame->addView(target);
  frame->addView(box);

  frame->onDragEnter(screen, nullptr, CPoint(5, 5));
  frame->onDragMove(screen, nullptr, CPoint(6, 6));
  frame->onDragMove(screen, nullptr, CPoint(40, 20));  // into the box, onto inner, at (10,10) in the box
  frame->onDragMove(screen, nullptr, CPoint(41, 21));
  EXPECT_EQ(frame->getCurrentDragView(), box);
  EXPECT_EQ(box->getCurrentDragView(), inner);
  frame->onDragMove(screen, nullptr, CPoint(95, 55));  // over nothing
  EXPECT_EQ(frame->getCurrentDragView(), nullptr);
  EXPECT_EQ(box->getCurrentDragView(), nullptr);
  EXPECT_EQ(screen->offset, CPoint(0, 0));  // restored after each call
  EXPECT_EQ(journal(), (std::vector<std::string>{"target enter (5,5)", "target move (6,6)", "target leave (40,20)",
                                                 "inner enter (10,10)", "inner move (11,11)", "inner leave (65,45)"}));

  journal().clear();
  target->acceptsDrop = true;
  frame->onDragEnter(screen, nullptr, CPoint(95, 55));
  EXPECT_TRUE(frame->onDrop(screen, nullptr, CPoint(10, 10)));
  EXPECT_EQ(journal(),
            (std::vector<std::string>{"target enter (10,10)", "target drop (10,10)", "target leave (10,10)"}));
  EXPECT_EQ(frame->getCurrentDragView(), nullptr);
  EXPECT_FALSE(frame->onDrop(screen, nullptr, CPoint(95, 55)));

  // A drag view that leaves the tree is forgotten.
  frame->onDragEnter(screen, nullptr, CPoint(5, 5));
  frame->removeView(target, true);
  EXPECT_EQ(frame->getCurrentDragView(), nullptr);
  frame->onDragMove(screen, nullptr, CPoint(6, 6));
  frame->onDragLeave(screen, nullptr, CPoint(6, 6));
}

TEST_F(ViewTree, PointerWheelAndCoordinatesThroughNestedContainers) {
  auto* box = new CViewContainer(CRect(30, 10, 80, 50), frame);
  auto* inner = new ProbeView("inner", CRect(5, 5, 15, 15));
  box->addView(inner);
  frame->addView(box);
  EXPECT_EQ(frame->getViewAt(CPoint(40, 20)), box);
  EXPECT_EQ(frame->getViewAt(CPoint(40, 20), true), inner);
  EXPECT_EQ(frame->getViewAt(CPoint(31, 11), true), box);  // inside the box, on no child

  mouse.cursor = CPoint(40, 20);
  CPoint where;
  inner->getMouseLocation(screen, where);
  EXPECT_EQ(where, CPoint(10, 10));  // in the box's coordinates
  EXPECT_EQ(box->getCurrentView(), inner);
  EXPECT_EQ(frame->getCurrentView(), box);
  CPoint p(40, 20);
  EXPECT_EQ(inner->frameToLocal(p), CPoint(10, 10));
  EXPECT_EQ(inner->localToFrame(p), CPoint(40, 20));

  EXPECT_TRUE(frame->onWheel(nullptr, CPoint(40, 20), -1.0f));
  EXPECT_FALSE(frame->onWheel(screen, CPoint(5, 55), 1.0f));
  EXPECT_EQ(journal(), (std::vector<std::string>{"inner wheel (10,10) axis 1 -1"}));
}

TEST_F(ViewTree, ClassNamesAndContainerMessage) {
  auto* box = new CViewContainer(CRect(0, 0, 10, 10), frame);
  auto* leaf = new ProbeView("leaf", CRect(0, 0, 5, 5));
  for (const char* name : {"CFrame", "CViewContainer", "CView"}) EXPECT_TRUE(frame->isTypeOf(name)) << name;
  EXPECT_FALSE(frame->isTypeOf("CControl"));
  EXPECT_TRUE(box->isTypeOf("CViewContainer"));
  EXPECT_FALSE(box->isTypeOf("CFrame"));
  EXPECT_TRUE(leaf->isTypeOf("CView"));
  EXPECT_FALSE(leaf->isTypeOf("CViewContainer"));
  EXPECT_EQ(box->notify(nullptr, kMsgCheckIfViewContainer), 1);
  EXPECT_EQ(box->notify(nullptr, "other"), 0);
  EXPECT_EQ(leaf->notify(nullptr, kMsgCheckIfViewContainer), 0);
  EXPECT_EQ(frame->getFrame(), frame);
  leaf->release();
  box->release();
}

TEST_F(ViewTree, ReferencesAreReleasedOnceAndFocusNeverPointsAtAFreedView) {
  auto* bitmap = new CBitmap(nullptr, 4, 4);
  auto* kept = new ProbeView("kept", CRect(0, 0, 10, 10));
  auto* dropped = new ProbeView("dropped", CRect(10, 0, 20, 10));
  auto* box = new CViewContainer(CRect(30, 0, 60, 30), frame, bitmap);
  auto* nested = new ProbeView("nested", CRect(0, 0, 10, 10));
  EXPECT_EQ(bitmap->getNbReference(), 2);
  kept->setBackground(bitmap);
  nested->setBackground(bitmap);
  EXPECT_EQ(bitmap->getNbReference(), 4);
  box->addView(nested);
  frame->addView(kept);
  frame->addView(dropped);
  frame->addView(box);

  // Focus on a view that is then removed and released.
  dropped->setWantsFocus(true);
  frame->setFocusView(dropped);
  frame->removeView(dropped, true);
  EXPECT_EQ(gDestroyed, 1);
  EXPECT_EQ(frame->getFocusView(), nullptr);

  // Focus inside a container that goes: cleared as well.
  frame->setFocusView(nested);
  frame->removeView(box, true);
  EXPECT_EQ(gDestroyed, 2);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_EQ(bitmap->getNbReference(), 2);  // the box's and nested's references went

  // A modal view released while modal is forgotten too.
  auto* modal = new ProbeView("modal", CRect(0, 0, 5, 5));
  frame->setModalView(modal);
  frame->removeView(modal, true);
  EXPECT_EQ(gDestroyed, 3);
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_TRUE(frame->setModalView(nullptr));

  // Removed without release: alive, no longer in the tree.
  kept->retain();
  frame->removeView(kept, false);
  EXPECT_EQ(kept->getNbReference(), 2);
  EXPECT_EQ(kept->getFrame(), nullptr);
  kept->release();
  frame->addView(kept);  // the frame holds the only reference now
  frame->release();      // and releases it exactly once
  frame = nullptr;
  EXPECT_EQ(gDestroyed, 4);
  EXPECT_EQ(bitmap->getNbReference(), 1);
  bitmap->release();
}

}  // namespace
