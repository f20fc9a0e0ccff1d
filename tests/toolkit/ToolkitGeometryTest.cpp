// Points, rectangles, colours and reference counts.
#include <gtest/gtest.h>

#include "toolkit/base/CColor.h"
#include "toolkit/base/CCountedObject.h"
#include "toolkit/base/CRect.h"

namespace {

TEST(Geometry, EdgesOverlapsAndBounds) {
  const CRect r(10, 20, 30, 40);
  EXPECT_EQ(r.width(), 20);
  EXPECT_EQ(r.height(), 20);
  // Right and bottom edges are inside.
  EXPECT_TRUE(CPoint(30, 40).isInside(r));
  EXPECT_TRUE(CPoint(10, 20).isInside(r));
  EXPECT_FALSE(CPoint(31, 40).isInside(r));
  EXPECT_FALSE(CPoint(30, 41).isInside(r));
  EXPECT_FALSE(CPoint(9, 25).isInside(r));

  // Touching edges overlap; one pixel apart does not.
  EXPECT_TRUE(r.rectOverlap(CRect(30, 40, 50, 50)));
  EXPECT_TRUE(CRect(0, 0, 10, 20).rectOverlap(r));
  EXPECT_FALSE(r.rectOverlap(CRect(31, 20, 50, 40)));
  EXPECT_FALSE(r.rectOverlap(CRect(10, 41, 30, 50)));
  EXPECT_FALSE(CRect(0, 0, 9, 19).rectOverlap(r));

  CRect b = r;
  EXPECT_EQ(b.bound(CRect(15, 0, 100, 35)), CRect(15, 20, 30, 35));
  // Disjoint: empty, keeping its left/top, never negative.
  CRect away(50, 60, 70, 80);
  away.bound(r);
  EXPECT_EQ(away, CRect(50, 60, 50, 60));
  EXPECT_TRUE(away.isEmpty());

  CRect moved = r;
  EXPECT_EQ(moved.offset(-10, 5), CRect(0, 25, 20, 45));
  CPoint p(1, 2);
  EXPECT_EQ(p.offset(3, -4), CPoint(4, -2));
  EXPECT_NE(CRect(0, 0, 1, 1), CRect(0, 0, 1, 2));
}

TEST(Geometry, ColoursAndCounting) {
  EXPECT_EQ(colorRef(CColor{0x12, 0x34, 0x56, 0x78}), 0x563412u);
  EXPECT_EQ(kBlackCColor, (CColor{0, 0, 0, 255}));
  EXPECT_EQ(kGreyCColor, (CColor{127, 127, 127, 255}));
  EXPECT_EQ(kTransparentCColor, (CColor{255, 255, 255, 0}));
  EXPECT_NE(kTransparentCColor, kWhiteCColor);  // alpha counts in equality

  static int destroyed = 0;
  struct Counted : CCountedObject {
    ~Counted() override { ++destroyed; }
  };
  auto* object = new Counted;
  EXPECT_EQ(object->getNbReference(), 1);
  object->retain();
  object->release();
  EXPECT_EQ(destroyed, 0);
  object->release();
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
