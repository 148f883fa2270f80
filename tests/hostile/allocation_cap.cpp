// Built with AddressSanitizer, this program fails every single allocation above 256 MB, so a loader
// that asks that much for a small hostile file fails its test here: malloc then gives null, and
// operator new ends the program. The sanitizer reads these options first and ASAN_OPTIONS from the
// environment after them, so options set there (as make.sh sets some) add to these; only the same
// key given there would replace one.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>

#include "winplat/sanitizer.h"

#if defined(WINPLAT_ADDRESS_SANITIZER)
#define PIXMILL_ALLOCATION_CAP 1
#endif

#ifdef PIXMILL_ALLOCATION_CAP
extern "C" const char* __asan_default_options() {
    return "max_allocation_size_mb=256:allocator_may_return_null=1";
}
#endif

namespace {

TEST(AllocationCap, OneAllocationAbove256MbFailsAndOneBelowSucceeds) {
#ifndef PIXMILL_ALLOCATION_CAP
    GTEST_SKIP() << "built without AddressSanitizer: no allocation cap in this build";
#else
    constexpr size_t kMb = size_t{1} << 20;
    // Called through a volatile pointer so that the compiler cannot leave the calls out.
    void* (*volatile allocate)(size_t) = std::malloc;
    void* over = allocate(300 * kMb);
    EXPECT_EQ(over, nullptr);
    std::free(over);
    void* under = allocate(255 * kMb);
    EXPECT_NE(under, nullptr);
    std::free(under);
#endif
}

}  // namespace
