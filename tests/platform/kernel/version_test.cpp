// GetVersion and GetVersionExA: the layer answers as Windows NT 4.0, and a test may make it
// answer as another Windows.
#include <gtest/gtest.h>

#include "winplat/base.h"
#include "winplat/testing.h"
#include "winplat/version.h"

namespace {

TEST(Version, GetVersionPacksNtFourWithItsBuild) {
    const DWORD version = GetVersion();
    EXPECT_EQ(version & 0xFF, 4u);
    EXPECT_EQ((version >> 8) & 0xFF, 0u);
    EXPECT_EQ(version >> 16, 1381u) << "NT: the top bit clear, the build in the high word";
}

TEST(Version, GetVersionExReportsTheNtPlatform) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    info.szCSDVersion[0] = 'x';
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwMajorVersion, 4u);
    EXPECT_EQ(info.dwMinorVersion, 0u);
    EXPECT_EQ(info.dwBuildNumber, 1381u);
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_STREQ(info.szCSDVersion, "");
}

TEST(Version, TheRecordIsTheSizeProgramsGive) { EXPECT_EQ(sizeof(OSVERSIONINFOA), 148u); }

TEST(Version, GetVersionExRefusesAnotherRecordSize) {
    for (const DWORD size : {0u, 147u, 149u, 156u}) {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = size;
        SetLastError(0);
        EXPECT_FALSE(GetVersionExA(&info)) << size;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER)) << size;
        EXPECT_EQ(info.dwMajorVersion, 0u) << "nothing written for size " << size;
    }
    EXPECT_FALSE(GetVersionExA(nullptr));
}

TEST(Version, TheHookAnswersAsAnotherWindowsUntilItEnds) {
    {
        winplat::testing::ScopedWindowsVersion windows95(3, 95, 0, VER_PLATFORM_WIN32_WINDOWS);
        EXPECT_EQ(GetVersion(), 0x80005F03u) << "outside NT the top bit is set";
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        ASSERT_TRUE(GetVersionExA(&info));
        EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
        EXPECT_EQ(info.dwMinorVersion, 95u);
    }
    EXPECT_EQ(GetVersion() & 0xFFFF, 4u);
}

}  // namespace
