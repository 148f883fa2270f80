#include "user/edge_drawing.h"

#include <algorithm>

#include "winplat/draw.h"

namespace winplat::user {
namespace {

void box(HDC dc, int x, int y, int width, int height, int colourIndex) {
    const RECT r{x, y, x + width, y + height};
    fillWithColour(dc, r, colourIndex);
}

// One ring of a 3-D edge: the top and left lines in one colour, the bottom and right ones (drawn
// last, so they own the corners they share) in another.
void ring(HDC dc, const RECT& r, UINT sides, int topLeft, int bottomRight) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (sides & BF_TOP) box(dc, r.left, r.top, width - 1, 1, topLeft);
    if (sides & BF_LEFT) box(dc, r.left, r.top, 1, height - 1, topLeft);
    if (sides & BF_BOTTOM) box(dc, r.left, r.bottom - 1, width, 1, bottomRight);
    if (sides & BF_RIGHT) box(dc, r.right - 1, r.top, 1, height, bottomRight);
}

RECT shrink(const RECT& r, UINT sides) {
    return {r.left + ((sides & BF_LEFT) ? 1 : 0), r.top + ((sides & BF_TOP) ? 1 : 0),
            r.right - ((sides & BF_RIGHT) ? 1 : 0), r.bottom - ((sides & BF_BOTTOM) ? 1 : 0)};
}

// Glyphs are drawn from a top-left corner and pixel rows, so they come out the same everywhere.
void closeGlyph(HDC dc, int x, int y, int colour) {
    for (int i = 0; i < 7; ++i) {
        box(dc, x + i, y + i, 2, 1, colour);
        box(dc, x + 6 - i, y + i, 2, 1, colour);
    }
}

void minimiseGlyph(HDC dc, int x, int y, int colour) { box(dc, x + 1, y + 5, 6, 2, colour); }

void maximiseGlyph(HDC dc, int x, int y, int colour) {
    box(dc, x, y - 1, 9, 2, colour);
    box(dc, x, y + 1, 1, 7, colour);
    box(dc, x + 8, y + 1, 1, 7, colour);
    box(dc, x, y + 7, 9, 1, colour);
}

void restoreGlyph(HDC dc, int x, int y, int colour) {
    // The window behind, then the one in front.
    box(dc, x + 2, y - 1, 6, 2, colour);
    box(dc, x + 7, y + 1, 1, 4, colour);
    box(dc, x, y + 2, 6, 2, colour);
    box(dc, x, y + 4, 1, 4, colour);
    box(dc, x + 5, y + 4, 1, 4, colour);
    box(dc, x, y + 7, 6, 1, colour);
}

// A triangle of four rows pointing the given way, its point at (x, y) offset into the glyph box.
void arrowGlyph(HDC dc, int x, int y, Glyph glyph, int colour) {
    for (int i = 0; i < 4; ++i) {
        switch (glyph) {
            case Glyph::Up: box(dc, x + 3 - i, y + i, 2 * i + 1, 1, colour); break;
            case Glyph::Down: box(dc, x + i, y + i, 7 - 2 * i, 1, colour); break;
            case Glyph::Left: box(dc, x + i, y + 3 - i, 1, 2 * i + 1, colour); break;
            default: box(dc, x + i, y + i, 1, 7 - 2 * i, colour); break;
        }
    }
}

void glyphAt(HDC dc, int x, int y, Glyph glyph, int colour) {
    switch (glyph) {
        case Glyph::Close: closeGlyph(dc, x, y, colour); break;
        case Glyph::Minimise: minimiseGlyph(dc, x, y, colour); break;
        case Glyph::Maximise: maximiseGlyph(dc, x, y, colour); break;
        case Glyph::Restore: restoreGlyph(dc, x, y, colour); break;
        default: arrowGlyph(dc, x, y, glyph, colour); break;
    }
}

// The glyph's box: 8 by 7 for the caption's, 7 by 4 (4 by 7 lying) for the arrows.
SIZE glyphSize(Glyph glyph) {
    switch (glyph) {
        case Glyph::Up:
        case Glyph::Down: return {7, 4};
        case Glyph::Left:
        case Glyph::Right: return {4, 7};
        default: return {8, 7};
    }
}

}  // namespace

void fillWithColour(HDC dc, const RECT& rect, int colourIndex) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    FillRect(dc, &rect, GetSysColorBrush(colourIndex));
}

void drawEdges(HDC dc, RECT& rect, UINT edge, UINT flags) {
    const UINT sides = flags & BF_RECT;
    RECT r = rect;
    if (edge & BDR_OUTER) {
        const bool raised = edge & BDR_RAISEDOUTER;
        ring(dc, r, sides, raised ? COLOR_3DLIGHT : COLOR_3DSHADOW, raised ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT);
        r = shrink(r, sides);
    }
    if (edge & BDR_INNER) {
        const bool raised = edge & BDR_RAISEDINNER;
        ring(dc, r, sides, raised ? COLOR_3DHILIGHT : COLOR_3DDKSHADOW, raised ? COLOR_3DSHADOW : COLOR_3DLIGHT);
        r = shrink(r, sides);
    }
    if (flags & BF_MIDDLE) fillWithColour(dc, r, COLOR_BTNFACE);
    if (flags & BF_ADJUST) rect = r;
}

void drawButton(HDC dc, const RECT& rect, Glyph glyph, bool pushed, bool inactive) {
    RECT face = rect;
    drawEdges(dc, face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    const SIZE size = glyphSize(glyph);
    const int x = rect.left + (rect.right - rect.left - size.cx) / 2 + (pushed ? 1 : 0);
    const int y = rect.top + (rect.bottom - rect.top - size.cy) / 2 + (pushed ? 1 : 0);
    if (inactive) {
        // Engraved: a white copy one pixel down and right under the grey.
        glyphAt(dc, x + 1, y + 1, glyph, COLOR_3DHILIGHT);
        glyphAt(dc, x, y, glyph, COLOR_3DSHADOW);
        return;
    }
    glyphAt(dc, x, y, glyph, COLOR_BTNTEXT);
}

}  // namespace winplat::user
