#include "user/menu_drawing.h"

#include <string>

#include "user/edge_drawing.h"
#include "winplat/text.h"

namespace winplat::user {
namespace {

// The check mark and the sub-menu arrow, drawn pixel by pixel in the text colour.
constexpr const char* kCheckMark[] = {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."};
constexpr const char* kArrow[] = {"#...", "##..", "###.", "####", "###.", "##..", "#..."};

template <size_t Rows>
void drawArt(HDC dc, const char* const (&art)[Rows], int x, int y, COLORREF colour) {
    for (size_t row = 0; row < Rows; ++row) {
        for (int column = 0; art[row][column] != '\0'; ++column) {
            if (art[row][column] == '#') SetPixel(dc, x + column, y + static_cast<int>(row), colour);
        }
    }
}

void drawSeparator(HDC dc, const RECT& r) {
    const int middle = (r.top + r.bottom) / 2 - 1;
    fillWithColour(dc, {r.left + 1, middle, r.right - 1, middle + 1}, COLOR_3DSHADOW);
    fillWithColour(dc, {r.left + 1, middle + 1, r.right - 1, middle + 2}, COLOR_3DHILIGHT);
}

void drawTexts(HDC dc, const MenuItem& item, const RECT& r, int keyColumn, COLORREF colour, int shift) {
    SetTextColor(dc, colour);
    const std::string_view label = labelOf(item.text);
    RECT labelRect{r.left + 16 + shift, r.top + shift, r.right + shift, r.bottom + shift};
    DrawTextA(dc, label.data(), static_cast<int>(label.size()), &labelRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    const std::string_view keys = keyTextOf(item.text);
    if (keys.empty()) return;
    RECT keyRect{keyColumn + shift, r.top + shift, r.right + shift, r.bottom + shift};
    DrawTextA(dc, keys.data(), static_cast<int>(keys.size()), &keyRect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void drawMarks(HDC dc, const MenuItem& item, const RECT& r, COLORREF colour) {
    const int middle = (r.top + r.bottom) / 2;
    if (item.flags & MF_CHECKED) drawArt(dc, kCheckMark, r.left + 5, middle - 3, colour);
    if (item.popup()) drawArt(dc, kArrow, r.right - 10, middle - 3, colour);
}

void drawItem(HDC dc, const MenuItem& item, const RECT& r, int keyColumn, bool hot) {
    if (item.separator()) {
        drawSeparator(dc, r);
        return;
    }
    if (hot) fillWithColour(dc, r, COLOR_HIGHLIGHT);
    if (item.inactive() && !hot) {
        // Grey items are embossed: a light copy one pixel down and right under the grey text.
        drawTexts(dc, item, r, keyColumn, GetSysColor(COLOR_3DHILIGHT), 1);
        drawMarks(dc, item, {r.left + 1, r.top + 1, r.right + 1, r.bottom + 1}, GetSysColor(COLOR_3DHILIGHT));
    }
    const int colourIndex = item.inactive() ? COLOR_GRAYTEXT : (hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    drawTexts(dc, item, r, keyColumn, GetSysColor(colourIndex), 0);
    drawMarks(dc, item, r, GetSysColor(colourIndex));
}

}  // namespace

void drawPopup(HDC dc, const MenuObject& menu, const PopupLayout& layout, int hot) {
    RECT frame{0, 0, layout.size.cx, layout.size.cy};
    fillWithColour(dc, frame, COLOR_MENU);
    drawEdges(dc, frame, EDGE_RAISED, BF_RECT);
    const GdiObject<HFONT> font = makeMenuFont();
    const Selection selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < menu.items.size(); ++i) {
        const MenuItem& item = menu.items[i];
        const RECT& r = layout.items[i];
        if ((item.flags & MF_MENUBARBREAK) && r.left > kMenuBorder) {
            fillWithColour(dc, {r.left - 2, kMenuBorder, r.left - 1, layout.size.cy - kMenuBorder}, COLOR_3DSHADOW);
            fillWithColour(dc, {r.left - 1, kMenuBorder, r.left, layout.size.cy - kMenuBorder}, COLOR_3DHILIGHT);
        }
        drawItem(dc, item, r, layout.keyColumn[i], static_cast<int>(i) == hot);
    }
}

}  // namespace winplat::user
