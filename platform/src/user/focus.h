// The keyboard focus: the window key messages go to. It always lies inside the active window
// (or nowhere); moving it sends WM_KILLFOCUS to the window losing it and WM_SETFOCUS to the one
// gaining it, each naming the other.
#ifndef WINPLAT_SRC_USER_FOCUS_H
#define WINPLAT_SRC_USER_FOCUS_H

#include "user/window.h"

namespace winplat::user {

// Moves the focus (null: nowhere) without touching the activation; returns the previous holder.
HWND changeFocus(HWND window);

}  // namespace winplat::user

#endif
