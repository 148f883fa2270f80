// The layer's tests link its objects; libwinplat.so must not be loaded beside them, or the
// process would hold two handle tables, two debug sinks and two clocks, and a handle made by one
// copy would be unknown to the other.
#include <dlfcn.h>
#include <link.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "winplat/base.h"

namespace {

std::vector<std::string> loadedObjects() {
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            static_cast<std::vector<std::string>*>(data)->emplace_back(info->dlpi_name ? info->dlpi_name
                                                                                       : "");
            return 0;
        },
        &names);
    return names;
}

const void* objectHolding(const void* address) {
    Dl_info info{};
    return dladdr(address, &info) ? info.dli_fbase : nullptr;
}

TEST(SingleCopy, TheTestProgramHoldsTheLayerAndDoesNotLoadTheLibrary) {
    for (const std::string& path : loadedObjects()) {
        EXPECT_NE(path.substr(path.rfind('/') + 1), "libwinplat.so") << path;
    }
    const void* here = objectHolding(reinterpret_cast<const void*>(&loadedObjects));
    ASSERT_NE(here, nullptr);
    EXPECT_EQ(objectHolding(reinterpret_cast<const void*>(&SetLastError)), here)
        << "the layer's calls come from the objects linked into the test program";
}

}  // namespace
