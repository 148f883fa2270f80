// The demo window class: a caption, a painted pattern, a scrolled strip of numbered rows, and a
// click counter. The demo tool shows it on a host; the window manager tests drive it through the
// harness and compare it with golden images.
#ifndef TOOLS_WINPLAT_DEMO_DEMO_WINDOW_H
#define TOOLS_WINPLAT_DEMO_DEMO_WINDOW_H

#include "winplat/user.h"

namespace winplat_demo {

constexpr const char* kDemoClass = "WinplatDemo";

// Registers the class (again after a window manager reset; a repeated registration is harmless).
bool registerDemoClass();
// A shown demo window at the screen rectangle.
HWND createDemoWindow(int x, int y, int width, int height);

// What a demo window shows; read by tests.
struct DemoState {
    int clicks = 0;
    int scroll = 0;  // rows the strip has scrolled (the wheel and the arrow keys move it)
};
const DemoState* demoState(HWND window);

// Draws the client area (width x height) of a window in that state on any DC, the area's top
// left corner at 'origin'.
void paintDemo(HDC dc, const DemoState& state, POINT origin, int width, int height);

}  // namespace winplat_demo

#endif
