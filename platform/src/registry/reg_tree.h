// The registry in memory: keys holding sub-keys and values, both in creation order, names
// matched by the cp1250 case rule and kept as written.
#ifndef WINPLAT_SRC_REGISTRY_REG_TREE_H
#define WINPLAT_SRC_REGISTRY_REG_TREE_H

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "winplat/types.h"

namespace winplat::registry {

struct RegValue {
    std::string name;  // empty: the key's default value
    DWORD type = 0;
    std::string data;  // the bytes as set, terminating zeros included when the caller gave them
};

struct RegKey {
    std::string name;
    std::vector<RegValue> values;
    std::vector<std::unique_ptr<RegKey>> subKeys;

    RegKey* findSubKey(std::string_view keyName) const;
    RegKey& subKey(std::string_view keyName);  // found, or added last
    bool eraseSubKey(std::string_view keyName);

    const RegValue* findValue(std::string_view valueName) const;
    void setValue(std::string_view valueName, DWORD type, std::string data);
    bool eraseValue(std::string_view valueName);
};

bool sameName(std::string_view a, std::string_view b);

// The root keys by their fixed names, the top of every path.
inline constexpr const char* kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                             "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                             "HKEY_DYN_DATA"};
inline constexpr size_t kPerformanceDataRoot = 4;

// A tree whose top holds the roots (all but the performance data, which is never stored).
RegKey emptyTree();
bool isRootName(std::string_view name);

// A key path below the top: the root name first, then each sub-key's name.
using KeyPath = std::vector<std::string>;

RegKey* findKey(const RegKey& top, const KeyPath& path);
RegKey& createKey(RegKey& top, const KeyPath& path, bool& created);

// The limits Windows sets: key names of at most 255 characters, 512 levels of keys below a root,
// value names of at most 16,383 characters. They also bound the recursion over a stored tree.
inline constexpr size_t kMaxKeyName = 255;
inline constexpr size_t kMaxDepth = 512;
inline constexpr size_t kMaxValueName = 16383;

// Why a path (root first) breaks a limit, or null.
const char* pathProblem(const KeyPath& path);

// Splits "a\b\c" into names; empty components (doubled or trailing '\') are skipped, as
// Windows does for a trailing one. False for a leading '\'.
bool splitSubKey(std::string_view subKey, KeyPath& into);

}  // namespace winplat::registry

#endif
