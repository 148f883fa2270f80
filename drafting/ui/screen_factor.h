// Pixel sizes designed for a screen of 96 pixels per inch, scaled to the one the program runs
// on: the screen factor is max(96, pixels per inch) / 96.
#ifndef LINEWORK_UI_SCREEN_FACTOR_H
#define LINEWORK_UI_SCREEN_FACTOR_H

#include <algorithm>
#include <cmath>

#include "winforms/application.h"

namespace linework {

inline double ScreenFactor() { return std::max(96, winforms::Screen::PixelsPerInch()) / 96.0; }
inline int ScaleByDpi(int pixels, double factor) { return static_cast<int>(std::nearbyint(pixels * factor)); }
inline int UnscaleByDpi(int pixels, double factor) { return static_cast<int>(std::nearbyint(pixels / factor)); }

}  // namespace linework

#endif
