#include "user/menu_object.h"

#include <utility>

#include "winplat/base.h"

namespace winplat::user {
namespace {

// A command looked for through a menu and its sub-menus, first match in item order.
std::optional<ItemPlace> findCommand(HMENU handle, UINT id, int depth) {
    // Menus the program builds can nest a sub-menu in itself; a bound keeps the search finite.
    constexpr int kMaxDepth = 32;
    auto menu = handleTable().getAs<MenuObject>(handleValue(handle), HandleType::Menu);
    if (!menu || depth > kMaxDepth) return std::nullopt;
    for (size_t i = 0; i < menu->items.size(); ++i) {
        const MenuItem& item = menu->items[i];
        if (item.popup()) {
            if (auto deeper = findCommand(item.subMenu, id, depth + 1)) return deeper;
        }
        if (!item.separator() && item.id == id) return ItemPlace{menu, handle, i};
    }
    return std::nullopt;
}

bool collectPath(HMENU handle, UINT command, int depth, std::vector<MenuStep>& path) {
    constexpr int kMaxDepth = 32;
    auto menu = handleTable().getAs<MenuObject>(handleValue(handle), HandleType::Menu);
    if (!menu || depth > kMaxDepth) return false;
    for (size_t i = 0; i < menu->items.size(); ++i) {
        const MenuItem& item = menu->items[i];
        path.push_back({handle, static_cast<UINT>(i)});
        if (item.popup() && collectPath(item.subMenu, command, depth + 1, path)) return true;
        if (!item.popup() && !item.separator() && item.id == command) return true;
        path.pop_back();
    }
    return false;
}

}  // namespace

std::vector<MenuStep> pathToCommand(HMENU menu, UINT command) {
    std::vector<MenuStep> path;
    if (!collectPath(menu, command, 0, path)) path.clear();
    return path;
}

std::shared_ptr<MenuObject> findMenu(HMENU menu) {
    auto object = handleTable().getAs<MenuObject>(handleValue(menu), HandleType::Menu);
    if (!object) SetLastError(ERROR_INVALID_MENU_HANDLE);
    return object;
}

std::optional<ItemPlace> findItem(HMENU handle, UINT item, UINT flags) {
    if (flags & MF_BYPOSITION) {
        auto menu = findMenu(handle);
        if (!menu || item >= menu->items.size()) return std::nullopt;
        return ItemPlace{menu, handle, item};
    }
    return findCommand(handle, item, 0);
}

void destroyMenuTree(HMENU handle) {
    auto removed = handleTable().remove(handleValue(handle), HandleType::Menu);
    if (!removed) return;
    auto menu = std::static_pointer_cast<MenuObject>(removed);
    for (const MenuItem& item : menu->items) {
        if (item.popup()) destroyMenuTree(item.subMenu);
    }
}

HMENU addMenu(bool popup) {
    auto menu = std::make_shared<MenuObject>();
    menu->popup = popup;
    return makeHandle<HMENU>(handleTable().add(HandleType::Menu, std::move(menu)));
}

}  // namespace winplat::user
