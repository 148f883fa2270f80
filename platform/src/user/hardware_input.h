// Hardware input as the hosts deliver it: the pointer moving, buttons, the wheel and keys, each
// stamped with the host clock. Events wait in the input queue, which GetMessageA and PeekMessageA
// read after the posted messages; where an event goes (which window, which message) is decided
// only when a loop takes it, since the capture and the focus may change meanwhile. The hosts
// call these on the UI thread.
#ifndef WINPLAT_SRC_USER_HARDWARE_INPUT_H
#define WINPLAT_SRC_USER_HARDWARE_INPUT_H

#include <cstdint>

#include "winplat/host.h"
#include "winplat/user.h"

namespace winplat::user {

void hardwareMouseMove(POINT screen);
void hardwareButton(host::MouseButton button, bool down);
void hardwareWheel(int delta);
// A key down while the key is down already is an auto-repeat. 'textFollows': the host delivers
// the character the key types as text of its own (hardwareCharacter), so TranslateMessage makes
// none from this key-down.
void hardwareKey(UINT virtualKey, bool down, int repeatCount = 1, bool textFollows = false);
// A character typed, as a host with text input of its own delivers it (cp1250): WM_CHAR to the
// focus window.
void hardwareCharacter(uint8_t cp1250);

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
