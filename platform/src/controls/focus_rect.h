// The dotted focus rectangle controls draw around what has the keyboard focus.
#ifndef WINPLAT_SRC_CONTROLS_FOCUS_RECT_H
#define WINPLAT_SRC_CONTROLS_FOCUS_RECT_H

#include "winplat/user.h"

namespace winplat::controls {

// Inverts every other pixel of the rectangle's outline (those whose x + y is even), so a second
// call restores what was there.
void drawFocusOutline(HDC dc, const RECT& rect);

}  // namespace winplat::controls

#endif
