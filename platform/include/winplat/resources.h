// Module descriptors as the resource compiler generates them (C++ only).
#ifndef WINPLAT_RESOURCES_H
#define WINPLAT_RESOURCES_H

#include <cstddef>
#include <cstdint>

#include "winplat/types.h"

namespace winplat {

struct StringResource {
    uint32_t id;
    const char* text;  // cp1250, zero-terminated
    uint32_t length;
};

struct ModuleResources {
    const char* fileName;  // the module's Windows file name: "pixmill.dll", "lect32.exe"
    bool isProgram;        // the program's own module answers GetModuleHandleA(NULL)
    const StringResource* strings;  // sorted by id
    size_t stringCount;
};

// Registers a module; 'anchor' is any address inside the module, from which its file is found.
// Registering the same descriptor again returns the same handle.
WINPLAT_API HINSTANCE registerModule(const ModuleResources& resources, const void* anchor);
WINPLAT_API void unregisterModule(HINSTANCE module);

WINPLAT_API const ModuleResources* moduleResources(HINSTANCE module);

}  // namespace winplat

#endif
