// Scrolling an EDIT control: its scroll bars (each action told to the parent with EN_VSCROLL or
// EN_HSCROLL first), the wheel, and the scrolling messages. Only a multi-line control scrolls by
// lines.
#include "controls/edit_control.h"

namespace winplat::controls {
namespace {

constexpr int kWheelLines = 3;

// The lines one scroll-bar action moves by; 0 for actions that move nothing.
int lineDelta(const EditControl& edit, WORD action, int thumb) {
    const int page = edit.visibleLines();
    switch (action) {
        case SB_LINEUP: return -1;
        case SB_LINEDOWN: return 1;
        case SB_PAGEUP: return -page;
        case SB_PAGEDOWN: return page;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: return thumb - edit.firstLine();
        case SB_TOP: return -edit.firstLine();
        case SB_BOTTOM: return static_cast<int>(edit.lines().size());
        default: return 0;
    }
}

int pixelDelta(const EditControl& edit, WORD action, int thumb) {
    const RECT r = edit.formatRect();
    const int page = static_cast<int>(r.right - r.left);
    switch (action) {
        case SB_LINELEFT: return -edit.averageWidth();
        case SB_LINERIGHT: return edit.averageWidth();
        case SB_PAGELEFT: return -page;
        case SB_PAGERIGHT: return page;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: return thumb - edit.xOffset();
        case SB_LEFT: return -edit.xOffset();
        default: return 0;
    }
}

// EM_SCROLL: the lines moved in the low word, TRUE in the high word; FALSE for a single line.
LRESULT scrollMessage(EditControl& edit, WPARAM action) {
    if (!edit.multiLine()) return FALSE;
    if (action > SB_PAGEDOWN) return FALSE;
    const int moved = edit.scrollLines(lineDelta(edit, static_cast<WORD>(action), 0));
    return MAKELRESULT(static_cast<WORD>(moved), TRUE);
}

LRESULT lineScroll(EditControl& edit, WPARAM characters, LPARAM lines) {
    if (!edit.multiLine()) return FALSE;
    edit.scrollLines(static_cast<int>(lines));
    if (!edit.wraps()) edit.scrollPixels(static_cast<int>(characters) * edit.averageWidth());
    return TRUE;
}

void onWheel(EditControl& edit, WPARAM wParam) {
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    if (notches == 0) return;
    edit.notify(EN_VSCROLL);
    edit.scrollLines(-notches * kWheelLines);
}

}  // namespace

bool handleEditScrolling(EditControl& edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_VSCROLL:
            edit.notify(EN_VSCROLL);
            edit.scrollLines(lineDelta(edit, LOWORD(wParam), static_cast<short>(HIWORD(wParam))));
            return true;
        case WM_HSCROLL:
            edit.notify(EN_HSCROLL);
            edit.scrollPixels(pixelDelta(edit, LOWORD(wParam), static_cast<short>(HIWORD(wParam))));
            return true;
        case WM_MOUSEWHEEL:
            if (!edit.multiLine()) return false;  // the parent's to scroll
            onWheel(edit, wParam);
            return true;
        case EM_SCROLL: result = scrollMessage(edit, wParam); return true;
        case EM_LINESCROLL: result = lineScroll(edit, wParam, lParam); return true;
        case EM_SCROLLCARET: edit.scrollToCaret(); result = TRUE; return true;
        default: return false;
    }
}

}  // namespace winplat::controls
