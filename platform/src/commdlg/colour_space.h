// Red, green and blue (0..255) and hue, saturation and luminosity (0..240), as the colour dialog
// shows them side by side.
#ifndef WINPLAT_SRC_COMMDLG_COLOUR_SPACE_H
#define WINPLAT_SRC_COMMDLG_COLOUR_SPACE_H

#include "winplat/types.h"

namespace winplat::commdlg {

inline constexpr int kHslMax = 240;
// The hue a grey shows: it has none of its own.
inline constexpr int kGreyHue = kHslMax * 2 / 3;

struct Hsl {
    int hue = 0;         // 0..239 around the circle: 0 red, 80 green, 160 blue
    int saturation = 0;  // 0..240
    int luminosity = 0;  // 0..240
    bool operator==(const Hsl&) const = default;
};

// Integer conversions rounded to the nearest step; values outside the ranges are clamped first.
Hsl toHsl(COLORREF colour);
COLORREF toRgb(Hsl hsl);

}  // namespace winplat::commdlg

#endif
