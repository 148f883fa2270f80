// Drawing a window scroll bar: arrows as 3-D buttons (pushed while held, engraved when
// disabled), the track in the scroll bar colour (the held page area darker), the thumb raised.
#ifndef WINPLAT_SRC_USER_SCROLL_BAR_DRAWING_H
#define WINPLAT_SRC_USER_SCROLL_BAR_DRAWING_H

#include "user/scroll_bar_geometry.h"

namespace winplat::user {

struct WindowObject;  // user/window.h

// The layout of the window's bar of SB_HORZ or SB_VERT as it stands (its thumb at the tracking
// position while the thumb is dragged).
ScrollBarLayout windowScrollLayout(WindowObject& window, int bar);

// Draws the bar into a DC of the whole window (window coordinates).
void paintScrollBar(HDC dc, WindowObject& window, int bar);

// Draws a bar laid out in the DC's coordinates: the held part pushed or darker, arrows engraved
// when disabled, the track with the brush (null: the scroll bar colour).
void drawScrollBarParts(HDC dc, const ScrollBarLayout& layout, const ScrollBarState& state, ScrollPart held,
                        HBRUSH track = nullptr);

}  // namespace winplat::user

#endif
