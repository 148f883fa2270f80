#include "user/show_window.h"

#include <optional>
#include <string>

#include "user/metrics.h"
#include "user/placement.h"
#include "user/send.h"
#include "user/tree.h"

namespace winplat::user {
namespace {

constexpr DWORD kStateStyles = WS_MINIMIZE | WS_MAXIMIZE;

WindowState stateOf(const WindowObject& window) {
    if (window.style & WS_MINIMIZE) return WindowState::Minimised;
    if (window.style & WS_MAXIMIZE) return WindowState::Maximised;
    return WindowState::Normal;
}

// Minimised windows line up at the bottom left of the parent's client area.
RECT minimisedRect(const WindowObject& window) {
    const WindowObject& parent = *window.parent;
    const int height = systemMetric(SM_CYMINIMIZED);
    const int bottom = parent.client.bottom - parent.client.top;
    return {0, bottom - height, systemMetric(SM_CXMINIMIZED), bottom};
}

RECT maximisedRect(const WindowRef& window) {
    const MINMAXINFO info = askMinMaxInfo(window);
    return {info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
            info.ptMaxPosition.y + info.ptMaxSize.y};
}

// Owned pop-ups hide while their owner is minimised and come back with it; each hears of it
// through WM_SHOWWINDOW, which DefWindowProc acts on.
void tellOwned(const WindowObject& owner, bool ownerShowing) {
    if (!isTopLevel(owner)) return;
    for (const WindowRef& owned : ownedWindows(owner)) {
        if (!(owned->style & WS_POPUP)) continue;
        if (ownerShowing ? owned->hiddenWithOwner : owned->visible()) {
            sendTo(owned, WM_SHOWWINDOW, ownerShowing, ownerShowing ? SW_PARENTOPENING : SW_PARENTCLOSING);
        }
    }
}

void setStateStyle(WindowObject& window, WindowState state) {
    window.style &= ~kStateStyles;
    if (state == WindowState::Minimised) window.style |= WS_MINIMIZE;
    if (state == WindowState::Maximised) window.style |= WS_MAXIMIZE;
}

}  // namespace

bool changeState(const WindowRef& window, WindowState state, bool show, bool activate) {
    const WindowState before = stateOf(*window);
    if (before == WindowState::Normal && state != WindowState::Normal) window->restore = window->window;
    if (state == WindowState::Minimised && before != WindowState::Minimised) {
        window->restoreToMaximised = before == WindowState::Maximised;
    }
    if (before == WindowState::Minimised && state != WindowState::Minimised) tellOwned(*window, true);
    if (state == WindowState::Minimised && before != WindowState::Minimised) tellOwned(*window, false);
    if (!findWindow(window->handle)) return false;
    RECT target = window->window;
    if (state != before) {
        setStateStyle(*window, state);
        target = state == WindowState::Minimised   ? minimisedRect(*window)
                 : state == WindowState::Maximised ? maximisedRect(window)
                                                   : window->restore;
    }
    UINT flags = SWP_NOZORDER | SWP_FRAMECHANGED;
    if (show) flags |= SWP_SHOWWINDOW;
    if (!activate) flags |= SWP_NOACTIVATE;
    if (state == before) flags |= SWP_NOMOVE | SWP_NOSIZE;
    if (state == before) flags &= ~static_cast<UINT>(SWP_FRAMECHANGED);
    WINDOWPOS pos{};
    pos.x = target.left;
    pos.y = target.top;
    pos.cx = target.right - target.left;
    pos.cy = target.bottom - target.top;
    pos.flags = flags;
    return placeWindow(window, pos);
}

void followOwner(const WindowRef& window, bool ownerShowing) {
    WINDOWPOS pos{};
    if (ownerShowing && window->hiddenWithOwner) {
        window->hiddenWithOwner = false;
        pos.flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        placeWindow(window, pos);
    } else if (!ownerShowing && window->visible()) {
        window->hiddenWithOwner = true;
        pos.flags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        placeWindow(window, pos);
    }
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

namespace {

// What a show command asks: the state to end in (none: keep the current one), whether to show
// or hide, whether to activate.
struct ShowRequest {
    bool known = true;
    bool hide = false;
    std::optional<WindowState> state;
    bool activate = true;
};

ShowRequest requestOf(int command) {
    switch (command) {
        case SW_HIDE: return {true, true, std::nullopt, false};
        case SW_SHOWNORMAL:
        case SW_RESTORE:
        case SW_SHOWDEFAULT: return {true, false, WindowState::Normal, true};
        case SW_SHOWNOACTIVATE: return {true, false, WindowState::Normal, false};
        case SW_SHOWMINIMIZED: return {true, false, WindowState::Minimised, true};
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
        case SW_FORCEMINIMIZE: return {true, false, WindowState::Minimised, false};
        case SW_SHOWMAXIMIZED: return {true, false, WindowState::Maximised, true};
        case SW_SHOW: return {true, false, std::nullopt, true};
        case SW_SHOWNA: return {true, false, std::nullopt, false};
        default: return {false, false, std::nullopt, false};
    }
}

// A window minimised from the maximised state goes back to being maximised.
WindowState restoredState(const WindowObject& window) {
    return window.restoreToMaximised ? WindowState::Maximised : WindowState::Normal;
}

}  // namespace

BOOL ShowWindow(HWND window, int command) {
    constexpr CallRefuser refuse("winplat: ShowWindow", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    const ShowRequest request = requestOf(command);
    if (!request.known) return refuse.unsupported(FALSE, "show command " + std::to_string(command));
    const BOOL wasVisible = target->visible() ? TRUE : FALSE;
    if (request.hide) {
        if (!wasVisible) return FALSE;
        sendTo(target, WM_SHOWWINDOW, FALSE, 0);
        WINDOWPOS pos{};
        pos.flags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        if (findWindow(window)) placeWindow(target, pos);
        return wasVisible;
    }
    if (!wasVisible) {
        sendTo(target, WM_SHOWWINDOW, TRUE, 0);
        if (!findWindow(window)) return wasVisible;
    }
    WindowState state = request.state.value_or(stateOf(*target));
    if (command == SW_RESTORE && stateOf(*target) == WindowState::Minimised) state = restoredState(*target);
    changeState(target, state, true, request.activate);
    return wasVisible;
}
