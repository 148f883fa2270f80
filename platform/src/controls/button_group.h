// Radio buttons in a group: the siblings from the one with WS_GROUP up to the next one with it.
#ifndef WINPLAT_SRC_CONTROLS_BUTTON_GROUP_H
#define WINPLAT_SRC_CONTROLS_BUTTON_GROUP_H

#include <vector>

#include "winplat/user.h"

namespace winplat::controls {

// The windows of the control's group, in sibling order (the control itself among them).
std::vector<HWND> groupOf(HWND control);

// Checks the auto radio button and unchecks the other auto radio buttons of its group.
void checkInGroup(HWND radio);

}  // namespace winplat::controls

#endif
