#include "display/printer_pens.h"

namespace linework {

int PrinterPenWidth(uint8_t colour, const ColourTable& colours, const PrinterPenTable& pens) {
    int entry = colour;
    if (colour > 15) {
        entry = 16;
        for (int basic = 1; basic <= 15; ++basic) {
            if (colours[static_cast<uint8_t>(basic)] == colours[colour]) {
                entry = basic;
                break;
            }
        }
    }
    return pens.entries[static_cast<size_t>(entry)] & 0xFF;
}

}  // namespace linework
