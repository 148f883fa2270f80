#include "store/registry_key.h"

#include <cstring>

#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: registry key");

HKEY rootOrUser(HKEY root) { return root ? root : HKEY_CURRENT_USER; }

}  // namespace

std::optional<std::string> RegistryKey::FullPath(const char* subKey, bool underBase) {
    std::string path = underBase ? kBaseKey : "";
    path += subKey ? subKey : "";
    if (path.size() + 1 > kPathRoom) return refuse(std::nullopt, "base key and sub-key longer than the path buffer");
    return path;
}

int RegistryKey::Open(const char* subKey, bool underBase, HKEY root) {
    key_.reset();
    const auto path = FullPath(subKey, underBase);
    if (!path) return 0;
    HKEY opened = nullptr;
    if (RegOpenKeyA(rootOrUser(root), path->c_str(), &opened) != ERROR_SUCCESS) return 0;
    key_.reset(opened);
    return 1;
}

int RegistryKey::Create(const char* subKey, bool underBase, HKEY root) {
    key_.reset();
    const auto path = FullPath(subKey, underBase);
    if (!path) return 0;
    HKEY created = nullptr;
    char noClass[] = "";
    if (RegCreateKeyExA(rootOrUser(root), path->c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &created, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    key_.reset(created);
    return 1;
}

int RegistryKey::Write(const char* name, DWORD type, const void* bytes, DWORD length) {
    if (!key_) return refuse(0, "no key is open");
    return RegSetValueExA(key_.get(), name, 0, type, static_cast<const BYTE*>(bytes), length) == ERROR_SUCCESS ? 1 : 0;
}

int RegistryKey::WriteString(const char* name, const char* text, DWORD length) {
    if (length == 0) length = static_cast<DWORD>(std::strlen(text));
    return Write(name, REG_SZ, text, length);
}

int RegistryKey::WriteBinary(const char* name, const void* bytes, DWORD length) {
    return Write(name, REG_BINARY, bytes, length);
}

int RegistryKey::WriteDword(const char* name, uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return Write(name, REG_DWORD, bytes, sizeof bytes);
}

int RegistryKey::ReadValue(const char* name, void* buffer) {
    if (!key_) return refuse(0, "no key is open");
    DWORD size = kReadRoom;
    return RegQueryValueExA(key_.get(), name, nullptr, nullptr, static_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS ? 1
                                                                                                                   : 0;
}

int RegistryKey::ReadString(const char* name, char* buffer, DWORD size) {
    if (!key_) return refuse(0, "no key is open");
    if (size == 0) return refuse(0, "no room for the text");
    DWORD type = 0;
    DWORD length = size - 1;
    if (RegQueryValueExA(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &length) != ERROR_SUCCESS) {
        buffer[0] = 0;
        return 0;
    }
    buffer[length] = 0;
    if (type != REG_SZ) {
        buffer[0] = 0;
        return refuse(0, "the value is not a string");
    }
    return 1;
}

}  // namespace lect32
