// DefWindowProc's answers to presses on the frame, to WM_SYSCOMMAND and to the system keys.
#ifndef WINPLAT_SRC_USER_NONCLIENT_ACTIONS_H
#define WINPLAT_SRC_USER_NONCLIENT_ACTIONS_H

#include "user/window.h"

namespace winplat::user {

LRESULT onNcLeftButtonDown(const WindowRef& window, WPARAM hit, LPARAM screenPoint);
LRESULT onNcLeftButtonDoubleClick(const WindowRef& window, WPARAM hit, LPARAM screenPoint);
LRESULT onSysCommand(const WindowRef& window, WPARAM command, LPARAM lParam);
LRESULT onSysKeyDown(const WindowRef& window, WPARAM key, LPARAM lParam);
LRESULT onSysKeyUp(const WindowRef& window, WPARAM key, LPARAM lParam);
LRESULT onSysChar(const WindowRef& window, WPARAM character, LPARAM lParam);

// A right click on the frame asks for a context menu; on the caption DefWindowProc's answer is
// the system menu at the pointer (a child passes the request to its parent).
LRESULT onNcRightButtonUp(const WindowRef& window, WPARAM hit, LPARAM screenPoint);
LRESULT onContextMenu(const WindowRef& window, WPARAM from, LPARAM screenPoint);

// Tracks the window's system menu at a screen point (0, 0: under the system-menu box, for the
// keyboard): the SC_ command chosen, 0 for none (system_menu.cpp).
UINT openSystemMenu(const WindowRef& window, POINT screen);
// Where the keyboard enters a window's menu bar (F10, Alt alone, Alt+letter), once menus exist.
void enterMenuBar(const WindowRef& window, WPARAM character);

}  // namespace winplat::user

#endif
