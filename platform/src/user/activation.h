// The active window: the top-level window the user works in, whose caption shows active and which
// holds the focus. Changing it tells the old one (WM_NCACTIVATE FALSE, WM_ACTIVATE WA_INACTIVE)
// and the new one (brought to the top, WM_NCACTIVATE TRUE, WM_ACTIVATE naming the old), and every
// top-level window hears WM_ACTIVATEAPP when the program gains its first active window or loses
// its last. The program is the only one on the desktop: SetForegroundWindow is SetActiveWindow.
#ifndef WINPLAT_SRC_USER_ACTIVATION_H
#define WINPLAT_SRC_USER_ACTIVATION_H

#include "user/window.h"

namespace winplat::user {

// The top-level window a window lies in (itself when top-level); null for the desktop.
WindowRef topLevelOf(const WindowRef& window);

// Makes the top-level window active (null: none); 'how' is WA_ACTIVE or WA_CLICKACTIVE. Nothing
// happens when it is active already. 'bringToTop' false keeps the z-order (a placement that set
// its own).
void activateWindow(const WindowRef& window, WORD how, bool bringToTop = true);

// The active window, or a window inside it, is hidden or going: the activation moves to its owner
// when that can take it, else to the highest visible, enabled top-level window, else nowhere.
void activateNextAfter(const WindowObject& leaving);

// What a placement without SWP_NOACTIVATE does after it showed or moved a window: a shown
// top-level window becomes active. And a hidden window lets go of the capture and activation.
void activateOnPlacement(const WindowRef& window, bool bringToTop);
void windowHidden(const WindowObject& window);

}  // namespace winplat::user

#endif
