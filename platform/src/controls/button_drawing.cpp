#include "controls/button_drawing.h"

#include <algorithm>
#include <array>
#include <string>

#include "controls/button_state.h"
#include "controls/control_support.h"
#include "controls/focus_rect.h"
#include "user/edge_drawing.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace winplat::controls {
namespace {

using user::fillWithColour;

constexpr int kCheckSize = 13;
constexpr int kRadioSize = 12;
constexpr int kMarkGap = 4;       // between the box or circle and the text
constexpr int kGroupTextLeft = 8;  // where a group box's title starts

struct Look {
    HWND button;
    DWORD style;
    UINT state;
    bool enabled;
    RECT client;
    std::string text;
};

Look lookOf(HWND button) {
    Look look{button, styleOf(button), buttonState(button), IsWindowEnabled(button) != FALSE, {}, windowText(button)};
    GetClientRect(button, &look.client);
    return look;
}

UINT textFormat(const Look& look, UINT horizontal) {
    UINT format = horizontal | ((look.style & BS_MULTILINE) ? static_cast<UINT>(DT_WORDBREAK)
                                                             : static_cast<UINT>(DT_SINGLELINE | DT_VCENTER));
    return format;
}

// Grey text is drawn embossed, as the classic look greys out labels: a highlight copy one pixel
// down and right under the shadow-coloured text.
void drawLabel(HDC dc, const Look& look, RECT area, UINT format) {
    SetBkMode(dc, TRANSPARENT);
    if (!look.enabled) {
        RECT under = shifted(area, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextA(dc, look.text.c_str(), -1, &under, format);
        SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    }
    DrawTextA(dc, look.text.c_str(), -1, &area, format);
}

// The focus rectangle one pixel around the label, kept inside the control.
void focusAroundLabel(HDC dc, const Look& look, const RECT& area, UINT format) {
    RECT measured = area;
    DrawTextA(dc, look.text.c_str(), -1, &measured, format | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    if (!(look.style & BS_MULTILINE)) {
        measured.top = area.top + (area.bottom - area.top - height) / 2;
        measured.bottom = measured.top + height;
    }
    drawFocusOutline(dc, intersection(inset(measured, -1), look.client));
}

// A push button's picture (BS_BITMAP, BS_ICON) centred in the area in place of its text; false
// when it has none.
bool drawPicture(HDC dc, const Look& look, const RECT& area) {
    const HANDLE image = buttonImage(look.button);
    if (!image || !(look.style & (BS_BITMAP | BS_ICON))) return false;
    SIZE size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    BITMAP info{};
    if (look.style & BS_BITMAP) {
        if (!GetObjectA(image, sizeof info, &info)) return false;
        size = SIZE{info.bmWidth, info.bmHeight};
    }
    const int x = (area.left + area.right - size.cx) / 2;
    const int y = (area.top + area.bottom - size.cy) / 2;
    if (look.style & BS_ICON) return DrawIcon(dc, x, y, static_cast<HICON>(image)) != FALSE;
    const MemoryDc source(CreateCompatibleDC(dc));
    const Selection selected(source.get(), image);
    return BitBlt(dc, x, y, size.cx, size.cy, source.get(), 0, 0, SRCCOPY) != FALSE;
}

void paintPush(HDC dc, const Look& look) {
    RECT r = look.client;
    const bool pushed = (look.state & BST_PUSHED) != 0;
    fillWithColour(dc, r, COLOR_3DFACE);
    if (isDefaultPush(look.style) || pushed) {
        fillFrame(dc, r, COLOR_WINDOWFRAME);
        r = inset(r, 1);
    }
    if (pushed) {
        fillFrame(dc, r, COLOR_3DSHADOW);
        r = inset(r, 1);
    } else {
        user::drawEdges(dc, r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
    const RECT label = pushed ? shifted(r, 1, 1) : r;
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    if (!drawPicture(dc, look, label)) drawLabel(dc, look, label, textFormat(look, DT_CENTER));
    if (look.state & BST_FOCUS) {
        drawFocusOutline(dc, inset(look.client, 4));
    }
}

void drawCheckBox(HDC dc, const Look& look, RECT box) {
    const bool indeterminate = (look.state & 3) == BST_INDETERMINATE;
    user::drawEdges(dc, box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const bool faceInside = (look.state & BST_PUSHED) || !look.enabled || indeterminate;
    fillWithColour(dc, box, faceInside ? COLOR_3DFACE : COLOR_WINDOW);
    if (!(look.state & 3)) return;
    // The tick: seven columns rising to the right, three pixels tall.
    static constexpr std::array<int, 7> kTop = {2, 3, 4, 3, 2, 1, 0};
    const int colour = (!look.enabled || indeterminate) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT;
    for (int i = 0; i < 7; ++i) {
        const RECT column{box.left + 1 + i, box.top + 1 + kTop[static_cast<size_t>(i)], box.left + 2 + i,
                          box.top + 4 + kTop[static_cast<size_t>(i)]};
        fillWithColour(dc, column, colour);
    }
}

// The radio circle as rows: o the outer ring, i the inner ring, w the inside; each ring is dark on
// its upper left half and light on its lower right.
constexpr std::array<const char*, kRadioSize> kRadioRows = {
    "....oooo....", "..ooiiiioo..", ".oiiwwwwiio.", ".oiwwwwwwio.", "oiwwwwwwwwio", "oiwwwwwwwwio",
    "oiwwwwwwwwio", "oiwwwwwwwwio", ".oiwwwwwwio.", ".oiiwwwwiio.", "..ooiiiioo..", "....oooo...."};
constexpr std::array<const char*, 4> kDotRows = {".xx.", "xxxx", "xxxx", ".xx."};

int radioColour(char part, int x, int y, bool faceInside) {
    const bool upperLeft = x + y < kRadioSize - 1;
    switch (part) {
        case 'o': return upperLeft ? COLOR_3DSHADOW : COLOR_3DHILIGHT;
        case 'i': return upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT;
        default: return faceInside ? COLOR_3DFACE : COLOR_WINDOW;
    }
}

void drawRadio(HDC dc, const Look& look, POINT at) {
    const bool faceInside = (look.state & BST_PUSHED) || !look.enabled;
    for (int y = 0; y < kRadioSize; ++y) {
        for (int x = 0; x < kRadioSize; ++x) {
            const char part = kRadioRows[static_cast<size_t>(y)][x];
            if (part == '.') continue;
            const RECT pixel{at.x + x, at.y + y, at.x + x + 1, at.y + y + 1};
            fillWithColour(dc, pixel, radioColour(part, x, y, faceInside));
        }
    }
    if (!(look.state & BST_CHECKED)) return;
    const int colour = look.enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            if (kDotRows[static_cast<size_t>(y)][x] != 'x') continue;
            const RECT pixel{at.x + 4 + x, at.y + 4 + y, at.x + 5 + x, at.y + 5 + y};
            fillWithColour(dc, pixel, colour);
        }
    }
}

void paintMarked(HDC dc, const Look& look, HBRUSH background, ButtonKind kind) {
    FillRect(dc, &look.client, background);
    const int size = kind == ButtonKind::Check ? kCheckSize : kRadioSize;
    const bool markRight = (look.style & BS_LEFTTEXT) != 0;
    const int markLeft = markRight ? look.client.right - size : 0;
    const int markTop = (look.client.bottom - size) / 2;
    if (kind == ButtonKind::Check) {
        drawCheckBox(dc, look, RECT{markLeft, markTop, markLeft + size, markTop + size});
    } else {
        drawRadio(dc, look, POINT{markLeft, markTop});
    }
    RECT label = look.client;
    if (markRight) label.right -= size + kMarkGap;
    else label.left += size + kMarkGap;
    if (!look.enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    const UINT format = textFormat(look, markRight ? DT_RIGHT : DT_LEFT);
    DrawTextA(dc, look.text.c_str(), -1, &label, format);
    if (look.state & BST_FOCUS) focusAroundLabel(dc, look, label, format);
}

void paintGroupBox(HDC dc, const Look& look, HBRUSH background) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT frame = look.client;
    frame.top += metrics.tmHeight / 2;
    user::drawEdges(dc, frame, EDGE_ETCHED, BF_RECT);
    if (look.text.empty()) return;
    RECT title{kGroupTextLeft, 0, look.client.right - kGroupTextLeft, metrics.tmHeight};
    DrawTextA(dc, look.text.c_str(), -1, &title, DT_SINGLELINE | DT_CALCRECT);
    title.right = std::min(title.right, look.client.right - kGroupTextLeft);
    RECT behind{title.left - 2, title.top, title.right + 2, title.bottom};
    FillRect(dc, &behind, background);
    if (!look.enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, look.text.c_str(), -1, &title, DT_SINGLELINE);
}

}  // namespace

void drawOwnerButton(HWND button, HDC dc, UINT action) {
    const UINT state = buttonState(button);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetWindowLongA(button, GWL_ID));
    item.itemAction = action;
    item.itemState = ((state & BST_PUSHED) ? ODS_SELECTED : 0u) | ((state & BST_FOCUS) ? ODS_FOCUS : 0u) |
                     (IsWindowEnabled(button) ? 0u : static_cast<UINT>(ODS_DISABLED));
    item.hwndItem = button;
    item.hDC = dc;
    GetClientRect(button, &item.rcItem);
    const HWND parent = GetParent(button);
    if (parent) SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void paintButton(HWND button, HDC dc) {
    const Look look = lookOf(button);
    const ButtonKind kind = buttonKind(look.style);
    if (kind == ButtonKind::OwnerDraw) {
        drawOwnerButton(button, dc, ODA_DRAWENTIRE);
        return;
    }
    const ControlFont font(dc, buttonFont(button));
    const HBRUSH background = parentColours(button, dc, WM_CTLCOLORBTN);
    switch (kind) {
        case ButtonKind::Push: paintPush(dc, look); break;
        case ButtonKind::GroupBox: paintGroupBox(dc, look, background); break;
        default: paintMarked(dc, look, background, kind); break;
    }
}

}  // namespace winplat::controls
