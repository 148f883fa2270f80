#include "registry/reg_tree.h"

#include <algorithm>

#include "winplat/cp1250.h"

namespace winplat::registry {

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a == b) return true;  // most names are asked for as they were written
    for (size_t i = 0; i < a.size(); ++i) {
        if (cp1250::toLower(static_cast<uint8_t>(a[i])) != cp1250::toLower(static_cast<uint8_t>(b[i]))) {
            return false;
        }
    }
    return true;
}

RegKey* RegKey::findSubKey(std::string_view keyName) const {
    for (const auto& key : subKeys) {
        if (sameName(key->name, keyName)) return key.get();
    }
    return nullptr;
}

RegKey& RegKey::subKey(std::string_view keyName) {
    if (RegKey* found = findSubKey(keyName)) return *found;
    subKeys.push_back(std::make_unique<RegKey>());
    subKeys.back()->name = std::string(keyName);
    return *subKeys.back();
}

bool RegKey::eraseSubKey(std::string_view keyName) {
    auto it = std::find_if(subKeys.begin(), subKeys.end(), [&](const auto& key) { return sameName(key->name, keyName); });
    if (it == subKeys.end()) return false;
    subKeys.erase(it);
    return true;
}

const RegValue* RegKey::findValue(std::string_view valueName) const {
    for (const auto& value : values) {
        if (sameName(value.name, valueName)) return &value;
    }
    return nullptr;
}

void RegKey::setValue(std::string_view valueName, DWORD type, std::string data) {
    for (auto& value : values) {
        if (sameName(value.name, valueName)) {
            // A changed value keeps its place and the case it was first written in.
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    values.push_back({std::string(valueName), type, std::move(data)});
}

bool RegKey::eraseValue(std::string_view valueName) {
    auto it = std::find_if(values.begin(), values.end(), [&](const auto& value) { return sameName(value.name, valueName); });
    if (it == values.end()) return false;
    values.erase(it);
    return true;
}

RegKey emptyTree() {
    RegKey top;
    for (size_t i = 0; i < std::size(kRootNames); ++i) {
        if (i != kPerformanceDataRoot) top.subKey(kRootNames[i]);
    }
    return top;
}

bool isRootName(std::string_view name) {
    for (size_t i = 0; i < std::size(kRootNames); ++i) {
        if (i != kPerformanceDataRoot && name == kRootNames[i]) return true;
    }
    return false;
}

RegKey* findKey(const RegKey& top, const KeyPath& path) {
    const RegKey* key = &top;
    for (const auto& name : path) {
        key = key->findSubKey(name);
        if (!key) return nullptr;
    }
    return const_cast<RegKey*>(key);
}

RegKey& createKey(RegKey& top, const KeyPath& path, bool& created) {
    created = false;
    RegKey* key = &top;
    for (const auto& name : path) {
        if (RegKey* next = key->findSubKey(name)) {
            key = next;
        } else {
            key = &key->subKey(name);
            created = true;
        }
    }
    return *key;
}

const char* pathProblem(const KeyPath& path) {
    if (path.size() > kMaxDepth + 1) return "the key lies more than 512 levels below its root";
    for (const auto& name : path) {
        if (name.size() > kMaxKeyName) return "a key name is longer than 255 characters";
        // Neither can come through the calls: a zero ends a name there and '\\' separates names.
        if (name.find('\0') != std::string::npos) return "a key name holds a zero byte";
        if (name.find('\\') != std::string::npos) return "a key name holds a '\\'";
    }
    return nullptr;
}

bool splitSubKey(std::string_view subKey, KeyPath& into) {
    if (!subKey.empty() && subKey.front() == '\\') return false;
    while (!subKey.empty()) {
        const size_t end = std::min(subKey.find('\\'), subKey.size());
        if (end > 0) into.emplace_back(subKey.substr(0, end));
        subKey.remove_prefix(std::min(end + 1, subKey.size()));
    }
    return true;
}

}  // namespace winplat::registry
