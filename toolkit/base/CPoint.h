// A point of the toolkit: signed 32-bit pixels, h to the right, v downwards.
#pragma once

#include <cstdint>

struct CRect;

struct CPoint {
  constexpr CPoint() = default;
  constexpr CPoint(int32_t x, int32_t y) : h(x), v(y) {}

  CPoint& offset(int32_t dx, int32_t dy) {
    h += dx;
    v += dy;
    return *this;
  }
  // Right and bottom edges count as inside (defined in CRect.h).
  bool isInside(const CRect& rect) const;

  friend constexpr bool operator==(const CPoint&, const CPoint&) = default;

  int32_t h = 0;
  int32_t v = 0;
};
