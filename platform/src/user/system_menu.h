// The system menu: each window's own copy of the standard one, its items greyed as the window's
// state says whenever the menu is announced.
#ifndef WINPLAT_SRC_USER_SYSTEM_MENU_H
#define WINPLAT_SRC_USER_SYSTEM_MENU_H

#include "user/window.h"

namespace winplat::user {

// The window's copy if GetSystemMenu made one, else null (nothing is made).
HMENU existingSystemMenu(const WindowObject& window);

// The window's copy, made on first use.
HMENU systemMenuOf(WindowObject& window);

// Greys Obnovit, Přesunout, Velikost, Minimalizovat and Maximalizovat as the window's style and
// placement allow (Zavřít is the program's to grey).
void updateSystemMenu(const WindowObject& window);

}  // namespace winplat::user

#endif
