// The printer pen table: per basic colour 0..16 a word whose low byte is the pen width used while
// printing.
#ifndef LINEWORK_DISPLAY_PRINTER_PENS_H
#define LINEWORK_DISPLAY_PRINTER_PENS_H

#include <array>
#include <cstdint>

#include "display/colour_table.h"

namespace linework {

struct PrinterPenTable {
    static constexpr int kEntries = 17;
    // Colour 0 gets width 0, every other colour 4097 (width 1).
    std::array<int32_t, kEntries> entries{0,    4097, 4097, 4097, 4097, 4097, 4097, 4097, 4097,
                                          4097, 4097, 4097, 4097, 4097, 4097, 4097, 4097};
};

// The printing width of pen colour n: a colour above 15 stands for the first of colours 1..15
// that shows the same value, or for 16 when none does.
int PrinterPenWidth(uint8_t colour, const ColourTable& colours, const PrinterPenTable& pens);

}  // namespace linework

#endif
