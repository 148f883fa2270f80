// Item lists of one folder, and SHGetPathFromIDListA.
#include "commdlg/item_list.h"

#include <cstring>

namespace winplat::commdlg {
namespace {

constexpr size_t kCountBytes = sizeof(USHORT);

bool isAbsoluteWindowsPath(const std::string& path) {
    return path.size() >= 3 && path[0] >= 'A' && path[0] <= 'Z' && path[1] == ':' && path[2] == '\\' &&
           path.find('\0') == std::string::npos;
}

}  // namespace

LPITEMIDLIST makeItemList(const std::string& winPath) {
    if (winPath.size() >= MAX_PATH) return nullptr;
    const auto itemSize = static_cast<USHORT>(kCountBytes + winPath.size());
    auto* bytes = static_cast<BYTE*>(CoTaskMemAlloc(itemSize + kCountBytes));
    if (!bytes) return nullptr;
    const USHORT end = 0;
    std::memcpy(bytes, &itemSize, kCountBytes);
    std::memcpy(bytes + kCountBytes, winPath.data(), winPath.size());
    std::memcpy(bytes + itemSize, &end, kCountBytes);
    return reinterpret_cast<LPITEMIDLIST>(bytes);
}

std::optional<std::string> pathOfItemList(LPCITEMIDLIST list) {
    if (!list) return std::nullopt;
    const auto* bytes = reinterpret_cast<const BYTE*>(list);
    USHORT itemSize = 0;
    std::memcpy(&itemSize, bytes, kCountBytes);
    // Read no further than one of our items can reach.
    if (itemSize <= kCountBytes + 2 || itemSize >= kCountBytes + MAX_PATH) return std::nullopt;
    USHORT end = 0;
    std::memcpy(&end, bytes + itemSize, kCountBytes);
    if (end != 0) return std::nullopt;
    std::string path(reinterpret_cast<const char*>(bytes + kCountBytes), itemSize - kCountBytes);
    if (!isAbsoluteWindowsPath(path)) return std::nullopt;
    return path;
}

}  // namespace winplat::commdlg

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
    if (!path) return FALSE;
    const std::optional<std::string> found = winplat::commdlg::pathOfItemList(list);
    if (!found) {
        path[0] = '\0';
        return FALSE;
    }
    std::memcpy(path, found->c_str(), found->size() + 1);
    return TRUE;
}
