#include "user/caption_layout.h"

#include "user/edge_drawing.h"
#include "user/metrics.h"
#include "user/nonclient_state.h"
#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace winplat::user {
namespace {

// The caption's title font: bold, the classic dialog size, by the face the font mapper finds
// for the classic name (the test face in tests).
constexpr int kTitleHeight = -11;
constexpr const char* kTitleFace = "MS Sans Serif";

struct Selection {
    HDC dc;
    HGDIOBJ old;
    Selection(HDC d, HGDIOBJ object) : dc(d), old(SelectObject(d, object)) {}
    ~Selection() {
        if (old) SelectObject(dc, old);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
};

// The slot of the n-th button from the right (0: close), 18 pixels wide, the button one pixel
// inside it and two below the caption's top.
RECT slotFromRight(const WindowObject& w, int n) {
    const int frame = frameWidth(w.style, w.exStyle);
    const int button = systemMetric(SM_CXSIZE);
    const int right = w.width() - frame - n * button;
    return {right - button + 1, frame + 2, right - 1, frame + button - 2};
}

bool hasSizeButtons(const WindowObject& w) { return (w.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0; }

void drawTitle(HDC dc, const WindowObject& w, const RECT& area, bool active) {
    if (w.text.empty() || area.right <= area.left) return;
    GdiObject<HFONT> font(CreateFontA(kTitleHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                                      0, kTitleFace));
    if (!font) return;
    const Selection selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT r = area;
    DrawTextA(dc, w.text.c_str(), static_cast<int>(w.text.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void drawSystemMenuBox(HDC dc, const RECT& r) {
    RECT box = r;
    drawEdges(dc, box, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    // A window in small: a white pane under a dark bar.
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    fillWithColour(dc, {cx - 4, cy - 3, cx + 4, cy + 4}, COLOR_WINDOW);
    fillWithColour(dc, {cx - 4, cy - 3, cx + 4, cy - 1}, COLOR_BTNTEXT);
}

void drawButtons(HDC dc, WindowObject& w) {
    const int pressed = nonClientState(w).pressedButton;
    drawButton(dc, captionButtonRect(w, HTCLOSE), Glyph::Close, pressed == HTCLOSE, false);
    if (!hasSizeButtons(w)) return;
    const Glyph size = (w.style & WS_MAXIMIZE) ? Glyph::Restore : Glyph::Maximise;
    drawButton(dc, captionButtonRect(w, HTMAXBUTTON), size, pressed == HTMAXBUTTON, !(w.style & WS_MAXIMIZEBOX));
    const Glyph small = (w.style & WS_MINIMIZE) ? Glyph::Restore : Glyph::Minimise;
    drawButton(dc, captionButtonRect(w, HTMINBUTTON), small, pressed == HTMINBUTTON, !(w.style & WS_MINIMIZEBOX));
}

}  // namespace

bool hasCaption(const WindowObject& window) { return (window.style & WS_CAPTION) == WS_CAPTION; }

RECT captionButtonRect(const WindowObject& w, int hit) {
    if (!hasCaption(w) || !(w.style & WS_SYSMENU)) return {};
    switch (hit) {
        case HTCLOSE: return slotFromRight(w, 0);
        case HTMAXBUTTON: return hasSizeButtons(w) ? slotFromRight(w, 1) : RECT{};
        case HTMINBUTTON: return hasSizeButtons(w) ? slotFromRight(w, 2) : RECT{};
        case HTSYSMENU: {
            const int frame = frameWidth(w.style, w.exStyle);
            const int button = systemMetric(SM_CXSIZE);
            return {frame + 1, frame + 2, frame + button - 1, frame + button - 2};
        }
        default: return {};
    }
}

void paintCaption(HDC dc, WindowObject& w, const RECT& inside) {
    const bool active = nonClientState(w).active;
    const int bar = systemMetric(SM_CYCAPTION) - 1;
    const RECT caption{inside.left, inside.top, inside.right, inside.top + bar};
    fillWithColour(dc, caption, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    // The line under the caption, in the face colour.
    fillWithColour(dc, {inside.left, caption.bottom, inside.right, caption.bottom + 1}, COLOR_BTNFACE);
    RECT title{caption.left + 2, caption.top, caption.right - 2, caption.bottom};
    if (w.style & WS_SYSMENU) {
        const RECT menu = captionButtonRect(w, HTSYSMENU);
        drawSystemMenuBox(dc, menu);
        title.left = menu.right + 3;
        const int buttons = hasSizeButtons(w) ? 3 : 1;
        title.right = slotFromRight(w, buttons - 1).left - 3;
        drawButtons(dc, w);
    }
    // The title stays within its place between the boxes: clipped there, never over a button.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, title.left, title.top, title.right, title.bottom);
    drawTitle(dc, w, title, active);
    RestoreDC(dc, saved);
}

}  // namespace winplat::user
