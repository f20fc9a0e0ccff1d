// A rectangle of the toolkit: signed 32-bit pixels, y downwards. Hit tests
// count the right and bottom edges as inside; drawing covers columns
// left..right-1 and rows top..bottom-1.
#pragma once

#include <algorithm>
#include <cstdint>

#include "toolkit/base/CPoint.h"

struct CRect {
  constexpr CRect() = default;
  constexpr CRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}
  // A rectangle of the given size whose top-left is `origin`.
  constexpr CRect(const CPoint& origin, int32_t width, int32_t height)
      : left(origin.h), top(origin.v), right(origin.h + width), bottom(origin.v + height) {}

  constexpr int32_t width() const { return right - left; }
  constexpr int32_t height() const { return bottom - top; }
  constexpr CPoint topLeft() const { return CPoint(left, top); }
  constexpr bool isEmpty() const { return right <= left || bottom <= top; }

  CRect& offset(int32_t dx, int32_t dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    return *this;
  }
  CRect& moveTo(int32_t x, int32_t y) { return offset(x - left, y - top); }

  // Intersects in place; an empty result keeps its left/top and gets no
  // negative width or height.
  CRect& bound(const CRect& other) {
    left = std::max(left, other.left);
    top = std::max(top, other.top);
    right = std::min(right, other.right);
    bottom = std::min(bottom, other.bottom);
    right = std::max(right, left);
    bottom = std::max(bottom, top);
    return *this;
  }

  // Touching edges overlap.
  constexpr bool rectOverlap(const CRect& other) const {
    return !(right < other.left || other.right < left || bottom < other.top || other.bottom < top);
  }

  friend constexpr bool operator==(const CRect&, const CRect&) = default;

  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

inline bool CPoint::isInside(const CRect& rect) const {
  return h >= rect.left && h <= rect.right && v >= rect.top && v <= rect.bottom;
}
