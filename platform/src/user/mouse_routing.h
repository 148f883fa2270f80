// Where mouse input goes. With the capture set, every mouse message goes to the capture window
// as a client message (coordinates relative to its client area, wherever the pointer is). Else
// the windows under the pointer are asked WM_NCHITTEST, deepest first (a disabled child lets its
// parent have the point; HTTRANSPARENT passes it to the window below); a disabled top-level window
// (an owner behind a modal dialog) refuses the input: it hears WM_SETCURSOR with HTERROR, which
// beeps for a press. Taking a press sends WM_MOUSEACTIVATE to a window of an inactive top-level
// window and activates that as it answers; WM_SETCURSOR comes before every message. A press of
// the same button on the same window within the double-click time and SM_CXDOUBLECLK x
// SM_CYDOUBLECLK pixels of the last one is a double click (client area: CS_DBLCLKS classes only).
// The wheel goes to the focus window (else the active one), which DefWindowProc passes up.
#ifndef WINPLAT_SRC_USER_MOUSE_ROUTING_H
#define WINPLAT_SRC_USER_MOUSE_ROUTING_H

#include "user/hardware_input.h"
#include "user/window.h"

namespace winplat::user {

struct MouseTarget {
    WindowRef window;      // null: no window takes it
    int hit = HTNOWHERE;   // WM_NCHITTEST's answer; HTERROR for a disabled window
    bool captured = false;
};

// The window under a screen point that takes mouse input there (asks WM_NCHITTEST).
MouseTarget mouseTarget(POINT screen);

// The message the event makes for the target as things stand; changes nothing.
Routed mouseMessage(const HardwareEvent& event, const MouseTarget& target);
// Takes the event: the button state, activation, WM_SETCURSOR and the double-click record follow
// it; gives the message to deliver, if any.
Routed takeMouseEvent(const HardwareEvent& event, const MouseTarget& target);

Routed wheelMessage(const HardwareEvent& event);

// The double-click time in force (ms).
UINT& doubleClickTime();
void resetMouseRouting();

}  // namespace winplat::user

#endif
