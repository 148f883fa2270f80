#include "display/colour_table.h"

namespace linework {

ColourTable DefaultColourTable(COLORREF buttonFace) {
    static constexpr COLORREF kBasic[16] = {0x808080, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000,
                                            0xFF00FF, 0xFFFFFF, 0x000000, 0x000080, 0x008080, 0x008000,
                                            0x808000, 0x800000, 0x800080, 0};
    ColourTable table;
    for (int i = 0; i < 15; ++i) table.colours[i] = kBasic[i];
    table.colours[15] = buttonFace;
    for (int i = 16; i < 256; ++i) table.colours[i] = i % 30 == 0 ? 0xC0C0C0 : table.colours[(i - 16) % 15 + 1];
    return table;
}

}  // namespace linework
