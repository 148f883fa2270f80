// Who has the keyboard focus, the mouse capture and the activation, where the pointer is, which
// cursor shows, and which keys are down: as of the last input message taken from the queue (what
// GetKeyState reads) and as the hardware says now (GetAsyncKeyState). Everything here belongs
// to the UI thread, which is also the thread the hosts deliver input on.
#ifndef WINPLAT_SRC_USER_INPUT_STATE_H
#define WINPLAT_SRC_USER_INPUT_STATE_H

#include <array>
#include <cstdint>
#include <optional>

#include "user/window.h"

namespace winplat::user {

// Bits of a key's entry: down, toggled (every press flips it; Caps Lock reads it), and, in the
// hardware's array only, pressed since GetAsyncKeyState last asked about the key.
constexpr uint8_t kKeyDown = 0x80;
constexpr uint8_t kKeyToggled = 0x01;
constexpr uint8_t kKeyPressedSinceAsked = 0x02;

struct InputState {
    HWND focus = nullptr;
    HWND capture = nullptr;
    HWND active = nullptr;
    POINT cursor{};              // the pointer on the screen
    std::optional<RECT> clip;    // ClipCursor's rectangle, within the screen
    std::array<uint8_t, 256> keys{};       // as of the input message last taken
    std::array<uint8_t, 256> asyncKeys{};  // as the hardware says now
    HCURSOR cursorShape = nullptr;  // what SetCursor set
    int cursorShowCount = 0;        // the cursor shows while it is 0 or more
    // The key-down last taken types its character through the host's text input: TranslateMessage
    // makes no WM_CHAR of it, or the character would arrive twice.
    bool textFollowsKey = false;
    // Alt went down and no other key since: its release enters the menu bar.
    bool menuKeyAlone = false;
};

InputState& inputState();

// A window is being destroyed: capture, activation and focus leave it and its descendants, each
// with its messages, while it still exists.
void releaseInputState(const WindowObject& window);

// Whether 'held' names the window or one of its descendants.
bool heldWithin(HWND held, const WindowObject& window);

}  // namespace winplat::user

#endif
