// Reading, writing, deleting and listing values.
#include <cstring>

#include "registry/open_keys.h"
#include "registry/reg_store.h"
#include "winplat/refusal.h"

namespace winplat::registry {
namespace {

constexpr Refuser refuseQuery("winplat: RegQueryValueExA");
constexpr Refuser refuseQueryDefault("winplat: RegQueryValueA");
constexpr Refuser refuseSet("winplat: RegSetValueExA");
constexpr Refuser refuseSetDefault("winplat: RegSetValueA");
constexpr Refuser refuseDelete("winplat: RegDeleteValueA");
constexpr Refuser refuseEnum("winplat: RegEnumValueA");

std::optional<KeyPath> keyPath(const Refuser& refuse, HKEY key, LONG& error) {
    auto path = pathOf(key, error);
    if (!path) refuse.log(whyNoKey(error));
    return path;
}

std::optional<HandleKey> handleKey(const Refuser& refuse, HKEY key, LONG& error) {
    auto found = keyOf(key, error);
    if (!found) refuse.log(whyNoKey(error));
    return found;
}

std::string_view nameOf(LPCSTR valueName) { return valueName ? std::string_view(valueName) : std::string_view(); }

bool isStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Copies a value's data out as RegQueryValueExA and RegEnumValueA do: the size always, the data
// when it fits; a string stored without its terminating zero gets one when there is room.
LONG copyData(const RegValue& value, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (type) *type = value.type;
    const auto size = static_cast<DWORD>(value.data.size());
    if (!data) {
        if (dataSize) *dataSize = size;
        return ERROR_SUCCESS;
    }
    const DWORD room = *dataSize;
    *dataSize = size;
    if (room < size) return ERROR_MORE_DATA;
    std::memcpy(data, value.data.data(), size);
    if (isStringType(value.type) && room > size && (size == 0 || value.data.back() != '\0')) data[size] = 0;
    return ERROR_SUCCESS;
}

LONG setValue(const KeyPath& path, std::string_view name, DWORD type, std::string bytes, const Refuser& refuse) {
    return Store::instance().change([&](RegKey& top, bool& changed) {
        RegKey* key = findKey(top, path);
        if (!key) return refuse(LONG(ERROR_KEY_DELETED), "the key has been deleted");
        const RegValue* old = key->findValue(name);
        changed = !old || old->type != type || old->data != bytes;
        if (changed) key->setValue(name, type, std::move(bytes));
        return LONG(ERROR_SUCCESS);
    });
}

}  // namespace
}  // namespace winplat::registry

using namespace winplat;
using namespace winplat::registry;

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (reserved) return refuseQuery(LONG(ERROR_INVALID_PARAMETER), "the reserved argument is not NULL");
    if (data && !dataSize) return refuseQuery(LONG(ERROR_INVALID_PARAMETER), "a data buffer without its size");
    LONG error = ERROR_SUCCESS;
    const auto handle = handleKey(refuseQuery, key, error);
    if (!handle) return error;
    return readKey(*handle, [&](const RegKey* found) {
        if (!found) return refuseQuery(LONG(ERROR_KEY_DELETED), "the key has been deleted");
        const RegValue* value = found->findValue(nameOf(valueName));
        if (!value) return LONG(ERROR_FILE_NOT_FOUND);
        return copyData(*value, type, data, dataSize);
    });
}

LONG RegQueryValueA(HKEY key, LPCSTR subKey, LPSTR value, PLONG valueSize) {
    if (value && !valueSize) return refuseQueryDefault(LONG(ERROR_INVALID_PARAMETER), "a buffer without its size");
    LONG error = ERROR_SUCCESS;
    auto path = keyPath(refuseQueryDefault, key, error);
    if (!path) return error;
    if (subKey && !splitSubKey(subKey, *path)) {
        return refuseQueryDefault(LONG(ERROR_BAD_PATHNAME), "a sub-key path starts with '\\'");
    }
    return Store::instance().read([&](const RegKey& top) {
        const RegKey* found = findKey(top, *path);
        if (!found) return LONG(ERROR_FILE_NOT_FOUND);
        const RegValue* stored = found->findValue("");
        // A key without a default value reads as the empty string.
        const RegValue empty{"", REG_SZ, std::string(1, '\0')};
        const RegValue& chosen = stored ? *stored : empty;
        if (chosen.type != REG_SZ) return refuseQueryDefault(LONG(ERROR_INVALID_DATA), "the default value is not a string");
        DWORD size = valueSize ? static_cast<DWORD>(*valueSize < 0 ? 0 : *valueSize) : 0;
        const LONG result = copyData(chosen, nullptr, reinterpret_cast<LPBYTE>(value), value || valueSize ? &size : nullptr);
        if (valueSize) *valueSize = static_cast<LONG>(size);
        return result;
    });
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize) {
    if (reserved != 0) return refuseSet(LONG(ERROR_INVALID_PARAMETER), "the reserved argument is not 0");
    if (!data && dataSize > 0) return refuseSet(LONG(ERROR_INVALID_PARAMETER), "a size without data");
    if (nameOf(valueName).size() > kMaxValueName) {
        return refuseSet(LONG(ERROR_INVALID_PARAMETER), "a value name is longer than 16,383 characters");
    }
    LONG error = ERROR_SUCCESS;
    const auto path = keyPath(refuseSet, key, error);
    if (!path) return error;
    std::string bytes(reinterpret_cast<const char*>(data), data ? dataSize : 0);
    return setValue(*path, nameOf(valueName), type, std::move(bytes), refuseSet);
}

LONG RegSetValueA(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data, DWORD) {
    if (type != REG_SZ) return refuseSetDefault(LONG(ERROR_INVALID_PARAMETER), "the type is not REG_SZ");
    if (!data) return refuseSetDefault(LONG(ERROR_INVALID_PARAMETER), "no text");
    HKEY target = nullptr;
    if (const LONG opened = RegCreateKeyA(key, subKey, &target); opened != ERROR_SUCCESS) return opened;
    // The size argument is ignored: the text is stored with its terminating zero.
    const LONG result = RegSetValueExA(target, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                                       static_cast<DWORD>(std::strlen(data) + 1));
    RegCloseKey(target);
    return result;
}

LONG RegDeleteValueA(HKEY key, LPCSTR valueName) {
    LONG error = ERROR_SUCCESS;
    const auto path = keyPath(refuseDelete, key, error);
    if (!path) return error;
    return Store::instance().change([&](RegKey& top, bool& changed) {
        RegKey* found = findKey(top, *path);
        if (!found) return refuseDelete(LONG(ERROR_KEY_DELETED), "the key has been deleted");
        changed = found->eraseValue(nameOf(valueName));
        return changed ? LONG(ERROR_SUCCESS) : LONG(ERROR_FILE_NOT_FOUND);
    });
}

LONG RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameSize, LPDWORD reserved, LPDWORD type,
                   LPBYTE data, LPDWORD dataSize) {
    if (!valueName || !valueNameSize || reserved) return refuseEnum(LONG(ERROR_INVALID_PARAMETER), "no name buffer or size");
    if (data && !dataSize) return refuseEnum(LONG(ERROR_INVALID_PARAMETER), "a data buffer without its size");
    LONG error = ERROR_SUCCESS;
    const auto handle = handleKey(refuseEnum, key, error);
    if (!handle) return error;
    return readKey(*handle, [&](const RegKey* found) {
        if (!found) return refuseEnum(LONG(ERROR_KEY_DELETED), "the key has been deleted");
        if (index >= found->values.size()) return LONG(ERROR_NO_MORE_ITEMS);
        const RegValue& value = found->values[index];
        if (*valueNameSize <= value.name.size()) return LONG(ERROR_MORE_DATA);
        std::memcpy(valueName, value.name.c_str(), value.name.size() + 1);
        *valueNameSize = static_cast<DWORD>(value.name.size());
        return copyData(value, type, data, dataSize);
    });
}
