#include "user/nonclient_drawing.h"

#include "user/caption_layout.h"
#include "user/edge_drawing.h"
#include "user/menu_bar.h"
#include "user/metrics.h"
#include "user/nonclient_state.h"
#include "user/scroll_bar_drawing.h"
#include "user/scroll_bar_geometry.h"
#include "user/tree.h"
#include "user/visible_region.h"
#include "user/window_dc.h"
#include "winplat/owners.h"
#include "winplat/region.h"

namespace winplat::user {
namespace {

void releaseWindowDc(HDC dc) { ReleaseDC(nullptr, dc); }
using WindowDc = UniqueHandle<HDC, releaseWindowDc>;

// A DC on the whole window that leaves the client area alone.
WindowDc frameDc(WindowObject& window) {
    WindowDc dc(makeWindowDc(window, DCX_WINDOW | (styleClipFlags(window) & DCX_CLIPSIBLINGS), nullptr));
    if (dc) ExcludeClipRect(dc.get(), window.client.left, window.client.top, window.client.right, window.client.bottom);
    return dc;
}

// A 1-pixel ring just inside the rectangle.
void frameRing(HDC dc, const RECT& r, int colour) {
    fillWithColour(dc, {r.left, r.top, r.right, r.top + 1}, colour);
    fillWithColour(dc, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
    fillWithColour(dc, {r.left, r.top, r.left + 1, r.bottom}, colour);
    fillWithColour(dc, {r.right - 1, r.top, r.right, r.bottom}, colour);
}

bool dialogFramed(const WindowObject& w) {
    return !(w.style & WS_THICKFRAME) && ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME));
}

// The outer frame, from the window's edge inwards; returns what it leaves inside.
RECT drawOuterFrame(HDC dc, const WindowObject& w, bool active) {
    RECT r{0, 0, w.width(), w.height()};
    if (w.style & WS_THICKFRAME) {
        drawEdges(dc, r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        const int colour = active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER;
        const int rest = systemMetric(SM_CXFRAME) - 2;
        for (int i = 0; i < rest; ++i) {
            frameRing(dc, r, colour);
            r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        }
    } else if (dialogFramed(w)) {
        drawEdges(dc, r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        frameRing(dc, r, COLOR_BTNFACE);
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    } else if (w.style & WS_BORDER) {
        frameRing(dc, r, COLOR_WINDOWFRAME);
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    return r;
}

// The sunken client edge and the static edge lie around the client area and its scroll bars.
void drawClientEdges(HDC dc, const WindowObject& w) {
    RECT r{w.client.left, w.client.top, w.client.right, w.client.bottom};
    if (w.style & WS_VSCROLL) r.right += systemMetric(SM_CXVSCROLL);
    if (w.style & WS_HSCROLL) r.bottom += systemMetric(SM_CYHSCROLL);
    if (w.exStyle & WS_EX_STATICEDGE) r = {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
    if (w.exStyle & WS_EX_CLIENTEDGE) r = {r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
    if (w.exStyle & WS_EX_CLIENTEDGE) drawEdges(dc, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (w.exStyle & WS_EX_STATICEDGE) drawEdges(dc, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

// What lies between the outer frame and the client area and is no one's part gets the face
// colour; the menu bar draws its strip over it.
void fillGaps(HDC dc, const WindowObject& w, const RECT& inside) {
    const int captionBottom = inside.top + (hasCaption(w) ? systemMetric(SM_CYCAPTION) : 0);
    const RECT below{inside.left, captionBottom, inside.right, inside.bottom};
    fillWithColour(dc, below, hasMenuBar(w) ? COLOR_MENU : COLOR_BTNFACE);
    if (hasMenuBar(w)) drawMenuBarStrip(dc, w);
}

void drawBars(HDC dc, WindowObject& w) {
    if (w.style & WS_VSCROLL) paintScrollBar(dc, w, SB_VERT);
    if (w.style & WS_HSCROLL) paintScrollBar(dc, w, SB_HORZ);
    fillWithColour(dc, sizeBoxRect(w), COLOR_BTNFACE);
}

bool drawable(const WindowObject& w) { return isShowing(w) && hasNonClientArea(w); }

RECT insideOuterFrame(const WindowObject& w) {
    const int frame = frameWidth(w.style, w.exStyle);
    return {frame, frame, w.width() - frame, w.height() - frame};
}

}  // namespace

bool hasNonClientArea(const WindowObject& w) {
    return w.client.left != 0 || w.client.top != 0 || w.client.right != w.width() || w.client.bottom != w.height();
}

void drawNonClient(WindowObject& window) {
    if (!drawable(window)) return;
    const WindowDc dc = frameDc(window);
    if (!dc) return;
    const bool active = nonClientState(window).active;
    const RECT inside = drawOuterFrame(dc.get(), window, active);
    fillGaps(dc.get(), window, inside);
    if (hasCaption(window)) paintCaption(dc.get(), window, inside);
    drawClientEdges(dc.get(), window);
    drawBars(dc.get(), window);
}

void drawCaption(WindowObject& window) {
    if (!drawable(window) || !hasCaption(window)) return;
    const WindowDc dc = frameDc(window);
    if (dc) paintCaption(dc.get(), window, insideOuterFrame(window));
}

void drawScrollBar(WindowObject& window, int bar) {
    if (!drawable(window)) return;
    const WindowDc dc = frameDc(window);
    if (!dc) return;
    if (window.style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) paintScrollBar(dc.get(), window, bar);
    fillWithColour(dc.get(), sizeBoxRect(window), COLOR_BTNFACE);
}

}  // namespace winplat::user
