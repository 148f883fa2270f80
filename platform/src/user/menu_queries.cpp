// Reading menu items, and the state bits the program sets on them.
#include <algorithm>
#include <cstring>

#include "base/call_refusal.h"
#include "user/menu_object.h"

using namespace winplat;
using namespace winplat::user;

namespace {

constexpr UINT kNoItem = static_cast<UINT>(-1);
constexpr UINT kStateBits = MF_POPUP | MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK |
                            MF_MENUBARBREAK | MF_HELP;

const char* missing(UINT flags) {
    return (flags & MF_BYPOSITION) ? "no item at that position" : "no item has that command";
}

// An item by position, refusing a stale menu or a position outside it.
std::optional<ItemPlace> itemAt(const CallRefuser& refuse, HMENU menu, int position) {
    if (!findMenu(menu)) return refuseStaleMenu(refuse, std::optional<ItemPlace>{});
    if (position < 0) return refuse(std::optional<ItemPlace>{}, "a position is never negative");
    auto place = findItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    if (!place) return refuse(std::optional<ItemPlace>{}, "no item at that position");
    return place;
}

std::optional<ItemPlace> namedItem(const CallRefuser& refuse, HMENU menu, UINT item, UINT flags) {
    if (!findMenu(menu)) return refuseStaleMenu(refuse, std::optional<ItemPlace>{});
    auto place = findItem(menu, item, flags);
    if (!place) return refuse(std::optional<ItemPlace>{}, missing(flags));
    return place;
}

}  // namespace

int GetMenuItemCount(HMENU menu) {
    static constexpr CallRefuser refuse("winplat: GetMenuItemCount", ERROR_INVALID_MENU_HANDLE);
    auto object = findMenu(menu);
    if (!object) return refuseStaleMenu(refuse, -1);
    return static_cast<int>(object->items.size());
}

UINT GetMenuItemID(HMENU menu, int position) {
    static constexpr CallRefuser refuse("winplat: GetMenuItemID", ERROR_MENU_ITEM_NOT_FOUND);
    auto place = itemAt(refuse, menu, position);
    if (!place) return kNoItem;
    // An item opening a sub-menu has no command of its own.
    return place->item().popup() ? kNoItem : place->item().id;
}

HMENU GetSubMenu(HMENU menu, int position) {
    static constexpr CallRefuser refuse("winplat: GetSubMenu", ERROR_MENU_ITEM_NOT_FOUND);
    auto place = itemAt(refuse, menu, position);
    if (!place) return nullptr;
    return place->item().popup() ? place->item().subMenu : nullptr;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
    static constexpr CallRefuser refuse("winplat: GetMenuStringA", ERROR_MENU_ITEM_NOT_FOUND);
    auto place = namedItem(refuse, menu, item, flags);
    if (!place) return 0;
    const std::string& text = place->item().text;
    if (!buffer || size <= 0) return static_cast<int>(text.size());
    const size_t copied = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    static constexpr CallRefuser refuse("winplat: GetMenuState", ERROR_MENU_ITEM_NOT_FOUND);
    auto place = namedItem(refuse, menu, item, flags);
    if (!place) return kNoItem;
    const MenuItem& found = place->item();
    const UINT state = (found.flags & kStateBits) | (found.isDefault ? MF_DEFAULT : 0);
    if (!found.popup()) return state;
    // A sub-menu's item count rides in the high byte of the low word, its flags in the low byte.
    const auto sub = findMenu(found.subMenu);
    const UINT count = sub ? static_cast<UINT>(std::min<size_t>(sub->items.size(), 0xFF)) : 0;
    return (count << 8) | (state & 0xFF);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    static constexpr CallRefuser refuse("winplat: CheckMenuItem", ERROR_MENU_ITEM_NOT_FOUND);
    auto place = namedItem(refuse, menu, item, check);
    if (!place) return kNoItem;
    UINT& flags = place->item().flags;
    const DWORD before = flags & MF_CHECKED;
    flags = (flags & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
    return before;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    static constexpr CallRefuser refuse("winplat: EnableMenuItem", ERROR_MENU_ITEM_NOT_FOUND);
    auto place = namedItem(refuse, menu, item, enable);
    if (!place) return -1;
    constexpr UINT kEnableBits = MF_GRAYED | MF_DISABLED;
    UINT& flags = place->item().flags;
    const UINT before = flags & kEnableBits;
    flags = (flags & ~kEnableBits) | (enable & kEnableBits);
    return static_cast<BOOL>(before);
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
    static constexpr CallRefuser refuse("winplat: SetMenuDefaultItem", ERROR_MENU_ITEM_NOT_FOUND);
    auto object = findMenu(menu);
    if (!object) return refuseStaleMenu(refuse, FALSE);
    // The default is one item of this menu, not of its sub-menus; -1 clears it.
    auto chosen = object->items.end();
    if (item != kNoItem) {
        chosen = byPosition ? (item < object->items.size() ? object->items.begin() + item : object->items.end())
                            : std::find_if(object->items.begin(), object->items.end(),
                                           [item](const MenuItem& i) { return !i.separator() && i.id == item; });
        if (chosen == object->items.end()) return refuse(FALSE, byPosition ? missing(MF_BYPOSITION) : missing(0));
    }
    for (auto it = object->items.begin(); it != object->items.end(); ++it) it->isDefault = it == chosen;
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags) {
    static constexpr CallRefuser refuse("winplat: GetMenuDefaultItem", ERROR_INVALID_MENU_HANDLE);
    auto object = findMenu(menu);
    if (!object) return refuseStaleMenu(refuse, kNoItem);
    for (size_t i = 0; i < object->items.size(); ++i) {
        const MenuItem& item = object->items[i];
        if (!item.isDefault) continue;
        if (item.inactive() && !(flags & GMDI_USEDISABLED)) return kNoItem;
        return byPosition ? static_cast<UINT>(i) : item.id;
    }
    return kNoItem;
}
