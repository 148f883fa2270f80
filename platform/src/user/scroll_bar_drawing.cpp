#include "user/scroll_bar_drawing.h"

#include "user/edge_drawing.h"
#include "user/nonclient_state.h"

namespace winplat::user {

ScrollBarLayout windowScrollLayout(WindowObject& window, int bar) {
    const ScrollBarState& state = scrollBar(window, bar);
    ScrollBarState shown = state;
    if (state.tracking) shown.pos = state.trackPos;
    const bool enabled = state.disabledArrows != ESB_DISABLE_BOTH;
    return layoutScrollBar(scrollBarRect(window, bar), bar == SB_VERT, shown, enabled);
}

void paintScrollBar(HDC dc, WindowObject& window, int bar) {
    const ScrollBarLayout layout = windowScrollLayout(window, bar);
    const ScrollBarState& state = scrollBar(window, bar);
    const NonClientState& nc = nonClientState(window);
    const ScrollPart held = nc.pressedBar == bar ? nc.pressedPart : ScrollPart::None;
    const bool vertical = bar == SB_VERT;
    const bool upOff = (state.disabledArrows & ESB_DISABLE_LTUP) || !state.scrolls();
    const bool downOff = (state.disabledArrows & ESB_DISABLE_RTDN) || !state.scrolls();
    drawButton(dc, layout.lineUp, vertical ? Glyph::Up : Glyph::Left, held == ScrollPart::LineUp, upOff);
    drawButton(dc, layout.lineDown, vertical ? Glyph::Down : Glyph::Right, held == ScrollPart::LineDown, downOff);
    const RECT pageUp = layout.pageUpRect();
    const RECT pageDown = layout.pageDownRect();
    fillWithColour(dc, pageUp, held == ScrollPart::PageUp ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR);
    fillWithColour(dc, pageDown, held == ScrollPart::PageDown ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR);
    if (!layout.hasThumb) return;
    RECT thumb = layout.thumbRect();
    drawEdges(dc, thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

}  // namespace winplat::user
