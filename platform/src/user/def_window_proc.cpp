// DefWindowProcA for what the window manager core owns; painting, the non-client frame and
// system commands add their cases as they come. Every other message is answered with 0.
#include <algorithm>
#include <cstring>

#include "user/begin_paint.h"
#include "user/control_colours.h"
#include "user/hit_test.h"
#include "user/metrics.h"
#include "user/nonclient_drawing.h"
#include "user/nonclient_state.h"
#include "user/nonclient_actions.h"
#include "user/send.h"
#include "user/placement.h"
#include "user/show_window.h"
#include "user/system_menu.h"
#include "user/window.h"
#include "winplat/controls.h"

namespace winplat::user {
namespace {

LRESULT onNcCreate(WindowObject& window, LPARAM lParam) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (create && create->lpszName && reinterpret_cast<ULONG_PTR>(create->lpszName) >= 0x10000) {
        window.text = create->lpszName;
    }
    return TRUE;
}

// The system menu is about to show or be used (from the frame, or tracked by the program with
// TrackPopupMenu): its items follow the window's state.
LRESULT onInitMenu(const WindowObject& window, HMENU menu) {
    if (menu && menu == existingSystemMenu(window)) updateSystemMenu(window);
    return 0;
}

// The client area is the window less the frame its styles draw; a minimised window has none.
LRESULT onNcCalcSize(const WindowObject& window, LPARAM lParam) {
    auto* rect = reinterpret_cast<RECT*>(lParam);  // NCCALCSIZE_PARAMS starts with the same rectangle
    if (!rect) return 0;
    if (window.style & WS_MINIMIZE) {
        rect->right = rect->left;
        rect->bottom = rect->top;
        return 0;
    }
    const RECT insets = frameInsets(window.style, window.exStyle, hasMenuBar(window));
    rect->left += insets.left;
    rect->top += insets.top;
    rect->right = std::max(rect->left, rect->right - insets.right);
    rect->bottom = std::max(rect->top, rect->bottom - insets.bottom);
    return 0;
}

LRESULT onGetText(const WindowObject& window, WPARAM size, LPARAM lParam) {
    auto* buffer = reinterpret_cast<char*>(lParam);
    if (!buffer || size == 0) return 0;
    const size_t count = std::min<size_t>(window.text.size(), size - 1);
    std::memcpy(buffer, window.text.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT onSetText(WindowObject& window, LPARAM lParam) {
    const auto* text = reinterpret_cast<const char*>(lParam);
    window.text = text ? text : "";
    drawCaption(window);
    return TRUE;
}

// The frame shows the new state at once: the caption's colours, and the sizing frame's.
LRESULT onNcActivate(WindowObject& window, WPARAM active) {
    nonClientState(window).active = active != 0;
    drawNonClient(window);
    return TRUE;
}

LRESULT onWindowPosChanged(const WindowRef& window, LPARAM lParam) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (!pos) return 0;
    if (!(pos->flags & SWP_NOCLIENTMOVE)) sendMove(window);
    if (!(pos->flags & SWP_NOCLIENTSIZE) && !window->gone) sendSize(window);
    return 0;
}

LRESULT onShowWindow(const WindowRef& window, WPARAM show, LPARAM reason) {
    if (reason == SW_PARENTCLOSING || reason == SW_PARENTOPENING) followOwner(window, show != 0);
    return 0;
}

// The parent a child window hands cursor, activation and wheel questions to; none for top-level
// windows.
WindowRef parentOfChild(const WindowObject& window) {
    if (!window.isChild() || !window.parent || isDesktop(*window.parent)) return nullptr;
    return findWindow(window.parent->handle);
}

HCURSOR cursorForHit(int hit) {
    switch (hit) {
        case HTLEFT:
        case HTRIGHT: return LoadCursorA(nullptr, IDC_SIZEWE);
        case HTTOP:
        case HTBOTTOM: return LoadCursorA(nullptr, IDC_SIZENS);
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
        case HTSIZE: return LoadCursorA(nullptr, IDC_SIZENWSE);
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: return LoadCursorA(nullptr, IDC_SIZENESW);
        default: return LoadCursorA(nullptr, IDC_ARROW);
    }
}

bool isPressMessage(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN || message == WM_NCMBUTTONDOWN;
}

// The parent may set the cursor for its children first. A window sets the cursor only for itself
// (a parent asked about a child leaves it to the child): the class cursor in the client area,
// the sizing arrows on a sizing frame, the arrow elsewhere; a press on a window that refuses
// input beeps.
LRESULT onSetCursor(const WindowRef& window, WPARAM wParam, LPARAM lParam) {
    if (const WindowRef parent = parentOfChild(*window)) {
        if (sendTo(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
    }
    if (reinterpret_cast<HWND>(wParam) != window->handle) return FALSE;
    const auto hit = static_cast<SHORT>(LOWORD(lParam));
    if (hit == HTERROR) {
        if (isPressMessage(HIWORD(lParam))) MessageBeep(MB_OK);
        return FALSE;
    }
    if (hit == HTCLIENT) {
        const HCURSOR cursor = window->windowClass ? window->windowClass->cursor : nullptr;
        if (!cursor) return FALSE;
        SetCursor(cursor);
        return TRUE;
    }
    SetCursor(cursorForHit(hit));
    return TRUE;
}

LRESULT onMouseActivate(const WindowRef& window, WPARAM wParam, LPARAM lParam) {
    if (const WindowRef parent = parentOfChild(*window)) {
        if (const LRESULT answer = sendTo(parent, WM_MOUSEACTIVATE, wParam, lParam)) return answer;
    }
    return MA_ACTIVATE;
}

// The wheel and help requests go up from a child to its parent.
LRESULT toParent(const WindowRef& window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowRef parent = parentOfChild(*window);
    return parent ? sendTo(parent, message, wParam, lParam) : 0;
}

// A window activated (not minimised) takes the keyboard focus.
LRESULT onActivate(const WindowObject& window, WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(window.handle);
    return 0;
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr CallRefuser refuse("winplat: DefWindowProcA", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef window = windowForCall(handle, refuse);
    if (!window) return 0;
    if (isControlColourMessage(message)) return defaultControlColours(message, reinterpret_cast<HDC>(wParam));
    switch (message) {
        case WM_NCCREATE: return onNcCreate(*window, lParam);
        case WM_NCCALCSIZE: return onNcCalcSize(*window, lParam);
        case WM_GETTEXT: return onGetText(*window, wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
        case WM_SETTEXT: return onSetText(*window, lParam);
        case WM_WINDOWPOSCHANGED: return onWindowPosChanged(window, lParam);
        case WM_SHOWWINDOW: return onShowWindow(window, wParam, lParam);
        case WM_PAINT: return defaultPaint(handle);
        case WM_ERASEBKGND: return defaultEraseBackground(*window, reinterpret_cast<HDC>(wParam));
        case WM_CLOSE: DestroyWindow(handle); return 0;
        case WM_COPYDATA: return FALSE;
        case WM_NCHITTEST: return frameHitTest(*window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        case WM_SETCURSOR: return onSetCursor(window, wParam, lParam);
        case WM_MOUSEACTIVATE: return onMouseActivate(window, wParam, lParam);
        case WM_MOUSEWHEEL:
        case WM_HELP: return toParent(window, message, wParam, lParam);
        case WM_ACTIVATE: return onActivate(*window, wParam);
        case WM_NCACTIVATE: return onNcActivate(*window, wParam);
        case WM_NCPAINT: drawNonClient(*window); return 0;
        case WM_CANCELMODE:
            // Ends any of the frame's tracking loops: they hold the mouse while they run.
            if (GetCapture() == handle) ReleaseCapture();
            return 0;
        case WM_NCLBUTTONDOWN: return onNcLeftButtonDown(window, wParam, lParam);
        case WM_NCLBUTTONDBLCLK: return onNcLeftButtonDoubleClick(window, wParam, lParam);
        case WM_SYSCOMMAND: return onSysCommand(window, wParam, lParam);
        case WM_INITMENU:
        case WM_INITMENUPOPUP: return onInitMenu(*window, reinterpret_cast<HMENU>(wParam));
        case WM_NCRBUTTONUP: return onNcRightButtonUp(window, wParam, lParam);
        case WM_CONTEXTMENU: return onContextMenu(window, wParam, lParam);
        case WM_SYSKEYDOWN: return onSysKeyDown(window, wParam, lParam);
        case WM_SYSKEYUP: return onSysKeyUp(window, wParam, lParam);
        case WM_SYSCHAR: return onSysChar(window, wParam, lParam);
        default: return 0;
    }
}
