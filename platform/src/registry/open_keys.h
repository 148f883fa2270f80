// Registry key handles: the fixed roots, and opened keys in the handle table. An opened key is
// remembered by its path, so it stays valid when the store is re-read from the file.
#ifndef WINPLAT_SRC_REGISTRY_OPEN_KEYS_H
#define WINPLAT_SRC_REGISTRY_OPEN_KEYS_H

#include <optional>

#include "registry/reg_tree.h"
#include "winplat/registry.h"

namespace winplat::registry {

// The path a handle stands for; ERROR_INVALID_HANDLE (or ERROR_NOT_SUPPORTED for the
// performance data root) in 'error' when it stands for none.
std::optional<KeyPath> pathOf(HKEY key, LONG& error);

// A new handle for the path; null when the table is full.
HKEY openHandle(KeyPath path);

// False when the handle is not an opened key; closing a root succeeds and does nothing.
bool closeHandle(HKEY key);

}  // namespace winplat::registry

#endif
