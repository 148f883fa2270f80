// Keys: the message a key event makes and for whom. Key messages go to the focus window; with no
// focus, to the active window as WM_SYSKEYDOWN/UP. Alt combinations (Alt without Control), the
// Alt key itself and F10 are system keys. lParam: repeat count (bits 0-15), scan code (16-23),
// extended key (24), Alt down (29), the key down before (30), released (31). The program's key
// state (GetKeyState) follows a key event when the loop takes it.
#ifndef WINPLAT_SRC_USER_KEYBOARD_INPUT_H
#define WINPLAT_SRC_USER_KEYBOARD_INPUT_H

#include "user/hardware_input.h"

namespace winplat::user {

// The queued form of a key going down or up; the hardware's key state follows it now.
HardwareEvent keyEvent(UINT virtualKey, bool down, int repeatCount);

// A character a host typed as text: WM_CHAR with the byte, to where key messages go.
HardwareEvent characterEvent(uint8_t cp1250);

Routed keyMessage(const HardwareEvent& event);
Routed takeKeyEvent(const HardwareEvent& event);

}  // namespace winplat::user

#endif
