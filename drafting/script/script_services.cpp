#include "script/script_services.h"

#include <pwd.h>
#include <unistd.h>

#include <ctime>

#include "script/day_numbers.h"
#include "winplat/user.h"

namespace linework {

namespace {

// Names come from the host in its own encoding; the program's texts are cp1250, so anything
// outside ASCII becomes '?' rather than bytes of another code page.
std::string AsciiOnly(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    return result;
}

}  // namespace

std::string ScriptServices::ComputerName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return AsciiOnly(name);
}

std::string ScriptServices::UserName() {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) != 0 || !found) return {};
    return AsciiOnly(found->pw_name);
}

double ScriptServices::Now() { return DayNumberOfTime(std::time(nullptr)); }

bool ScriptServices::WaitForMessages() {
    if (!WaitMessage()) return false;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace linework
