// Where the editor places its views, in window pixels. The pictures are
// drawn to sit exactly under them: the knob and button images replace the
// window picture at their rectangles, and the read-outs and the impulse
// panel draw over it.
#pragma once

namespace art {

// A rectangle covering columns left .. right - 1 and rows top .. bottom - 1.
struct Box {
  int left;
  int top;
  int right;
  int bottom;

  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr double centreX() const { return (left + right) / 2.0; }
};

constexpr int kWindowWidth = 304;
constexpr int kWindowHeight = 245;

constexpr int kKnobCount = 3;
constexpr int kKnobImages = 64;
constexpr int kKnobSize = 60;
constexpr Box kKnobs[kKnobCount] = {{7, 8, 67, 68}, {79, 8, 139, 68}, {151, 8, 211, 68}};
constexpr Box kReadouts[kKnobCount] = {{7, 85, 67, 105}, {79, 85, 139, 105}, {136, 85, 226, 105}};
constexpr const char* kKnobCaptions[kKnobCount] = {"mix", "gain", "length"};

// Captions go between a knob's bottom and its read-out's top.
constexpr int kCaptionTop = 69;
constexpr int kCaptionBottom = 84;

constexpr Box kLoadButton{221, 45, 294, 70};
constexpr Box kLeftButton{231, 75, 249, 95};
constexpr Box kRightButton{266, 75, 284, 95};
constexpr Box kImpulsePanel{14, 111, 290, 233};
constexpr Box kLinkArea{212, 0, 303, 41};

// The maker's page, printed under the logo.
constexpr const char* kProductName = "Ulmar";
constexpr const char* kWebAddress = "www.ulmar.example";

constexpr int kButtonImages = 2;

static_assert(kKnobs[0].width() == kKnobSize && kKnobs[0].height() == kKnobSize);
static_assert(kKnobs[1].top == kKnobs[0].top && kKnobs[2].top == kKnobs[0].top,
              "one strip serves all knobs only if they stand on the same rows");
static_assert(kKnobs[0].bottom < kCaptionTop && kCaptionBottom < kReadouts[0].top);
static_assert(kLoadButton.width() == 73 && kLoadButton.height() == 25);
static_assert(kLeftButton.width() == 18 && kLeftButton.height() == 20);
static_assert(kRightButton.width() == 18 && kRightButton.height() == 20);
static_assert(kImpulsePanel.width() == 276 && kImpulsePanel.height() == 122);

}  // namespace art
