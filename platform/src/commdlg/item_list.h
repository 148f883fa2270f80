// Item lists naming one folder by its Windows path: one item holding the path's bytes, then the
// empty item that ends the list.
#ifndef WINPLAT_SRC_COMMDLG_ITEM_LIST_H
#define WINPLAT_SRC_COMMDLG_ITEM_LIST_H

#include <optional>
#include <string>

#include "winplat/shell.h"

namespace winplat::commdlg {

// A new list in task memory; null when the path is too long for an item or memory runs out.
LPITEMIDLIST makeItemList(const std::string& winPath);
// The path a list names; none for a list that is not one of ours.
std::optional<std::string> pathOfItemList(LPCITEMIDLIST list);

}  // namespace winplat::commdlg

#endif
