// The menu bar a top-level window carries.
#include "base/call_refusal.h"
#include "user/menu_object.h"
#include "user/window.h"

using namespace winplat;
using namespace winplat::user;

HMENU GetMenu(HWND window) {
    static constexpr CallRefuser refuse("winplat: GetMenu", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef object = findWindow(window);
    if (!object) return refuse(HMENU{}, "not a live window handle");
    // A child's id field is its control id, never a menu.
    if (object->isChild()) return nullptr;
    return reinterpret_cast<HMENU>(object->id);
}

BOOL SetMenu(HWND window, HMENU menu) {
    static constexpr CallRefuser refuse("winplat: SetMenu", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef object = findWindow(window);
    if (!object) return refuse(FALSE, "not a live window handle");
    if (object->isChild()) {
        static constexpr CallRefuser childRefuse("winplat: SetMenu", ERROR_CHILD_WINDOW_MENU);
        return childRefuse(FALSE, "a child window has no menu bar");
    }
    if (menu && !findMenu(menu)) {
        static constexpr CallRefuser menuRefuse("winplat: SetMenu", ERROR_INVALID_MENU_HANDLE);
        return menuRefuse(FALSE, "not a live menu handle");
    }
    // The old menu stays the caller's to destroy.
    object->id = reinterpret_cast<LONG_PTR>(menu);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

BOOL DrawMenuBar(HWND window) {
    static constexpr CallRefuser refuse("winplat: DrawMenuBar", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef object = findWindow(window);
    if (!object) return refuse(FALSE, "not a live window handle");
    if (object->isChild() || !object->id) return refuse(FALSE, "the window has no menu bar");
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}
