// The drawing's 256 pen colours (entry 0 the background) and the highlight colour of selected
// entities, as COLORREF values (red in the low byte).
#ifndef LINEWORK_DISPLAY_COLOUR_TABLE_H
#define LINEWORK_DISPLAY_COLOUR_TABLE_H

#include <array>
#include <cstdint>

#include "winplat/types.h"

namespace linework {

struct ColourTable {
    std::array<COLORREF, 256> colours{};
    COLORREF highlight = 0x0000FF;

    COLORREF Background() const { return colours[0]; }
    COLORREF operator[](uint8_t index) const { return colours[index]; }
};

// Grey background, the fifteen basic colours with the system's button face as 15; entries 16..255
// repeat 1..15 in turn, except every thirtieth (30, 60, ..., 240), which is light grey. Red
// highlight.
ColourTable DefaultColourTable(COLORREF buttonFace);

}  // namespace linework

#endif
