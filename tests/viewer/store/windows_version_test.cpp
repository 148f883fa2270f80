// The version tests of the reader against the Windows the layer answers as, and against older
// ones the layer is made to answer as.
#include <gtest/gtest.h>

#include "store/windows_version.h"
#include "winplat/testing.h"
#include "winplat/version.h"

namespace {

using winplat::testing::ScopedWindowsVersion;

TEST(WindowsVersionTest, TheLayerCountsAsVersion4OnNt) {
    EXPECT_TRUE(lect32::IsWindowsVersion4OrLater());
    EXPECT_EQ(lect32::GetPlatformKind(), 2);
}

TEST(WindowsVersionTest, Version4StartsAbove3Point94) {
    struct Case {
        DWORD major;
        DWORD minor;
        bool four;
    };
    for (const Case c : {Case{3, 95, true}, Case{3, 94, false}, Case{3, 51, false}, Case{3, 10, false},
                         Case{4, 0, true}, Case{5, 1, true}}) {
        ScopedWindowsVersion windows(c.major, c.minor, 0, VER_PLATFORM_WIN32_WINDOWS);
        EXPECT_EQ(lect32::IsWindowsVersion4OrLater(), c.four) << c.major << "." << c.minor;
    }
}

TEST(WindowsVersionTest, OnlyTheNtPlatformIsKind2) {
    {
        ScopedWindowsVersion windows(4, 0, 950, VER_PLATFORM_WIN32_WINDOWS);
        EXPECT_EQ(lect32::GetPlatformKind(), 1);
    }
    {
        ScopedWindowsVersion windows(3, 51, 1057, VER_PLATFORM_WIN32_NT);
        EXPECT_EQ(lect32::GetPlatformKind(), 2);
        EXPECT_FALSE(lect32::IsWindowsVersion4OrLater());
    }
    ScopedWindowsVersion win32s(3, 10, 0, VER_PLATFORM_WIN32s);
    EXPECT_EQ(lect32::GetPlatformKind(), 1);
}

}  // namespace
