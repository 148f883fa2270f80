#include "controls/static_drawing.h"

#include <string>

#include "controls/control_support.h"
#include "controls/static_state.h"
#include "user/edge_drawing.h"
#include "winplat/gdi.h"
#include "winplat/text.h"

namespace winplat::controls {
namespace {

using user::fillWithColour;

// The colour of the filled and framed kinds: black, grey (the desktop's colour) and white.
int shapeColour(DWORD type) {
    switch (type) {
        case SS_BLACKRECT:
        case SS_BLACKFRAME: return COLOR_WINDOWFRAME;
        case SS_GRAYRECT:
        case SS_GRAYFRAME: return COLOR_BACKGROUND;
        default: return COLOR_WINDOW;
    }
}

UINT textFormat(DWORD style) {
    UINT format = (style & SS_NOPREFIX) ? static_cast<UINT>(DT_NOPREFIX) : 0u;
    switch (staticType(style)) {
        case SS_CENTER: return format | DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS;
        case SS_RIGHT: return format | DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS;
        case SS_SIMPLE: return format | DT_SINGLELINE | DT_NOCLIP;
        case SS_LEFTNOWORDWRAP: return format | DT_EXPANDTABS;
        default: return format | DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS;
    }
}

void paintText(HWND control, HDC dc, const RECT& area, DWORD style) {
    const ControlFont font(dc, staticFont(control));
    const HBRUSH background = parentColours(control, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &area, background);
    if (!IsWindowEnabled(control)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    const std::string text = windowText(control);
    RECT box = area;
    DrawTextA(dc, text.c_str(), -1, &box, textFormat(style));
}

void paintImageBackground(HWND control, HDC dc, const RECT& area) {
    const HBRUSH background = parentColours(control, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &area, background);
}

void paintBitmap(HWND control, HDC dc, const RECT& area, DWORD style) {
    paintImageBackground(control, dc, area);
    const auto bitmap = static_cast<HBITMAP>(staticImage(control));
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return;
    const MemoryDc source(CreateCompatibleDC(dc));
    const Selection selected(source.get(), bitmap);
    int x = area.left;
    int y = area.top;
    if (style & SS_CENTERIMAGE) {
        x += (area.right - area.left - info.bmWidth) / 2;
        y += (area.bottom - area.top - info.bmHeight) / 2;
    }
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

// The icon at the top left, or centred with SS_CENTERIMAGE, over the parent's background.
void paintIcon(HWND control, HDC dc, const RECT& area, DWORD style) {
    paintImageBackground(control, dc, area);
    const auto icon = static_cast<HICON>(staticImage(control));
    if (!icon) return;
    int x = area.left;
    int y = area.top;
    if (style & SS_CENTERIMAGE) {
        x += (area.right - area.left - GetSystemMetrics(SM_CXICON)) / 2;
        y += (area.bottom - area.top - GetSystemMetrics(SM_CYICON)) / 2;
    }
    DrawIcon(dc, x, y, icon);
}

void paintOwnerDrawn(HWND control, HDC dc) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = static_cast<UINT>(GetWindowLongA(control, GWL_ID));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = IsWindowEnabled(control) ? 0u : static_cast<UINT>(ODS_DISABLED);
    item.hwndItem = control;
    item.hDC = dc;
    GetClientRect(control, &item.rcItem);
    if (const HWND parent = GetParent(control)) {
        SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }
}

}  // namespace

void paintStatic(HWND control, HDC dc) {
    const DWORD style = styleOf(control);
    RECT area{};
    GetClientRect(control, &area);
    if (style & SS_SUNKEN) user::drawEdges(dc, area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    switch (const DWORD type = staticType(style)) {
        case SS_BLACKRECT:
        case SS_GRAYRECT:
        case SS_WHITERECT: fillWithColour(dc, area, shapeColour(type)); break;
        case SS_BLACKFRAME:
        case SS_GRAYFRAME:
        case SS_WHITEFRAME: fillFrame(dc, area, shapeColour(type)); break;
        case SS_ETCHEDHORZ: user::drawEdges(dc, area, EDGE_ETCHED, BF_TOP); break;
        case SS_ETCHEDVERT: user::drawEdges(dc, area, EDGE_ETCHED, BF_LEFT); break;
        case SS_ETCHEDFRAME: user::drawEdges(dc, area, EDGE_ETCHED, BF_RECT); break;
        case SS_BITMAP: paintBitmap(control, dc, area, style); break;
        case SS_ICON: paintIcon(control, dc, area, style); break;
        case SS_OWNERDRAW: paintOwnerDrawn(control, dc); break;
        default: paintText(control, dc, area, style); break;
    }
}

}  // namespace winplat::controls
