// The reader's main window as the other layers reach it: the window whose bar carries menu 1,
// laid out again after its menu or its settings change.
#ifndef LECT32_SHELL_MAIN_WINDOW_H
#define LECT32_SHELL_MAIN_WINDOW_H

#include "winplat/user.h"

namespace lect32 {

inline constexpr WORD kMainMenuId = 1;

// Names the main window (null when it is gone). From then on, dropping the language texts
// restores the built-in menu through ReloadMainMenu.
void SetMainWindow(HWND window);
HWND GetMainWindow();

// Sends WM_SIZE with the client size to the main window and repaints it; nothing without one.
void RelayoutMainWindow();

// Puts the built-in menu 1 of the program's resources on the main window's bar (the menu-bar
// titles that a language file renamed in place come back), enters the recent documents again
// and lays the window out. While the program's resources hold no menu 1 the bar keeps the menu
// it has, and only the recent entries and the layout are renewed.
void ReloadMainMenu();

}  // namespace lect32

#endif
