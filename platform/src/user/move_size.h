// DefWindowProc's SC_MOVE and SC_SIZE: the live move and size loop. The window holds the mouse
// between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE; each pointer move offers the new rectangle with
// WM_MOVING or WM_SIZING (the program may change it), keeps the size within WM_GETMINMAXINFO's
// tracking limits and places the window at once. Esc puts the starting rectangle back; Enter or
// letting go of the button ends it where it is. Arrow keys move (or size) by 8 pixels.
#ifndef WINPLAT_SRC_USER_MOVE_SIZE_H
#define WINPLAT_SRC_USER_MOVE_SIZE_H

#include "user/window.h"

namespace winplat::user {

// 'command' is SC_MOVE or SC_SIZE with the WMSZ_ side in its low bits (none: the keyboard picks
// the side); 'screen' where the pointer took hold.
void moveSizeLoop(const WindowRef& window, WPARAM command, POINT screen);

}  // namespace winplat::user

#endif
