// Window states: normal, minimised and maximised, each with its rectangle, and the owned pop-ups
// that hide while their owner is minimised.
#ifndef WINPLAT_SRC_USER_SHOW_WINDOW_H
#define WINPLAT_SRC_USER_SHOW_WINDOW_H

#include "user/window.h"

namespace winplat::user {

enum class WindowState { Normal, Minimised, Maximised };

// Puts the window into the state (placing it, showing it when 'show') and tells its owned pop-ups;
// false when the window died on the way.
bool changeState(const WindowRef& window, WindowState state, bool show, bool activate);

// DefWindowProc's answer to WM_SHOWWINDOW from an owner being minimised or restored.
void followOwner(const WindowRef& window, bool ownerShowing);

}  // namespace winplat::user

#endif
