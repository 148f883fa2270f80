// One open key of the registry, for the reader's per-user settings below
// HKEY_CURRENT_USER\Software\Tarvo\Lectern\4.0\Viewer\. Every operation returns 1 when the registry
// call succeeds and 0 otherwise; the key is closed when the object goes or another is opened.
#ifndef LECT32_STORE_REGISTRY_KEY_H
#define LECT32_STORE_REGISTRY_KEY_H

#include <cstdint>
#include <optional>
#include <string>

#include "winplat/owners.h"
#include "winplat/registry.h"

namespace lect32 {

class RegistryKey {
public:
    static constexpr const char* kBaseKey = "Software\\Tarvo\\Lectern\\4.0\\Viewer\\";
    // Room for the full path with its terminating zero; a longer path is refused, not cut.
    static constexpr size_t kPathRoom = 253;
    static constexpr DWORD kReadRoom = 260;

    // underBase: the path is the base key followed by subKey, else subKey alone. root null:
    // HKEY_CURRENT_USER.
    int Open(const char* subKey, bool underBase, HKEY root = nullptr);
    int Create(const char* subKey, bool underBase, HKEY root = nullptr);

    // REG_SZ of length bytes; 0: the text's length without its terminating zero.
    int WriteString(const char* name, const char* text, DWORD length);
    int WriteBinary(const char* name, const void* bytes, DWORD length);
    int WriteDword(const char* name, uint32_t value);
    int WriteInt(const char* name, int32_t value) { return WriteDword(name, static_cast<uint32_t>(value)); }
    // The value's bytes into buffer (room for kReadRoom); its type is not examined.
    int ReadValue(const char* name, void* buffer);
    // A string value into buffer (size bytes with the terminating zero, which the stored value
    // may lack); 0 unless the value exists, is a string and fits.
    int ReadString(const char* name, char* buffer, DWORD size);

    bool IsOpen() const { return static_cast<bool>(key_); }

private:
    static void closeKey(HKEY key) { RegCloseKey(key); }
    using OwnedKey = winplat::UniqueHandle<HKEY, closeKey>;

    static std::optional<std::string> FullPath(const char* subKey, bool underBase);
    int Write(const char* name, DWORD type, const void* bytes, DWORD length);

    OwnedKey key_;
};

}  // namespace lect32

#endif
