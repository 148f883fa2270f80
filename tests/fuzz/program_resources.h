// Seeds that the resource compiler wrote: the resources of the types given among those compiled
// into the fuzz program itself (winplat_add_resources ... PROGRAM), in the module's order.
#ifndef PIXMILL_TESTS_FUZZ_PROGRAM_RESOURCES_H
#define PIXMILL_TESTS_FUZZ_PROGRAM_RESOURCES_H

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "fuzz_entry.h"
#include "winplat/module.h"
#include "winplat/resources.h"

inline std::vector<FuzzBytes> programResources(std::initializer_list<uint16_t> types) {
    std::vector<FuzzBytes> found;
    const winplat::ModuleResources* program = winplat::moduleResources(GetModuleHandleA(nullptr));
    for (size_t i = 0; program && i < program->resourceCount; ++i) {
        const winplat::BinaryResource& resource = program->resources[i];
        if (std::find(types.begin(), types.end(), resource.type) != types.end()) {
            found.emplace_back(resource.data, resource.data + resource.size);
        }
    }
    return found;
}

#endif
