// System-wide settings programs ask for: the work area, where windows are centred and kept (the
// whole screen, since this desktop has no task bar), and the menus' show delay.
#include <string>

#include "base/call_refusal.h"
#include "user/menu_tracking.h"
#include "user/screen.h"
#include "winplat/user.h"

BOOL SystemParametersInfoA(UINT action, UINT, LPVOID pvParam, UINT) {
    constexpr winplat::CallRefuser refuse("winplat: SystemParametersInfoA");
    if (action != SPI_GETWORKAREA && action != SPI_GETMENUSHOWDELAY) {
        return refuse.unsupported(BOOL{FALSE}, "setting " + std::to_string(action));
    }
    if (!pvParam) return refuse(BOOL{FALSE}, "no place for the answer");
    if (action == SPI_GETMENUSHOWDELAY) {
        *static_cast<DWORD*>(pvParam) = winplat::user::kMenuShowDelay;
        return TRUE;
    }
    const SIZE screen = winplat::user::screenSize();
    *static_cast<RECT*>(pvParam) = RECT{0, 0, screen.cx, screen.cy};
    return TRUE;
}
