#include "user/scroll_bar_visibility.h"

#include "user/placement.h"
#include "user/tree.h"
#include "user/update_region.h"

namespace winplat::user {
namespace {

void setStyleBits(const WindowRef& window, DWORD bits, bool shown) {
    const DWORD style = shown ? (window->style | bits) : (window->style & ~bits);
    if (style == window->style) return;
    window->style = style;
    noteTreeChange();
    const RECT oldClient = window->client;
    WINDOWPOS pos{};
    pos.flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    if (!placeWindow(window, pos)) return;
    const RECT& now = window->client;
    const bool resized = now.right - now.left != oldClient.right - oldClient.left ||
                         now.bottom - now.top != oldClient.bottom - oldClient.top;
    if (resized) invalidateWindow(*window, gdi::Region(clientArea(*window)), RDW_INVALIDATE | RDW_ERASE);
}

}  // namespace

void setScrollBarShown(const WindowRef& window, int bar, bool shown) {
    setStyleBits(window, bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL, shown);
}

void setBothScrollBarsShown(const WindowRef& window, bool shown) {
    setStyleBits(window, WS_HSCROLL | WS_VSCROLL, shown);
}

}  // namespace winplat::user
