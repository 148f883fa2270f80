// The objects behind HMENU, and how the menu calls find a menu and one of its items.
//
// A menu owns its items; an item that opens a sub-menu holds the sub-menu's handle, and the
// sub-menu lives in the handle table like any menu, so the program can reach it with GetSubMenu.
#ifndef WINPLAT_SRC_USER_MENU_OBJECT_H
#define WINPLAT_SRC_USER_MENU_OBJECT_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/call_refusal.h"
#include "winplat/base.h"
#include "winplat/handles.h"
#include "winplat/user.h"

namespace winplat::user {

struct MenuItem {
    UINT flags = 0;       // MF_ type and state bits (MF_POPUP, MF_SEPARATOR, MF_CHECKED, MF_GRAYED, ...)
    UINT id = 0;          // the command; for MF_POPUP the sub-menu's handle value
    HMENU subMenu = nullptr;
    std::string text;     // cp1250, '&' mnemonic and '\t' key text kept as given
    bool isDefault = false;

    bool popup() const { return (flags & MF_POPUP) != 0; }
    bool separator() const { return (flags & MF_SEPARATOR) != 0; }
    bool inactive() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
};

struct MenuObject final : HandleObject {
    bool popup = false;  // made by CreatePopupMenu
    std::vector<MenuItem> items;
};

// The menu behind a live handle, else null with ERROR_INVALID_MENU_HANDLE.
std::shared_ptr<MenuObject> findMenu(HMENU menu);

// A stale or foreign menu handle: logged through the call's refuser, whatever error the call
// leaves for its other refusals, with ERROR_INVALID_MENU_HANDLE.
template <class T>
T refuseStaleMenu(const CallRefuser& refuse, T failure, CodePlace where = CodePlace::here()) {
    refuse.log("not a live menu handle", where);
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return failure;
}

// Where one item lives: the menu holding it (a sub-menu for a command found deeper) and its index.
struct ItemPlace {
    std::shared_ptr<MenuObject> menu;
    HMENU handle = nullptr;
    size_t index = 0;

    MenuItem& item() const { return menu->items[index]; }
};

// The item 'item' names under MF_BYPOSITION or MF_BYCOMMAND (sub-menus searched depth first).
std::optional<ItemPlace> findItem(HMENU menu, UINT item, UINT flags);

// One step from a menu down to an item: the menu and the item's position in it.
struct MenuStep {
    HMENU menu = nullptr;
    UINT position = 0;
};

// The steps from 'menu' through drop-downs to the first item with the command; empty when none.
std::vector<MenuStep> pathToCommand(HMENU menu, UINT command);

// Takes a menu and every sub-menu it reaches out of the handle table.
void destroyMenuTree(HMENU menu);

HMENU addMenu(bool popup);

}  // namespace winplat::user

#endif
