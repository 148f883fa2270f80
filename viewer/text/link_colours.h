// The process-wide colours of links: colour 0 is the link colour, taken when links take their own
// colour; links are underlined when asked. The contents tree's appearance sets them.
#ifndef LECT32_TEXT_LINK_COLOURS_H
#define LECT32_TEXT_LINK_COLOURS_H

#include <array>
#include <cstdint>

#include "winplat/types.h"

namespace lect32 {

struct LinkColours {
    static constexpr COLORREF kNone = 255;

    std::array<COLORREF, 2> colour{kNone, 0};
    uint8_t mode = 0;
    bool linksTakeColour = true;
    bool linksUnderlined = true;

    // Whether links are drawn in colour 0: asked, and a colour is set.
    bool Colours() const { return linksTakeColour && colour[0] != kNone; }

    // No link colour, links coloured and underlined.
    void Init();
    // Colour 0 or 1 from a colour-table triple; which = -1 (255) clears colour 0 and the mode.
    void SetColour(int which, uint8_t first, uint8_t second, uint8_t third);
};

LinkColours& GetLinkColours();

}  // namespace lect32

#endif
