// Where the editor's views stand, in frame pixels (left, top, right,
// bottom), and the tags that bind its controls to the effect's parameters.
// The rectangles follow from the bitmaps' sizes; the asserts below say how.
#pragma once

#include <cstdint>

#include "toolkit/base/CRect.h"

namespace editor_layout {

inline constexpr int32_t kWidth = 304;  // the background's size
inline constexpr int32_t kHeight = 245;

inline constexpr int32_t kKnobSide = 60;  // strip width; strip height / 64
inline constexpr int32_t kKnobImages = 64;
inline constexpr int32_t kLoadWidth = 73;
inline constexpr int32_t kLoadImageHeight = 25;
inline constexpr int32_t kSwitchWidth = 18;
inline constexpr int32_t kSwitchImageHeight = 20;

// Parameter indices double as tags; the load button has one of its own.
inline constexpr int32_t kMixTag = 0;
inline constexpr int32_t kGainTag = 1;
inline constexpr int32_t kLengthTag = 2;
inline constexpr int32_t kLeftTag = 3;
inline constexpr int32_t kRightTag = 4;
inline constexpr int32_t kLoadTag = 1005;

inline constexpr CRect kKnobs[3] = {CRect(7, 8, 67, 68), CRect(79, 8, 139, 68), CRect(151, 8, 211, 68)};
inline constexpr CRect kReadOuts[3] = {CRect(7, 85, 67, 105), CRect(79, 85, 139, 105), CRect(136, 85, 226, 105)};
inline constexpr CRect kLoadButton(221, 45, 294, 70);
inline constexpr CRect kLeftButton(231, 75, 249, 95);
inline constexpr CRect kRightButton(266, 75, 284, 95);
inline constexpr CRect kImpulsePanel(14, 111, 290, 233);
inline constexpr CRect kLinkArea(212, 0, 303, 41);

static_assert(kKnobImages * kKnobSide == 3840);
static_assert(kKnobs[0].left == 7 && kKnobs[1].left == 7 + 72 && kKnobs[2].left == 7 + 144);
static_assert(kKnobs[2].width() == kKnobSide && kKnobs[2].height() == kKnobSide);
static_assert(kReadOuts[0].top == kKnobs[0].bottom + 17 && kReadOuts[0].bottom == kKnobs[0].bottom + 37);
static_assert(kReadOuts[2].left == kKnobs[2].left - 15 && kReadOuts[2].right == kKnobs[2].right + 15);
static_assert(kLoadButton.left == kKnobs[2].left + 70 && kLoadButton.width() == kLoadWidth &&
              kLoadButton.height() == kLoadImageHeight);
static_assert(kLeftButton.top == kLoadButton.bottom + 5 && kLeftButton.left == kLoadButton.left + 10);
static_assert(kRightButton.right == kLoadButton.right - 10 && kRightButton.width() == kSwitchWidth &&
              kRightButton.height() == kSwitchImageHeight);
static_assert(kImpulsePanel.width() == 276 && kImpulsePanel.height() == 122);

}  // namespace editor_layout
