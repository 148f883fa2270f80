#include "page/object_window_hooks.h"

#include "winplat/controls.h"
#include "winplat/refusal.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: object window");

// The procedure a hook replaced, kept with the window.
constexpr char kSavedProcedure[] = "lect32.objectWindowProcedure";

WNDPROC savedProcedure(HWND window) { return reinterpret_cast<WNDPROC>(GetPropA(window, kSavedProcedure)); }

// Calls the replaced procedure; on WM_DESTROY it is put back first.
LRESULT passOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC saved = savedProcedure(window);
    if (message == WM_DESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
        RemovePropA(window, kSavedProcedure);
    }
    return CallWindowProcA(saved, window, message, wParam, lParam);
}

bool isForwarded(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
           message == WM_RBUTTONDOWN || message == WM_RBUTTONUP;
}

LRESULT CALLBACK forwardMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isForwarded(message)) {
        const HWND parent = GetParent(window);
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MapWindowPoints(window, parent, &point, 1);
        SendMessageA(parent, message, wParam, MAKELPARAM(point.x, point.y));
    }
    return passOn(window, message, wParam, lParam);
}

LRESULT CALLBACK reportClick(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) SendMessageA(GetParent(window), kMediaClickMessage, 0, 0);
    return passOn(window, message, wParam, lParam);
}

}  // namespace

bool HookObjectWindow(HWND window, ObjectWindowHook hook) {
    if (!IsWindow(window)) return refuse(false, "no such window");
    if (savedProcedure(window)) return refuse(false, "the window carries a hook already");
    const WNDPROC procedure = hook == ObjectWindowHook::ForwardMouse ? forwardMouse : reportClick;
    const LONG_PTR previous = GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (!previous || !SetPropA(window, kSavedProcedure, reinterpret_cast<HANDLE>(previous))) {
        return refuse(false, "the window's procedure cannot be kept");
    }
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    return true;
}

}  // namespace lect32
