// Registry key handles: the fixed roots, and opened keys in the handle table. An opened key is
// remembered by its path, so it stays valid when the store is re-read from the file.
#ifndef WINPLAT_SRC_REGISTRY_OPEN_KEYS_H
#define WINPLAT_SRC_REGISTRY_OPEN_KEYS_H

#include <cstdint>
#include <memory>
#include <optional>

#include "registry/reg_store.h"
#include "registry/reg_tree.h"
#include "winplat/registry.h"

namespace winplat::registry {

class OpenKey;

// The key a handle stands for, as calls that read through it find it: a root by its name, an
// opened key by its path, whose node in the tree is kept until the tree's generation changes, so
// repeated reads through one handle do not walk the path each time.
class HandleKey {
public:
    HandleKey(size_t root, std::shared_ptr<const OpenKey> open) : root_(root), open_(std::move(open)) {}
    // The key in the tree, null when its path names none. Only under the store's mutex, which
    // also guards the node kept.
    const RegKey* find(const RegKey& top, uint64_t generation) const;
    KeyPath path() const;

private:
    size_t root_;
    std::shared_ptr<const OpenKey> open_;  // null for a root
};

// The key a handle stands for; ERROR_INVALID_HANDLE (or ERROR_NOT_SUPPORTED for the performance
// data root) in 'error' when it stands for none.
std::optional<HandleKey> keyOf(HKEY key, LONG& error);

// Runs query(const RegKey* key) under the store's mutex on the handle's key, null when its path
// names none.
template <class Query>
auto readKey(const HandleKey& key, Query&& query) {
    return Store::instance().readWithGeneration(
        [&](const RegKey& top, uint64_t generation) { return query(key.find(top, generation)); });
}

// Why keyOf or pathOf found no key, from the error it gave.
const char* whyNoKey(LONG error);

// The path a handle stands for; 'error' as keyOf.
std::optional<KeyPath> pathOf(HKEY key, LONG& error);

// A new handle for the path; null when the table is full.
HKEY openHandle(KeyPath path);

// False when the handle is not an opened key; closing a root succeeds and does nothing.
bool closeHandle(HKEY key);

}  // namespace winplat::registry

#endif
