// The library's fixed palettes and the default colour tables of new images.
#ifndef PIXMILL_CORE_PALETTES_H
#define PIXMILL_CORE_PALETTES_H

#include "pixmill/pixmill.h"

namespace pixmill {

// 256 entries: 3 bits of red, 3 of green, 2 of blue, each spread over 0..255.
const PALETTEENTRY* hardPalette();
// The 16 colours of the system's 4-bit display.
const PALETTEENTRY* windows16Palette();
// 256 entries tuned for dithering photographs.
const PALETTEENTRY* finePalette();
// 256 entries: 0-191 black, then the 4x4x4 cube at levels 0, 85, 170, 255.
const PALETTEENTRY* cubePalette();
// Entry 0 black, entry 1 white.
const PALETTEENTRY* blackWhitePalette();

// Fills a new image's colour table with the default of its depth (1 bit black/white, 4 bits the
// 16 system colours, 8 bits the hard palette); nothing above 8 bits.
void writeDefaultPalette(RGBQUAD* colors, int bits);

}  // namespace pixmill

#endif
