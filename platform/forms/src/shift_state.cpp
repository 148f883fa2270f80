#include "winforms/types.h"
#include "winplat/user.h"

namespace winforms {

namespace {
bool held(int key) { return (GetKeyState(key) & 0x8000) != 0; }
}  // namespace

ShiftState ShiftState::ofKeyboard() {
    ShiftState state;
    if (held(VK_SHIFT)) state |= Shift::Shift;
    if (held(VK_CONTROL)) state |= Shift::Ctrl;
    if (held(VK_MENU)) state |= Shift::Alt;
    return state;
}

ShiftState ShiftState::ofMouse(WPARAM keys) {
    ShiftState state;
    if (keys & MK_SHIFT) state |= Shift::Shift;
    if (keys & MK_CONTROL) state |= Shift::Ctrl;
    if (held(VK_MENU)) state |= Shift::Alt;
    if (keys & MK_LBUTTON) state |= Shift::Left;
    if (keys & MK_RBUTTON) state |= Shift::Right;
    if (keys & MK_MBUTTON) state |= Shift::Middle;
    return state;
}

}  // namespace winforms
