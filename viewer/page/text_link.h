// A link in the text of a document view's row: its stored target as the text keeps it, what the
// target decodes to, and the rectangle its text takes on the screen.
#ifndef LECT32_PAGE_TEXT_LINK_H
#define LECT32_PAGE_TEXT_LINK_H

#include <cstdint>
#include <vector>

#include "store/link_target.h"
#include "winplat/types.h"

namespace lect32 {

struct TextLink {
    uint8_t firstByte = 0;        // the stored target's first byte: its kind
    std::vector<uint8_t> stored;  // the target's body between the frame bytes
    LinkTarget target;
    RECT rect{0, 0, 0, 0};  // screen coordinates, when asked for
};

}  // namespace lect32

#endif
