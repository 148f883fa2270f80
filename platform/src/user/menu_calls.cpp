// Making menus and changing their items.
#include <optional>

#include "base/call_refusal.h"
#include "user/menu_object.h"

using namespace winplat;
using namespace winplat::user;

namespace {

// The bits an item keeps of the flags it was made with.
constexpr UINT kItemBits = MF_POPUP | MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK |
                           MF_MENUBARBREAK | MF_HELP;

// The item AppendMenuA, InsertMenuA and ModifyMenuA describe, or nothing after the refusal.
std::optional<MenuItem> describeItem(const CallRefuser& refuse, HMENU menu, UINT flags, UINT_PTR idNewItem,
                                     LPCSTR text) {
    if (flags & (MF_BITMAP | MF_OWNERDRAW | MF_USECHECKBITMAPS)) {
        return refuse.unsupported(std::optional<MenuItem>{}, "bitmap and owner-drawn items are not supported");
    }
    MenuItem item;
    item.flags = flags & kItemBits;
    if (item.separator()) {
        item.flags &= ~static_cast<UINT>(MF_POPUP);
        return item;
    }
    if (item.popup()) {
        item.subMenu = reinterpret_cast<HMENU>(idNewItem);
        if (!findMenu(item.subMenu)) return refuse(std::optional<MenuItem>{}, "the sub-menu is not a live menu");
        if (item.subMenu == menu) return refuse(std::optional<MenuItem>{}, "a menu cannot open itself");
        item.id = handleValue(item.subMenu);
    } else {
        item.id = static_cast<UINT>(idNewItem);
    }
    if (text) item.text = text;
    return item;
}

BOOL insertItem(const CallRefuser& refuse, HMENU handle, UINT position, UINT flags, UINT_PTR idNewItem,
                LPCSTR text) {
    auto menu = findMenu(handle);
    if (!menu) return refuseStaleMenu(refuse, FALSE);
    auto item = describeItem(refuse, handle, flags, idNewItem, text);
    if (!item) return FALSE;
    if (flags & MF_BYPOSITION) {
        // A position past the end, -1 included, appends.
        const size_t at = position < menu->items.size() ? position : menu->items.size();
        menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(at), *item);
        return TRUE;
    }
    auto place = findItem(handle, position, flags);
    if (!place) return refuse(FALSE, "no item has that command");
    place->menu->items.insert(place->menu->items.begin() + static_cast<std::ptrdiff_t>(place->index), *item);
    return TRUE;
}

BOOL takeItem(const CallRefuser& refuse, HMENU handle, UINT position, UINT flags, bool destroySubMenu) {
    if (!findMenu(handle)) return refuseStaleMenu(refuse, FALSE);
    auto place = findItem(handle, position, flags);
    if (!place) return refuse(FALSE, (flags & MF_BYPOSITION) ? "no item at that position" : "no item has that command");
    const MenuItem taken = place->item();
    place->menu->items.erase(place->menu->items.begin() + static_cast<std::ptrdiff_t>(place->index));
    if (destroySubMenu && taken.popup()) destroyMenuTree(taken.subMenu);
    return TRUE;
}

}  // namespace


HMENU CreateMenu(void) { return addMenu(false); }

HMENU CreatePopupMenu(void) { return addMenu(true); }

BOOL DestroyMenu(HMENU menu) {
    static constexpr CallRefuser refuse("winplat: DestroyMenu", ERROR_INVALID_MENU_HANDLE);
    if (!findMenu(menu)) return refuseStaleMenu(refuse, FALSE);
    destroyMenuTree(menu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    return handleTable().get(handleValue(menu), HandleType::Menu) != nullptr;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    static constexpr CallRefuser refuse("winplat: AppendMenuA", ERROR_INVALID_MENU_HANDLE);
    return insertItem(refuse, menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, idNewItem, newItem);
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    static constexpr CallRefuser refuse("winplat: InsertMenuA", ERROR_MENU_ITEM_NOT_FOUND);
    return insertItem(refuse, menu, position, flags, idNewItem, newItem);
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    static constexpr CallRefuser refuse("winplat: ModifyMenuA", ERROR_MENU_ITEM_NOT_FOUND);
    if (!findMenu(menu)) return refuseStaleMenu(refuse, FALSE);
    auto place = findItem(menu, position, flags);
    if (!place) return refuse(FALSE, (flags & MF_BYPOSITION) ? "no item at that position" : "no item has that command");
    auto item = describeItem(refuse, place->handle, flags, idNewItem, newItem);
    if (!item) return FALSE;
    MenuItem& old = place->item();
    item->isDefault = old.isDefault;
    // The item's own sub-menu passed back with MF_POPUP stays; any other replacement destroys it.
    const HMENU oldSubMenu = old.popup() && old.subMenu != item->subMenu ? old.subMenu : nullptr;
    old = *item;
    if (oldSubMenu) destroyMenuTree(oldSubMenu);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    static constexpr CallRefuser refuse("winplat: DeleteMenu", ERROR_MENU_ITEM_NOT_FOUND);
    return takeItem(refuse, menu, position, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    static constexpr CallRefuser refuse("winplat: RemoveMenu", ERROR_MENU_ITEM_NOT_FOUND);
    return takeItem(refuse, menu, position, flags, false);
}

