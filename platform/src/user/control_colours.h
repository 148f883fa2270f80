// DefWindowProcA's answer to the WM_CTLCOLOR* questions of controls: the classic colours.
#ifndef WINPLAT_SRC_USER_CONTROL_COLOURS_H
#define WINPLAT_SRC_USER_CONTROL_COLOURS_H

#include "winplat/user.h"

namespace winplat::user {

// Whether the message is one of WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC.
bool isControlColourMessage(UINT message);

// Sets the DC's text and background colours and returns the brush: the window colour for edits
// and list boxes, the scroll bar colour for scroll bars, the 3-D face for the rest.
LRESULT defaultControlColours(UINT message, HDC dc);

}  // namespace winplat::user

#endif
