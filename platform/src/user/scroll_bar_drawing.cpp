#include "user/scroll_bar_drawing.h"

#include "user/edge_drawing.h"
#include "user/nonclient_state.h"
#include "user/window.h"

namespace winplat::user {

ScrollBarLayout windowScrollLayout(WindowObject& window, int bar) {
    const ScrollBarState& state = scrollBar(window, bar);
    ScrollBarState shown = state;
    if (state.tracking) shown.pos = state.trackPos;
    const bool enabled = state.disabledArrows != ESB_DISABLE_BOTH;
    return layoutScrollBar(scrollBarRect(window, bar), bar == SB_VERT, shown, enabled);
}

void paintScrollBar(HDC dc, WindowObject& window, int bar) {
    const NonClientState& nc = nonClientState(window);
    const ScrollPart held = nc.pressedBar == bar ? nc.pressedPart : ScrollPart::None;
    drawScrollBarParts(dc, windowScrollLayout(window, bar), scrollBar(window, bar), held);
}

void drawScrollBarParts(HDC dc, const ScrollBarLayout& layout, const ScrollBarState& state, ScrollPart held,
                        HBRUSH track) {
    const bool vertical = layout.vertical;
    const bool upOff = (state.disabledArrows & ESB_DISABLE_LTUP) || !state.scrolls();
    const bool downOff = (state.disabledArrows & ESB_DISABLE_RTDN) || !state.scrolls();
    drawButton(dc, layout.lineUp, vertical ? Glyph::Up : Glyph::Left, held == ScrollPart::LineUp, upOff);
    drawButton(dc, layout.lineDown, vertical ? Glyph::Down : Glyph::Right, held == ScrollPart::LineDown, downOff);
    const auto fillPage = [dc, track](const RECT& r, bool pressed) {
        if (pressed || !track) {
            fillWithColour(dc, r, pressed ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR);
        } else {
            FillRect(dc, &r, track);
        }
    };
    if (!layout.hasThumb) {
        // No thumb divides the track: all of it is one plain area.
        fillPage(layout.vertical ? RECT{layout.bar.left, layout.trackStart, layout.bar.right, layout.trackEnd}
                                 : RECT{layout.trackStart, layout.bar.top, layout.trackEnd, layout.bar.bottom},
                 false);
        return;
    }
    fillPage(layout.pageUpRect(), held == ScrollPart::PageUp);
    fillPage(layout.pageDownRect(), held == ScrollPart::PageDown);
    RECT thumb = layout.thumbRect();
    drawEdges(dc, thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

}  // namespace winplat::user
