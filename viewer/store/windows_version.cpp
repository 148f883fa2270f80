#include "store/windows_version.h"

#include "winplat/version.h"

namespace lect32 {

bool IsWindowsVersion4OrLater() {
    const DWORD version = GetVersion();
    const DWORD major = version & 0xFF;
    const DWORD minor = (version >> 8) & 0xFF;
    return major > 3 || minor > 94;
}

int GetPlatformKind() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT ? 2 : 1;
}

}  // namespace lect32
