// The 5-5-4 inverse colour table: for every cell of colour space, the palette index nearest the
// cell's lowest corner, so that mapping a pixel to a palette is one look-up.
#ifndef PIXMILL_CORE_INVERSE_COLOUR_TABLE_H
#define PIXMILL_CORE_INVERSE_COLOUR_TABLE_H

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "pixmill/pixmill.h"

namespace pixmill {

constexpr int kInverseCells = 16384;
using InverseColourTable = std::array<uint8_t, kInverseCells>;

// Cell of a colour: 5 bits of red, 5 of green and 4 of blue.
inline int inverseCell(int r, int g, int b) { return (b >> 4) * 1024 + (g >> 3) * 32 + (r >> 3); }

// The nearest-index rule of the whole library (the display layer's rule too): least squared
// distance in red, green and blue, the lowest index among equals.
uint8_t nearestPaletteIndex(std::span<const RGBQUAD> palette, int r, int g, int b);

// The table for a palette of 1..256 entries. Tables are kept for the last few palettes asked for,
// since conversions mostly use the same fixed palettes again. Throws std::bad_alloc.
std::shared_ptr<const InverseColourTable> inverseColourTableFor(std::span<const RGBQUAD> palette);

}  // namespace pixmill

#endif
