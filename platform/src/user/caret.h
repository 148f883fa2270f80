// The caret: one per thread, a rectangle inverted on its window's DC, blinking by a layer timer on
// its window (user/timers.h) on the host clock while it is shown.
#ifndef WINPLAT_SRC_USER_CARET_H
#define WINPLAT_SRC_USER_CARET_H

#include "user/window.h"

namespace winplat::user {

// BeginPaint and ScrollWindowEx hide the caret of their window while they work, and show it again.
void hideCaretForPaint(const WindowObject& window);
void showCaretAfterPaint(const WindowObject& window);
// The caret's window is going: the caret goes with it.
void windowLosesCaret(const WindowObject& window);
// No caret, the default blink time: for a test's fresh start.
void resetCaret();

}  // namespace winplat::user

#endif
