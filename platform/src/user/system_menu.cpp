#include "user/system_menu.h"

#include <utility>

#include "base/call_refusal.h"
#include "user/menu_object.h"
#include "user/menu_tracking.h"
#include "user/metrics.h"
#include "user/nonclient_actions.h"
#include "winplat/owners.h"

namespace winplat::user {
namespace {

struct StandardItem {
    UINT command;  // 0: a separator
    const char* text;  // cp1250
};

// The standard menu in cp1250 (\xF8 is "ř", \xED is "í").
constexpr StandardItem kStandardItems[] = {
    {SC_RESTORE, "&Obnovit"},
    {SC_MOVE, "&P\xF8" "esunout"},
    {SC_SIZE, "&Velikost"},
    {SC_MINIMIZE, "Mi&nimalizovat"},
    {SC_MAXIMIZE, "Ma&ximalizovat"},
    {0, ""},
    {SC_CLOSE, "&Zav\xF8\xEDt\tAlt+F4"},
};

HMENU makeStandardMenu() {
    OwnedMenu menu(CreatePopupMenu());
    for (const StandardItem& item : kStandardItems) {
        AppendMenuA(menu.get(), item.command ? MF_STRING : MF_SEPARATOR, item.command, item.text);
    }
    SetMenuDefaultItem(menu.get(), SC_CLOSE, FALSE);
    return menu.release();
}

void setEnabled(HMENU menu, UINT command, bool enabled) {
    EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

HMENU existingSystemMenu(const WindowObject& window) {
    return findMenu(window.systemMenu) ? window.systemMenu : nullptr;
}

HMENU systemMenuOf(WindowObject& window) {
    if (!existingSystemMenu(window)) {
        window.systemMenu = makeStandardMenu();
        updateSystemMenu(window);
    }
    return window.systemMenu;
}

void updateSystemMenu(const WindowObject& window) {
    const HMENU menu = existingSystemMenu(window);
    if (!menu) return;
    const bool minimised = (window.style & WS_MINIMIZE) != 0;
    const bool maximised = (window.style & WS_MAXIMIZE) != 0;
    const bool normal = !minimised && !maximised;
    setEnabled(menu, SC_RESTORE, !normal);
    setEnabled(menu, SC_MOVE, !maximised);
    setEnabled(menu, SC_SIZE, normal && (window.style & WS_THICKFRAME));
    setEnabled(menu, SC_MINIMIZE, !minimised && (window.style & WS_MINIMIZEBOX));
    setEnabled(menu, SC_MAXIMIZE, !maximised && (window.style & WS_MAXIMIZEBOX));
}

UINT openSystemMenu(const WindowRef& window, POINT screen) {
    if (!(window->style & WS_SYSMENU) || trackingMenu()) return 0;
    const HMENU menu = systemMenuOf(*window);
    // WM_INITMENU first: DefWindowProc greys what the window's state does not allow.
    SendMessageA(window->handle, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    if (!IsWindow(window->handle) || !findMenu(menu)) return 0;
    POINT at = screen;
    if (at.x == 0 && at.y == 0) {
        const int frame = frameWidth(window->style, window->exStyle);
        at = {window->window.left + frame, window->window.top + frame + systemMetric(SM_CYCAPTION)};
    }
    return trackPopup({menu, window->handle, at, TPM_LEFTALIGN | TPM_TOPALIGN, "system", true, nullptr, false});
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HMENU GetSystemMenu(HWND window, BOOL revert) {
    static constexpr CallRefuser refuse("winplat: GetSystemMenu", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef object = findWindow(window);
    if (!object) return refuse(HMENU{}, "not a live window handle");
    if (revert) {
        // Back to the standard menu: the copy goes, the next call makes a fresh one.
        if (HMENU copy = std::exchange(object->systemMenu, nullptr)) destroyMenuTree(copy);
        return nullptr;
    }
    return systemMenuOf(*object);
}
