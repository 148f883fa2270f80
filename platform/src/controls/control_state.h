// What the layer's controls share: their own state kept with the window (made on first need,
// gone with the window), and telling the parent.
#ifndef WINPLAT_SRC_CONTROLS_CONTROL_STATE_H
#define WINPLAT_SRC_CONTROLS_CONTROL_STATE_H

#include <memory>

#include "controls/control_support.h"
#include "user/window.h"
#include "winplat/controls.h"

namespace winplat::controls {

// The control's state of type T; null for a dead handle. One control class per window, so the
// type is the procedure's own.
template <class T>
T* controlState(HWND handle) {
    const user::WindowRef window = user::findWindow(handle);
    if (!window) return nullptr;
    if (!window->control) window->control = std::make_shared<T>();
    return static_cast<T*>(window->control.get());
}

// WM_HSCROLL or WM_VSCROLL to the parent: the code and position, lParam the control.
inline void tellParentScroll(HWND control, bool vertical, WORD code, int pos) {
    SendMessageA(GetParent(control), vertical ? WM_VSCROLL : WM_HSCROLL,
                 MAKELONG(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(control));
}

// A redraw now: the control's client area painted before the call returns.
inline void repaintNow(HWND control) {
    InvalidateRect(control, nullptr, FALSE);
    UpdateWindow(control);
}

inline POINT clientPoint(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace winplat::controls

#endif
