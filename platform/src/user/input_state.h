// Who has the keyboard focus, the mouse capture and the activation, where the cursor is, and
// which keys are down: plain state for now. Mouse and keyboard routing (WM_SETFOCUS/KILLFOCUS,
// WM_CAPTURECHANGED, WM_ACTIVATE) build on it later; the hosts fill the cursor and the keys.
#ifndef WINPLAT_SRC_USER_INPUT_STATE_H
#define WINPLAT_SRC_USER_INPUT_STATE_H

#include <array>
#include <cstdint>

#include "user/window.h"

namespace winplat::user {

struct InputState {
    HWND focus = nullptr;
    HWND capture = nullptr;
    HWND active = nullptr;
    POINT cursor{};
    // Per virtual key: 0x80 while down, 0x01 toggled (Caps Lock), as GetKeyboardState reports.
    std::array<uint8_t, 256> keys{};
};

InputState& inputState();

// Focus, capture and activation let go of a window that is being destroyed or its descendants.
void releaseInputState(const WindowObject& window);

// Where a window placed without SWP_NOACTIVATE becomes the active one (no messages yet).
void noteActivation(const WindowObject& window);

}  // namespace winplat::user

#endif
