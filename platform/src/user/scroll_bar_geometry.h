// Where a window scroll bar's parts lie, in window coordinates: the two arrows, the track
// between them, the thumb within the track (sized by the page), and which part a point is on.
// The vertical bar stands right of the client area, the horizontal one below it.
#ifndef WINPLAT_SRC_USER_SCROLL_BAR_GEOMETRY_H
#define WINPLAT_SRC_USER_SCROLL_BAR_GEOMETRY_H

#include "user/scroll_bar_state.h"

namespace winplat::user {

struct WindowObject;  // user/window.h

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

struct ScrollBarLayout {
    bool vertical = true;
    RECT bar{};        // the whole bar
    RECT lineUp{};     // the up (left) arrow
    RECT lineDown{};   // the down (right) arrow
    int trackStart = 0;  // along the bar's axis, window coordinates
    int trackEnd = 0;
    bool hasThumb = false;
    int thumbStart = 0;
    int thumbEnd = 0;

    RECT thumbRect() const;
    RECT pageUpRect() const;
    RECT pageDownRect() const;
    int thumbTravel() const { return trackEnd - trackStart - (thumbEnd - thumbStart); }
};

// The bar's rectangle in window coordinates (empty when the window has no such bar).
RECT scrollBarRect(const WindowObject& window, int bar);
// The size box where both bars meet (empty unless both are shown).
RECT sizeBoxRect(const WindowObject& window);

// The layout of a bar of the window with that state; the thumb is left out when the bar is
// disabled, the range does not scroll, or the track is too short for it.
ScrollBarLayout layoutScrollBar(const RECT& bar, bool vertical, const ScrollBarState& state, bool enabled);

ScrollPart scrollPartAt(const ScrollBarLayout& layout, POINT window);

// The position a thumb whose leading edge stands at 'thumbStart' (along the axis) stands for.
int positionForThumb(const ScrollBarLayout& layout, const ScrollBarState& state, int thumbStart);

}  // namespace winplat::user

#endif
