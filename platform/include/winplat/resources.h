// Module descriptors as the resource compiler generates them (C++ only).
#ifndef WINPLAT_RESOURCES_H
#define WINPLAT_RESOURCES_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "winplat/types.h"

namespace winplat {

struct StringResource {
    uint32_t id;
    const char* text;  // cp1250, zero-terminated
    uint32_t length;
};

// A resource other than a string: its bytes in the stored form Windows programs know (RT_MENU the
// menu template, RT_DIALOG the dialog template, RT_ACCELERATOR 8-byte entries, RT_BITMAP a packed
// DIB, RT_CURSOR and RT_ICON a double-height DIB, the cursor's hot spot before it).
struct BinaryResource {
    uint16_t type;  // RT_CURSOR 1, RT_BITMAP 2, RT_ICON 3, RT_MENU 4, RT_DIALOG 5, RT_ACCELERATOR 9
    uint16_t id;    // the numeric name, when 'name' is null
    const char* name;  // a string name, upper case cp1250, zero-terminated; or null
    const unsigned char* data;
    uint32_t size;
};

struct ModuleResources {
    const char* fileName;  // the module's Windows file name: "pixmill.dll", "lect32.exe"
    bool isProgram;        // the program's own module answers GetModuleHandleA(NULL)
    const StringResource* strings;  // sorted by id
    size_t stringCount;
    // Sorted by type, then name: within a type numeric ids first (by id), then names (by their
    // bytes, unsigned).
    const BinaryResource* resources = nullptr;
    size_t resourceCount = 0;
};

// Registers a module; 'anchor' is any address inside the module, from which its file is found.
// Registering the same descriptor again returns the same handle.
WINPLAT_API HINSTANCE registerModule(const ModuleResources& resources, const void* anchor);
WINPLAT_API void unregisterModule(HINSTANCE module);

WINPLAT_API const ModuleResources* moduleResources(HINSTANCE module);

// The bytes of the module's resource of that name and type, as FindResourceA names them (NULL
// module: the program); valid while the module is loaded. Nothing when there is none, with the
// reason logged and left for GetLastError.
WINPLAT_API std::optional<std::span<const uint8_t>> resourceBytes(HINSTANCE module, LPCSTR name, LPCSTR type);

}  // namespace winplat

#endif
