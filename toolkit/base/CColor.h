// A colour of the toolkit: red, green, blue and alpha bytes in that order.
// The drawing layers ignore alpha except where a bitmap's transparent colour
// is compared.
#pragma once

#include <cstdint>

struct CColor {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 0;

  friend constexpr bool operator==(const CColor&, const CColor&) = default;
};
static_assert(sizeof(CColor) == 4);

// The colour as the Windows drawing functions take it: red in the low byte.
constexpr uint32_t colorRef(const CColor& c) { return c.red | (uint32_t{c.green} << 8) | (uint32_t{c.blue} << 16); }

inline constexpr CColor kBlackCColor{0, 0, 0, 255};
inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kGreyCColor{127, 127, 127, 255};
inline constexpr CColor kRedCColor{255, 0, 0, 255};
inline constexpr CColor kGreenCColor{0, 255, 0, 255};
inline constexpr CColor kBlueCColor{0, 0, 255, 255};
inline constexpr CColor kYellowCColor{255, 255, 0, 255};
inline constexpr CColor kMagentaCColor{255, 0, 255, 255};
inline constexpr CColor kCyanCColor{0, 255, 255, 255};
// The default transparent colour of bitmaps.
inline constexpr CColor kTransparentCColor{255, 255, 255, 0};
