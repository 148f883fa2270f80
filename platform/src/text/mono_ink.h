// A bi-level glyph image turned into the boxes text output fills: the runs of set pixels of each
// row, with runs that repeat in the rows below merged into one box, so a stem is one box.
#ifndef WINPLAT_SRC_TEXT_MONO_INK_H
#define WINPLAT_SRC_TEXT_MONO_INK_H

#include <cstdint>
#include <span>
#include <vector>

#include "text/face.h"

namespace winplat::text {

// A packed image, one bit a pixel, the leftmost pixel of a row in bit 7 of its first byte; 'pitch'
// bytes from one row to the next. (left, top) is where its first pixel lies relative to the glyph
// origin, y growing downwards.
struct MonoImage {
    const uint8_t* bits = nullptr;
    int pitch = 0;
    int width = 0;
    int rows = 0;
    int left = 0;
    int top = 0;
};

std::vector<InkBox> inkBoxes(const MonoImage& image);

// The rectangle the boxes span; all zero for none.
InkBox inkBounds(std::span<const InkBox> boxes);

}  // namespace winplat::text

#endif
