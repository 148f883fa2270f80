// Hardware input inside the window manager: the events the hosts feed in (user/input_feed.h) as
// the input queue keeps them, and what each comes to.
#ifndef WINPLAT_SRC_USER_HARDWARE_INPUT_H
#define WINPLAT_SRC_USER_HARDWARE_INPUT_H

#include <cstdint>

#include "user/input_feed.h"
#include "winplat/host.h"
#include "winplat/user.h"

namespace winplat::user {

// Forgets queued input and the double-click record (tests start afresh).
void resetHardwareInput();

struct HardwareEvent {
    enum class Kind : uint8_t { Move, ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp, Character };
    Kind kind = Kind::Move;
    POINT point{};  // the pointer when it happened
    host::MouseButton button = host::MouseButton::Left;
    int wheelDelta = 0;
    UINT key = 0;       // as the messages name it: VK_SHIFT for either Shift key
    UINT sidedKey = 0;  // VK_LSHIFT or VK_RSHIFT for a Shift key, likewise Control and Alt; else 0
    UINT message = 0;   // key events: WM_KEYDOWN/UP, or WM_SYSKEYDOWN/UP as Alt and F10 make them
    LPARAM keyData = 0;  // key events: the lParam of the message
    bool textFollows = false;  // key-downs: the host delivers the character as text
    uint8_t character = 0;     // Character: the cp1250 byte
    DWORD time = 0;
    uint64_t serial = 0;  // the queue's name for it
};

bool isMouseEvent(const HardwareEvent& event);
bool isKeyboardEvent(const HardwareEvent& event);

// What an event comes to: a message for a window, or nothing (a click on no window, a click a
// disabled window refuses, a press WM_MOUSEACTIVATE ate).
struct Routed {
    bool deliver = false;
    MSG message{};
};

}  // namespace winplat::user

#endif
