// The window scroll bar calls: SetScrollInfo, GetScrollInfo, SetScrollPos, GetScrollPos,
// SetScrollRange, GetScrollRange, ShowScrollBar and EnableScrollBar.
//
// Setting a range that scrolls shows the bar (WS_HSCROLL/WS_VSCROLL added and the client area
// worked out again); one that does not scroll hides it, or, with SIF_DISABLENOSCROLL, leaves it
// shown with both arrows disabled. SB_CTL names a scroll bar control: the call becomes its SBM_
// message.
#include <string>

#include "base/call_refusal.h"
#include "user/nonclient_drawing.h"
#include "user/nonclient_state.h"
#include "user/scroll_bar_visibility.h"
#include "winplat/controls.h"

namespace winplat::user {
namespace {

constexpr UINT kSetMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL | SIF_TRACKPOS;

bool isWindowBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

// A window bar of a live window; refused for any other bar.
WindowRef barWindow(HWND handle, int bar, const CallRefuser& refuse) {
    if (!isWindowBar(bar)) return refuse(WindowRef{}, "bar " + std::to_string(bar) + " is neither SB_HORZ nor SB_VERT");
    return windowForCall(handle, refuse);
}

// The SBM_ message to a scroll bar control, which checks what it is given.
LRESULT toControl(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, const CallRefuser& refuse) {
    if (!windowForCall(handle, refuse)) return 0;
    return SendMessageA(handle, message, wParam, lParam);
}

// After the numbers changed: the bar shown, hidden or disabled as they now call for.
void settle(const WindowRef& window, int bar, bool disableNoScroll, bool redraw) {
    ScrollBarState& state = scrollBar(*window, bar);
    const bool scrolls = state.scrolls();
    if (disableNoScroll) {
        state.disabledArrows = scrolls ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
        if (!scrolls) setScrollBarShown(window, bar, true);
    } else if (state.disabledArrows == ESB_DISABLE_BOTH && scrolls) {
        state.disabledArrows = ESB_ENABLE_BOTH;
    }
    if (scrolls || !disableNoScroll) setScrollBarShown(window, bar, scrolls);
    if (redraw && !window->gone) drawScrollBar(*window, bar);
}

int setInfo(const WindowRef& window, int bar, const SCROLLINFO& info, BOOL redraw) {
    applyScrollInfo(scrollBar(*window, bar), info);
    if (info.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
        settle(window, bar, (info.fMask & SIF_DISABLENOSCROLL) != 0, redraw != FALSE);
    } else if (redraw) {
        drawScrollBar(*window, bar);
    }
    return scrollBar(*window, bar).pos;
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

int SetScrollInfo(HWND handle, int bar, LPCSCROLLINFO info, BOOL redraw) {
    constexpr CallRefuser refuse("winplat: SetScrollInfo");
    if (!info) return refuse(0, "no SCROLLINFO");
    if (info->cbSize != sizeof(SCROLLINFO)) return refuse(0, "cbSize is not sizeof(SCROLLINFO)");
    if (info->fMask & ~kSetMask) return refuse.unsupported(0, "fMask " + std::to_string(info->fMask));
    if (bar == SB_CTL) {
        return static_cast<int>(toControl(handle, SBM_SETSCROLLINFO, static_cast<WPARAM>(redraw),
                                          reinterpret_cast<LPARAM>(info), refuse));
    }
    const WindowRef window = barWindow(handle, bar, refuse);
    if (!window) return 0;
    return setInfo(window, bar, *info, redraw);
}

BOOL GetScrollInfo(HWND handle, int bar, LPSCROLLINFO info) {
    constexpr CallRefuser refuse("winplat: GetScrollInfo");
    if (!info) return refuse(FALSE, "no SCROLLINFO");
    if (info->cbSize != sizeof(SCROLLINFO)) return refuse(FALSE, "cbSize is not sizeof(SCROLLINFO)");
    if (info->fMask & ~static_cast<UINT>(SIF_ALL | SIF_DISABLENOSCROLL)) {
        return refuse.unsupported(FALSE, "fMask " + std::to_string(info->fMask));
    }
    if (bar == SB_CTL) {
        return static_cast<BOOL>(toControl(handle, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info), refuse));
    }
    const WindowRef window = barWindow(handle, bar, refuse);
    if (!window) return FALSE;
    if (!(info->fMask & SIF_ALL)) return refuse(FALSE, "fMask asks for nothing");
    readScrollInfo(scrollBar(*window, bar), *info);
    return TRUE;
}

int SetScrollPos(HWND handle, int bar, int pos, BOOL redraw) {
    constexpr CallRefuser refuse("winplat: SetScrollPos");
    if (bar == SB_CTL) return static_cast<int>(toControl(handle, SBM_SETPOS, static_cast<WPARAM>(pos), redraw, refuse));
    const WindowRef window = barWindow(handle, bar, refuse);
    if (!window) return 0;
    const int previous = scrollBar(*window, bar).pos;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
    setInfo(window, bar, info, redraw);
    return previous;
}

int GetScrollPos(HWND handle, int bar) {
    constexpr CallRefuser refuse("winplat: GetScrollPos");
    if (bar == SB_CTL) return static_cast<int>(toControl(handle, SBM_GETPOS, 0, 0, refuse));
    const WindowRef window = barWindow(handle, bar, refuse);
    return window ? scrollBar(*window, bar).pos : 0;
}

BOOL SetScrollRange(HWND handle, int bar, int minPos, int maxPos, BOOL redraw) {
    constexpr CallRefuser refuse("winplat: SetScrollRange");
    if (int64_t{maxPos} - minPos > 0x7FFFFFFF) return refuse(FALSE, "the range is wider than MAXLONG");
    if (bar == SB_CTL) {
        if (!windowForCall(handle, refuse)) return FALSE;
        SendMessageA(handle, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos), maxPos);
        return TRUE;
    }
    const WindowRef window = barWindow(handle, bar, refuse);
    if (!window) return FALSE;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0};
    setInfo(window, bar, info, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND handle, int bar, int* minPos, int* maxPos) {
    constexpr CallRefuser refuse("winplat: GetScrollRange");
    if (!minPos || !maxPos) return refuse(FALSE, "no place for the range");
    if (bar == SB_CTL) {
        if (!windowForCall(handle, refuse)) return FALSE;
        SendMessageA(handle, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
        return TRUE;
    }
    const WindowRef window = barWindow(handle, bar, refuse);
    if (!window) return FALSE;
    const ScrollBarState& state = scrollBar(*window, bar);
    *minPos = state.min;
    *maxPos = state.max;
    return TRUE;
}

BOOL ShowScrollBar(HWND handle, int bar, BOOL show) {
    constexpr CallRefuser refuse("winplat: ShowScrollBar");
    if (bar != SB_BOTH && !isWindowBar(bar)) {
        const WindowRef checked = barWindow(handle, bar, refuse);
        if (!checked) return FALSE;
    }
    const WindowRef window = windowForCall(handle, refuse);
    if (!window) return FALSE;
    if (bar == SB_BOTH) {
        setBothScrollBarsShown(window, show != FALSE);
    } else {
        setScrollBarShown(window, bar, show != FALSE);
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND handle, UINT bars, UINT arrows) {
    constexpr CallRefuser refuse("winplat: EnableScrollBar");
    if (arrows & ~static_cast<UINT>(ESB_DISABLE_BOTH)) return refuse(FALSE, "arrows " + std::to_string(arrows));
    if (bars != SB_BOTH && !isWindowBar(static_cast<int>(bars))) {
        const WindowRef checked = barWindow(handle, static_cast<int>(bars), refuse);
        if (!checked) return FALSE;
    }
    const WindowRef window = windowForCall(handle, refuse);
    if (!window) return FALSE;
    bool changed = false;
    for (const int bar : {SB_HORZ, SB_VERT}) {
        if (bars != SB_BOTH && static_cast<int>(bars) != bar) continue;
        ScrollBarState& state = scrollBar(*window, bar);
        changed = changed || state.disabledArrows != arrows;
        state.disabledArrows = arrows;
        drawScrollBar(*window, bar);
    }
    // As Windows: FALSE when the arrows were already so.
    return changed ? TRUE : FALSE;
}
