// The classic look's sizes at 96 DPI, in one table: GetSystemMetrics reads it, and the window
// manager takes every frame and caption size from it (the non-client painting will too).
#ifndef WINPLAT_SRC_USER_METRICS_H
#define WINPLAT_SRC_USER_METRICS_H

#include "winplat/user.h"

namespace winplat::user {

// The metric's value, 0 for an index the table does not hold.
int systemMetric(int index);

// How far the client area lies inside the window on each side for a window of these styles
// (borders, frames, client edge, caption, the menu bar when it has one, scroll bars).
RECT frameInsets(DWORD style, DWORD exStyle, bool menuBar = false);

// Whether the window shows a menu bar: a window that is not a child and was given a menu.
struct WindowObject;
bool hasMenuBar(const WindowObject& window);

// The width of the window's sizing or fixed frame (what a maximised window pushes off screen).
int frameWidth(DWORD style, DWORD exStyle);

}  // namespace winplat::user

#endif
