#include "user/nonclient_actions.h"

#include "user/activation.h"
#include "user/caption_buttons.h"
#include "user/hit_test.h"
#include "user/input_state.h"
#include "user/menu_bar.h"
#include "user/move_size.h"
#include "user/scroll_tracking.h"
#include "user/send.h"

namespace winplat::user {
namespace {

POINT pointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// The WMSZ_ side a sizing hit code names; 0 for any other code.
WPARAM sizingSide(WPARAM hit) {
    switch (hit) {
        case HTLEFT: return WMSZ_LEFT;
        case HTRIGHT: return WMSZ_RIGHT;
        case HTTOP: return WMSZ_TOP;
        case HTTOPLEFT: return WMSZ_TOPLEFT;
        case HTTOPRIGHT: return WMSZ_TOPRIGHT;
        case HTBOTTOM: return WMSZ_BOTTOM;
        case HTBOTTOMLEFT: return WMSZ_BOTTOMLEFT;
        case HTBOTTOMRIGHT:
        case HTSIZE: return WMSZ_BOTTOMRIGHT;
        default: return 0;
    }
}

void command(const WindowRef& window, WPARAM which, LPARAM lParam) { sendTo(window, WM_SYSCOMMAND, which, lParam); }

// The next or previous top-level window that can be activated, in z-order round the desktop.
void activateNeighbour(const WindowRef& window, bool next) {
    std::vector<WindowRef> candidates;
    for (const WindowRef& w : desktop().children) {
        if (w->visible() && !(w->style & WS_DISABLED) && !w->owner) candidates.push_back(w);
    }
    if (candidates.size() < 2) return;
    const WindowRef self = topLevelOf(window);
    size_t at = 0;
    while (at < candidates.size() && candidates[at] != self) ++at;
    if (next) {
        // The window goes to the bottom; the one under it comes up.
        const WindowRef target = candidates[(at + 1) % candidates.size()];
        SetWindowPos(self->handle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetActiveWindow(target->handle);
    } else {
        SetActiveWindow(candidates.back()->handle);
    }
}

}  // namespace

LRESULT onNcLeftButtonDown(const WindowRef& window, WPARAM hit, LPARAM lParam) {
    const POINT at = pointOf(lParam);
    switch (hit) {
        case HTVSCROLL: trackScrollBar(window, SB_VERT, at); return 0;
        case HTHSCROLL: trackScrollBar(window, SB_HORZ, at); return 0;
        case HTCAPTION: command(window, SC_MOVE | HTCAPTION, lParam); return 0;
        case HTSYSMENU: command(window, SC_MOUSEMENU | HTSYSMENU, lParam); return 0;
        case HTMENU: command(window, SC_MOUSEMENU | HTMENU, lParam); return 0;
        case HTCLOSE:
        case HTMINBUTTON:
        case HTMAXBUTTON: trackCaptionButton(window, static_cast<int>(hit)); return 0;
        default: break;
    }
    if (const WPARAM side = sizingSide(hit); side && (window->style & WS_THICKFRAME)) command(window, SC_SIZE + side, lParam);
    return 0;
}

LRESULT onNcLeftButtonDoubleClick(const WindowRef& window, WPARAM hit, LPARAM lParam) {
    if (hit == HTSYSMENU && (window->style & WS_SYSMENU)) {
        command(window, SC_CLOSE, lParam);
    } else if (hit == HTCAPTION && (window->style & WS_MAXIMIZEBOX)) {
        const bool normal = !(window->style & (WS_MAXIMIZE | WS_MINIMIZE));
        command(window, normal ? SC_MAXIMIZE : SC_RESTORE, lParam);
    } else if (hit == HTVSCROLL || hit == HTHSCROLL || hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON) {
        // A quick second press on a bar or a button counts as a press of its own.
        return onNcLeftButtonDown(window, hit, lParam);
    }
    return 0;
}

LRESULT onSysCommand(const WindowRef& window, WPARAM wParam, LPARAM lParam) {
    switch (wParam & 0xFFF0) {
        case SC_MOVE:
        case SC_SIZE: moveSizeLoop(window, wParam, pointOf(lParam)); return 0;
        case SC_MINIMIZE: ShowWindow(window->handle, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(window->handle, SW_MAXIMIZE); return 0;
        case SC_RESTORE: ShowWindow(window->handle, SW_RESTORE); return 0;
        case SC_CLOSE: sendTo(window, WM_CLOSE, 0, 0); return 0;
        case SC_NEXTWINDOW: activateNeighbour(window, true); return 0;
        case SC_PREVWINDOW: activateNeighbour(window, false); return 0;
        case SC_MOUSEMENU: {
            if ((wParam & 0x000F) == HTMENU) {
                trackMenuBar(window, menuBarItemAt(*window, pointOf(lParam)));
                return 0;
            }
            if (const UINT chosen = openSystemMenu(window, pointOf(lParam))) command(window, chosen, lParam);
            return 0;
        }
        case SC_KEYMENU: {
            if (lParam == ' ') {
                if (const UINT chosen = openSystemMenu(window, POINT{})) command(window, chosen, 0);
            } else {
                enterMenuBar(window, static_cast<WPARAM>(lParam));
            }
            return 0;
        }
        default: return 0;  // SC_TASKLIST and the rest: nothing to do
    }
}

LRESULT onSysKeyDown(const WindowRef& window, WPARAM key, LPARAM lParam) {
    const bool alt = (HIWORD(lParam) & KF_ALTDOWN) != 0;
    if (key == VK_F4 && alt) {
        // Alt+F4 closes the top-level window, whichever of its windows has the focus.
        if (const WindowRef top = topLevelOf(window)) command(top, SC_CLOSE, 0);
    }
    return 0;
}

LRESULT onSysKeyUp(const WindowRef& window, WPARAM key, LPARAM) {
    const bool enters = key == VK_F10 || (key == VK_MENU && inputState().menuKeyAlone);
    if (enters) {
        if (const WindowRef top = topLevelOf(window)) command(top, SC_KEYMENU, 0);
    }
    return 0;
}

LRESULT onSysChar(const WindowRef& window, WPARAM character, LPARAM) {
    const WindowRef top = topLevelOf(window);
    if (!top) return 0;
    if (character == ' ') {
        command(top, SC_KEYMENU, ' ');
    } else if (character != '\r' && character != 0x1B) {
        command(top, SC_KEYMENU, static_cast<LPARAM>(character));
    }
    return 0;
}

LRESULT onNcRightButtonUp(const WindowRef& window, WPARAM, LPARAM lParam) {
    // The program may show a menu of its own for the frame; DefWindowProc's answer is below.
    sendTo(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window->handle), lParam);
    return 0;
}

LRESULT onContextMenu(const WindowRef& window, WPARAM, LPARAM lParam) {
    if (window->isChild()) {
        // Unanswered, the request goes up to the parent.
        if (window->parent) {
            SendMessageA(window->parent->handle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window->handle), lParam);
        }
        return 0;
    }
    const POINT at = pointOf(lParam);
    const int hit = frameHitTest(*window, at);
    if (hit != HTCAPTION && hit != HTSYSMENU) return 0;
    if (const UINT chosen = openSystemMenu(window, at)) command(window, chosen, lParam);
    return 0;
}

void enterMenuBar(const WindowRef& window, WPARAM character) { enterMenuBarByKey(window, character); }

}  // namespace winplat::user
