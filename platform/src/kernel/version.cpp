// The Windows the layer answers as: NT 4.0 (build 1381), the oldest system whose behaviour the
// layer's calls follow, so the programs take their NT paths.
#include <algorithm>
#include <array>
#include <cstring>

#include "base/call_refusal.h"
#include "winplat/testing.h"
#include "winplat/version.h"

namespace {

constexpr winplat::CallRefuser kRefuseEx("winplat: GetVersionExA", ERROR_INSUFFICIENT_BUFFER);

// Major, minor, build, platform id; only the test hook changes them, on the UI thread.
std::array<DWORD, 4> answered = {4, 0, 1381, VER_PLATFORM_WIN32_NT};

}  // namespace

DWORD GetVersion(void) {
    const auto [major, minor, build, platform] = answered;
    // Outside NT the high word is reserved and the top bit is set.
    const DWORD high = platform == VER_PLATFORM_WIN32_NT ? (build & 0x7FFF) : 0x8000;
    return (high << 16) | ((minor & 0xFF) << 8) | (major & 0xFF);
}

BOOL GetVersionExA(LPOSVERSIONINFOA info) {
    if (!info) return kRefuseEx(FALSE, "no record");
    if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        return kRefuseEx(FALSE, "dwOSVersionInfoSize is not the record's size (148)");
    }
    info->dwMajorVersion = answered[0];
    info->dwMinorVersion = answered[1];
    info->dwBuildNumber = answered[2];
    info->dwPlatformId = answered[3];
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    return TRUE;
}

namespace winplat::testing {

ScopedWindowsVersion::ScopedWindowsVersion(DWORD major, DWORD minor, DWORD build, DWORD platformId) {
    std::copy(answered.begin(), answered.end(), previous_);
    answered = {major, minor, build, platformId};
}

ScopedWindowsVersion::~ScopedWindowsVersion() { std::copy(previous_, previous_ + 4, answered.begin()); }

}  // namespace winplat::testing
