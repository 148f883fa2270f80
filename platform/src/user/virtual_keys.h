// Facts about virtual keys the keyboard messages carry: the scan code and extended-key flag a
// PC keyboard gives each key (bits 16-24 of a key message's lParam), and which keys stand for a
// left or right key of a pair (VK_LSHIFT for VK_SHIFT).
#ifndef WINPLAT_SRC_USER_VIRTUAL_KEYS_H
#define WINPLAT_SRC_USER_VIRTUAL_KEYS_H

#include "winplat/types.h"

namespace winplat::user {

struct ScanCode {
    BYTE code = 0;  // 0: the key has none
    bool extended = false;
};

ScanCode scanCodeOf(UINT virtualKey);

// VK_SHIFT for VK_LSHIFT and VK_RSHIFT, likewise Control and Menu; any other key unchanged.
UINT genericKey(UINT virtualKey);
// The left key of a pair for the generic one (VK_LSHIFT for VK_SHIFT); 0 for other keys.
UINT leftKeyOf(UINT genericVirtualKey);

}  // namespace winplat::user

#endif
