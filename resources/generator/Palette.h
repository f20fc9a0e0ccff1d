// The colours of the artwork, as 8-bit red, green and blue.
#pragma once

#include <cstdint>

namespace art {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

// The face darkens slightly from top to bottom; it has no horizontal
// variation, so the three knob squares of the window picture are equal.
constexpr Rgb kFaceTop{62, 65, 70};
constexpr Rgb kFaceBottom{44, 46, 50};
constexpr Rgb kEdgeLight{92, 96, 102};
constexpr Rgb kEdgeShadow{22, 23, 25};

// Behind the impulse curve (green 0,150,0 and red 150,0,0), its grey text
// and marker: one flat, near-black colour.
constexpr Rgb kPanel{14, 16, 18};

constexpr Rgb kWellCentre{24, 25, 28};
constexpr Rgb kWellRim{36, 38, 42};
constexpr Rgb kArcTrack{16, 17, 19};
constexpr Rgb kAccent{238, 160, 52};
constexpr Rgb kKnobLight{112, 117, 124};
constexpr Rgb kKnobDark{50, 53, 58};
constexpr Rgb kPointer{240, 242, 245};

constexpr Rgb kCaption{168, 174, 182};
constexpr Rgb kAddress{136, 142, 150};

constexpr Rgb kButtonLight{96, 100, 107};
constexpr Rgb kButtonDark{62, 65, 70};
constexpr Rgb kButtonText{228, 231, 235};
constexpr Rgb kSwitchOffLight{222, 224, 227};
constexpr Rgb kSwitchOffDark{176, 179, 184};
constexpr Rgb kSwitchOnLight{40, 42, 45};
constexpr Rgb kSwitchOnDark{26, 27, 30};
constexpr Rgb kLetterRed{205, 28, 24};
constexpr Rgb kLetterRedLit{240, 56, 44};

}  // namespace art
