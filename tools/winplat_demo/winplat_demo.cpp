// Shows the demo window on the host the environment chooses, e.g.
//     WINPLAT_HOST=sdl ./winplat_demo
//     WINPLAT_HOST=headless WINPLAT_INPUT=clicks.txt WINPLAT_SNAPSHOT=shot.png ./winplat_demo
#include "demo_window.h"
#include "winplat/host.h"

int main() {
    winplat::host::Session host;
    if (!host.ok()) return 2;
    if (!winplat_demo::registerDemoClass()) return 1;
    HWND window = winplat_demo::createDemoWindow(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (!window) return 1;
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (!IsWindow(window)) break;  // closed: the demo ends with its window
    }
    return 0;
}
