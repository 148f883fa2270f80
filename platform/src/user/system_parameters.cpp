// System-wide settings programs ask for. The only one asked is the work area, where windows are
// centred and kept: the whole screen, since this desktop has no task bar.
#include <string>

#include "base/call_refusal.h"
#include "user/screen.h"
#include "winplat/user.h"

BOOL SystemParametersInfoA(UINT action, UINT, LPVOID pvParam, UINT) {
    constexpr winplat::CallRefuser refuse("winplat: SystemParametersInfoA");
    if (action != SPI_GETWORKAREA) return refuse.unsupported(BOOL{FALSE}, "setting " + std::to_string(action));
    if (!pvParam) return refuse(BOOL{FALSE}, "no RECT for the work area");
    const SIZE screen = winplat::user::screenSize();
    *static_cast<RECT*>(pvParam) = RECT{0, 0, screen.cx, screen.cy};
    return TRUE;
}
