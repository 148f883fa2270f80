// The system cursors as pixel art of our own: one text picture per cursor, 32 x 32 at most, with
// its hot spot. In the pictures '#' is black, 'o' white, '~' inverts the screen and '.' (or
// nothing: rows stop at their last drawn pixel) lets the screen show through.
#ifndef WINPLAT_SRC_USER_CURSOR_SHAPES_H
#define WINPLAT_SRC_USER_CURSOR_SHAPES_H

#include <array>
#include <span>

#include "winplat/draw.h"

namespace winplat::user {

constexpr int kCursorSize = 32;

struct CursorArt {
    WORD id;        // the IDC_ number
    POINT hotSpot;  // the pixel that points
    std::array<const char*, kCursorSize> rows;  // top first; the picture ends at the first null
};

std::span<const CursorArt> systemCursorArt();

}  // namespace winplat::user

#endif
