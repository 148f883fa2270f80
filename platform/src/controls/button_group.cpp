#include "controls/button_group.h"

#include "controls/button_state.h"
#include "controls/control_support.h"

namespace winplat::controls {

std::vector<HWND> groupOf(HWND control) {
    // Back to the group's first window: the nearest sibling at or before it with WS_GROUP.
    HWND first = control;
    while (!(styleOf(first) & WS_GROUP)) {
        const HWND previous = GetWindow(first, GW_HWNDPREV);
        if (!previous) break;
        first = previous;
    }
    std::vector<HWND> group{first};
    for (HWND next = GetWindow(first, GW_HWNDNEXT); next && !(styleOf(next) & WS_GROUP);
         next = GetWindow(next, GW_HWNDNEXT)) {
        group.push_back(next);
    }
    return group;
}

void checkInGroup(HWND radio) {
    for (const HWND member : groupOf(radio)) {
        if (member == radio || !isAutoRadio(styleOf(member))) continue;
        SendMessageA(member, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
}

}  // namespace winplat::controls
