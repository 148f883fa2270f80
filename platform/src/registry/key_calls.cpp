// Opening, creating, deleting, listing and closing keys.
#include <cstring>

#include "registry/open_keys.h"
#include "registry/reg_store.h"
#include "winplat/refusal.h"

namespace winplat::registry {
namespace {

constexpr Refuser refuseOpen("winplat: RegOpenKeyExA");
constexpr Refuser refuseCreate("winplat: RegCreateKeyExA");
constexpr Refuser refuseDelete("winplat: RegDeleteKeyA");
constexpr Refuser refuseEnum("winplat: RegEnumKeyExA");
constexpr Refuser refuseClose("winplat: RegCloseKey");

// The path of the key and its sub-key, or the error that stops it.
std::optional<KeyPath> fullPath(const Refuser& refuse, HKEY key, LPCSTR subKey, LONG& error) {
    auto path = pathOf(key, error);
    if (!path) {
        refuse.log(whyNoKey(error));
        return std::nullopt;
    }
    if (subKey && !splitSubKey(subKey, *path)) {
        error = refuse(LONG(ERROR_BAD_PATHNAME), "a sub-key path starts with '\\'");
        return std::nullopt;
    }
    if (const char* problem = pathProblem(*path)) {
        error = refuse(LONG(ERROR_INVALID_PARAMETER), problem);
        return std::nullopt;
    }
    return path;
}

LONG handOut(const Refuser& refuse, KeyPath path, PHKEY result) {
    HKEY opened = openHandle(std::move(path));
    if (!opened) return refuse(LONG(ERROR_NOT_ENOUGH_MEMORY), "the handle table is full");
    *result = opened;
    return ERROR_SUCCESS;
}

}  // namespace
}  // namespace winplat::registry

using namespace winplat;
using namespace winplat::registry;

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM, PHKEY result) {
    if (!result) return refuseOpen(LONG(ERROR_INVALID_PARAMETER), "no place for the key handle");
    *result = nullptr;
    if (options != 0) return refuseOpen.unsupported(LONG(ERROR_INVALID_PARAMETER), "options other than 0");
    LONG error = ERROR_SUCCESS;
    auto path = fullPath(refuseOpen, key, subKey, error);
    if (!path) return error;
    const bool exists = Store::instance().read([&](const RegKey& top) { return findKey(top, *path) != nullptr; });
    if (!exists) return refuseOpen(LONG(ERROR_FILE_NOT_FOUND), "no such key");
    return handOut(refuseOpen, std::move(*path), result);
}

LONG RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) { return RegOpenKeyExA(key, subKey, 0, KEY_ALL_ACCESS, result); }

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR, DWORD options, REGSAM,
                     LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition) {
    if (!result) return refuseCreate(LONG(ERROR_INVALID_PARAMETER), "no place for the key handle");
    *result = nullptr;
    if (!subKey) return refuseCreate(LONG(ERROR_INVALID_PARAMETER), "no sub-key name");
    if (reserved != 0) return refuseCreate(LONG(ERROR_INVALID_PARAMETER), "the reserved argument is not 0");
    if (options != REG_OPTION_NON_VOLATILE) {
        return refuseCreate.unsupported(LONG(ERROR_INVALID_PARAMETER), "keys other than non-volatile ones");
    }
    if (security && security->lpSecurityDescriptor) {
        return refuseCreate.unsupported(LONG(ERROR_INVALID_PARAMETER), "security descriptors");
    }
    LONG error = ERROR_SUCCESS;
    auto path = fullPath(refuseCreate, key, subKey, error);
    if (!path) return error;
    bool created = false;
    const LONG stored = Store::instance().change([&](RegKey& top, bool& changed) {
        createKey(top, *path, created);
        changed = created;
        return LONG(ERROR_SUCCESS);
    });
    if (stored != ERROR_SUCCESS) return stored;
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return handOut(refuseCreate, std::move(*path), result);
}

LONG RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
    return RegCreateKeyExA(key, subKey ? subKey : "", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           result, nullptr);
}

LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    if (!subKey || !*subKey) return refuseDelete(LONG(ERROR_INVALID_PARAMETER), "no sub-key name");
    LONG error = ERROR_SUCCESS;
    auto path = fullPath(refuseDelete, key, subKey, error);
    if (!path) return error;
    if (path->size() < 2) return refuseDelete(LONG(ERROR_ACCESS_DENIED), "a root key cannot be deleted");
    return Store::instance().change([&](RegKey& top, bool& changed) {
        RegKey* doomed = findKey(top, *path);
        if (!doomed) return refuseDelete(LONG(ERROR_FILE_NOT_FOUND), "no such key");
        if (!doomed->subKeys.empty()) return refuseDelete(LONG(ERROR_ACCESS_DENIED), "the key has sub-keys");
        const std::string name = path->back();
        path->pop_back();
        changed = findKey(top, *path)->eraseSubKey(name);
        return LONG(ERROR_SUCCESS);
    });
}

LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR keyClass,
                   LPDWORD classSize, LPFILETIME lastWriteTime) {
    if (!name || !nameSize || reserved) return refuseEnum(LONG(ERROR_INVALID_PARAMETER), "no name buffer or size");
    LONG error = ERROR_SUCCESS;
    const auto handle = keyOf(key, error);
    if (!handle) return refuseEnum(error, whyNoKey(error));
    return readKey(*handle, [&](const RegKey* parent) {
        if (!parent) return refuseEnum(LONG(ERROR_KEY_DELETED), "the key has been deleted");
        if (index >= parent->subKeys.size()) return LONG(ERROR_NO_MORE_ITEMS);
        const std::string& found = parent->subKeys[index]->name;
        if (*nameSize <= found.size()) return LONG(ERROR_MORE_DATA);
        std::memcpy(name, found.c_str(), found.size() + 1);
        *nameSize = static_cast<DWORD>(found.size());
        // Keys have no class and no recorded write time here.
        if (keyClass && classSize && *classSize > 0) keyClass[0] = '\0';
        if (classSize) *classSize = 0;
        if (lastWriteTime) *lastWriteTime = FILETIME{0, 0};
        return LONG(ERROR_SUCCESS);
    });
}

LONG RegCloseKey(HKEY key) {
    if (!closeHandle(key)) return refuseClose(LONG(ERROR_INVALID_HANDLE), "not an open registry key");
    return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY key) {
    LONG error = ERROR_SUCCESS;
    return pathOf(key, error) ? LONG(ERROR_SUCCESS) : error;
}
