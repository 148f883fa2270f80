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

// Where the system menu opens, once menus exist: the SC_ command chosen, 0 for none. Menus are
// not built yet, so it answers "none".
UINT openSystemMenu(const WindowRef& window, POINT screen);
// Where the keyboard enters a window's menu bar (F10, Alt alone, Alt+letter), once menus exist.
void enterMenuBar(const WindowRef& window, WPARAM character);

}  // namespace winplat::user

#endif
