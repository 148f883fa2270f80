// What one up-down control keeps, and the steps its window procedure and its buddy's share.
#ifndef WINPLAT_SRC_CONTROLS_UPDOWN_STATE_H
#define WINPLAT_SRC_CONTROLS_UPDOWN_STATE_H

#include <optional>

#include "controls/updown_number.h"
#include "winplat/user.h"

namespace winplat::controls {

struct UpDown {
    UpDownRange range;
    int pos = 0;
    HWND buddy = nullptr;
    bool keysTaken = false;  // the buddy's arrow keys work the control (UDS_ARROWKEYS)
    int held = 0;            // +1 the up arrow, -1 the down one, held by the mouse
    DWORD heldSince = 0;     // GetTickCount at the press, for the acceleration
};

// One step of an arrow (+1 up, -1 down) by 'increment': the parent is asked with UDN_DELTAPOS
// and may cancel, then the position moves, the buddy shows it (UDS_SETBUDDYINT) and the parent
// is told with SB_THUMBPOSITION. Nothing happens at an end of the range without UDS_WRAP.
void stepUpDown(HWND control, UpDown& state, int direction, int increment);

// --- the buddy (controls/updown_buddy.cpp)

// Makes 'buddy' the control's buddy (null: none): the old one gets its keys back, the new one
// has the control moved beside it (UDS_ALIGNRIGHT/LEFT), its arrow keys taken (UDS_ARROWKEYS)
// and the position shown (UDS_SETBUDDYINT). The previous buddy.
HWND setBuddy(HWND control, UpDown& state, HWND buddy);
// The buddy shows the position, when the control has UDS_SETBUDDYINT and a buddy.
void showInBuddy(HWND control, const UpDown& state);
// The number in the buddy's text: none when there is no buddy or the text is no number.
std::optional<int> readBuddy(const UpDown& state);

}  // namespace winplat::controls

#endif
