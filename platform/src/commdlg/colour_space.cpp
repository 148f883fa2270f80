// The integer HSL model of the colour dialog: luminosity is the mean of the largest and smallest
// channel, saturation their spread against the room left, hue the place on the circle of six
// sextants of 40 steps each.
#include "commdlg/colour_space.h"

#include <algorithm>

namespace winplat::commdlg {
namespace {

constexpr int kRgbMax = 255;
constexpr int kSextant = kHslMax / 6;

// One channel from the hue's place relative to it and the two levels of the colour.
int channel(int low, int high, int hue) {
    if (hue < 0) hue += kHslMax;
    if (hue > kHslMax) hue -= kHslMax;
    if (hue < kSextant) return low + ((high - low) * hue + kSextant / 2) / kSextant;
    if (hue < kHslMax / 2) return high;
    if (hue < kHslMax * 2 / 3) return low + ((high - low) * (kHslMax * 2 / 3 - hue) + kSextant / 2) / kSextant;
    return low;
}

BYTE toByte(int level) { return static_cast<BYTE>(std::clamp((level * kRgbMax + kHslMax / 2) / kHslMax, 0, kRgbMax)); }

}  // namespace

Hsl toHsl(COLORREF colour) {
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    const int high = std::max({r, g, b}), low = std::min({r, g, b});
    Hsl hsl;
    hsl.luminosity = ((high + low) * kHslMax + kRgbMax) / (2 * kRgbMax);
    if (high == low) {
        hsl.hue = kGreyHue;
        return hsl;
    }
    const int spread = high - low;
    const int room = hsl.luminosity <= kHslMax / 2 ? high + low : 2 * kRgbMax - high - low;
    hsl.saturation = (spread * kHslMax + room / 2) / room;
    const auto distance = [&](int c) { return ((high - c) * kSextant + spread / 2) / spread; };
    if (r == high) hsl.hue = distance(b) - distance(g);
    else if (g == high) hsl.hue = kHslMax / 3 + distance(r) - distance(b);
    else hsl.hue = kHslMax * 2 / 3 + distance(g) - distance(r);
    if (hsl.hue < 0) hsl.hue += kHslMax;
    if (hsl.hue >= kHslMax) hsl.hue -= kHslMax;
    return hsl;
}

COLORREF toRgb(Hsl hsl) {
    const int hue = std::clamp(hsl.hue, 0, kHslMax);
    const int s = std::clamp(hsl.saturation, 0, kHslMax);
    const int l = std::clamp(hsl.luminosity, 0, kHslMax);
    if (s == 0) {
        const BYTE grey = toByte(l);
        return RGB(grey, grey, grey);
    }
    const int high = l <= kHslMax / 2 ? (l * (kHslMax + s) + kHslMax / 2) / kHslMax
                                      : l + s - (l * s + kHslMax / 2) / kHslMax;
    const int low = 2 * l - high;
    return RGB(toByte(channel(low, high, hue + kHslMax / 3)), toByte(channel(low, high, hue)),
               toByte(channel(low, high, hue - kHslMax / 3)));
}

}  // namespace winplat::commdlg
