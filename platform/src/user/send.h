// Sending: a direct call of the window's procedure on the UI thread, nested as deep as the
// program nests it. The window is held while its procedure runs, so a window destroyed inside
// its own message is freed only after that message returns.
#ifndef WINPLAT_SRC_USER_SEND_H
#define WINPLAT_SRC_USER_SEND_H

#include "user/window.h"

namespace winplat::user {

LRESULT sendTo(const WindowRef& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winplat::user

#endif
