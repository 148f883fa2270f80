#include "user/metrics.h"

#include <string>

#include "base/call_refusal.h"
#include "user/screen.h"
#include "user/window.h"

namespace winplat::user {
namespace {

// Sizes of the classic grey 3-D look: the caption bar is 18 pixels plus the line under it, a
// thick (sizing) frame 4, a dialog (fixed) frame 3, a border 1, a sunken client edge 2.
constexpr int kCaption = 19;
constexpr int kBorder = 1;
constexpr int kDialogFrame = 3;
constexpr int kThickFrame = 4;
constexpr int kEdge = 2;
constexpr int kScrollBar = 16;
constexpr int kMenuBar = 19;
constexpr int kCaptionButton = 18;
constexpr int kCursor = 32;
constexpr int kIcon = 32;
constexpr int kDoubleClickDistance = 4;
constexpr int kMinTrackWidth = 112;
constexpr int kMinTrackHeight = 27;
constexpr int kMinimisedWidth = 160;
constexpr int kMinimisedHeight = kCaption + 2 * kDialogFrame - 1;

}  // namespace

int systemMetric(int index) {
    const SIZE screen = screenSize();
    switch (index) {
        case SM_CXSCREEN: return screen.cx;
        case SM_CYSCREEN: return screen.cy;
        case SM_CYCAPTION: return kCaption;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL: return kScrollBar;
        case SM_CYMENU: return kMenuBar;
        case SM_CXSIZE:
        case SM_CYSIZE: return kCaptionButton;
        case SM_CXCURSOR:
        case SM_CYCURSOR: return kCursor;
        case SM_CXICON:
        case SM_CYICON: return kIcon;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK: return kDoubleClickDistance;
        case SM_MOUSEPRESENT:
        case SM_MOUSEWHEELPRESENT: return 1;
        case SM_CXBORDER:
        case SM_CYBORDER: return kBorder;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME: return kDialogFrame;
        case SM_CXFRAME:
        case SM_CYFRAME: return kThickFrame;
        case SM_CXEDGE:
        case SM_CYEDGE: return kEdge;
        case SM_CXFULLSCREEN: return screen.cx;
        case SM_CYFULLSCREEN: return screen.cy - kCaption;
        case SM_CXMIN:
        case SM_CXMINTRACK: return kMinTrackWidth;
        case SM_CYMIN:
        case SM_CYMINTRACK: return kMinTrackHeight;
        case SM_CXMINIMIZED: return kMinimisedWidth;
        case SM_CYMINIMIZED: return kMinimisedHeight;
        case SM_CXMAXTRACK: return screen.cx + 2 * kThickFrame;
        case SM_CYMAXTRACK: return screen.cy + 2 * kThickFrame;
        case SM_CXMAXIMIZED: return screen.cx + 2 * kThickFrame;
        case SM_CYMAXIMIZED: return screen.cy + 2 * kThickFrame;
        default: return 0;
    }
}

int frameWidth(DWORD style, DWORD exStyle) {
    if (style & WS_THICKFRAME) return kThickFrame;
    if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return kDialogFrame;
    if (style & WS_BORDER) return kBorder;
    return 0;
}

RECT frameInsets(DWORD style, DWORD exStyle, bool menuBar) {
    int edge = frameWidth(style, exStyle);
    if (exStyle & WS_EX_CLIENTEDGE) edge += kEdge;
    if (exStyle & WS_EX_STATICEDGE) edge += kBorder;
    int top = edge + ((style & WS_CAPTION) == WS_CAPTION ? kCaption : 0);
    if (menuBar) top += kMenuBar;
    const int right = edge + ((style & WS_VSCROLL) ? kScrollBar : 0);
    const int bottom = edge + ((style & WS_HSCROLL) ? kScrollBar : 0);
    return {edge, top, right, bottom};
}

bool hasMenuBar(const WindowObject& window) { return !window.isChild() && window.id != 0; }

}  // namespace winplat::user

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    constexpr winplat::CallRefuser refuse("winplat: AdjustWindowRectEx");
    if (!rect) return refuse(FALSE, "no rectangle");
    const RECT insets = winplat::user::frameInsets(style & ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL), exStyle, menu != 0);
    *rect = {rect->left - insets.left, rect->top - insets.top, rect->right + insets.right, rect->bottom + insets.bottom};
    return TRUE;
}

int GetSystemMetrics(int index) {
    // The one metric whose value is 0: the mouse buttons are never swapped.
    if (index == SM_SWAPBUTTON) return 0;
    if (const int value = winplat::user::systemMetric(index)) return value;
    constexpr winplat::CallRefuser refuse("winplat: GetSystemMetrics");
    return refuse.unsupported(0, "metric " + std::to_string(index));
}
