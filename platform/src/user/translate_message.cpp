// TranslateMessage: a key-down that types a character posts WM_CHAR (WM_SYSCHAR for a system
// key-down, Alt held) with the key-down's lParam, so it is the next posted message to come.
#include "user/input_state.h"
#include "user/key_characters.h"
#include "user/posted_queue.h"
#include "winplat/host.h"

using namespace winplat;
using namespace winplat::user;

namespace {

KeyModifiers currentModifiers() {
    const auto& keys = inputState().keys;
    return {(keys[VK_SHIFT] & 0x80) != 0, (keys[VK_CONTROL] & 0x80) != 0, (keys[VK_CAPITAL] & 0x01) != 0};
}

}  // namespace

BOOL TranslateMessage(const MSG* message) {
    if (!message) return FALSE;
    const UINT kind = message->message;
    if (kind != WM_KEYDOWN && kind != WM_KEYUP && kind != WM_SYSKEYDOWN && kind != WM_SYSKEYUP) return FALSE;
    if ((kind == WM_KEYDOWN || kind == WM_SYSKEYDOWN) && !inputState().textFollowsKey) {
        KeyModifiers modifiers = currentModifiers();
        if (kind == WM_SYSKEYDOWN) modifiers.control = false;
        if (const uint8_t character = keyCharacter(static_cast<UINT>(message->wParam), modifiers)) {
            MSG typed = *message;
            typed.message = kind == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
            typed.wParam = character;
            typed.time = static_cast<DWORD>(host::clock().nowMs());
            postedQueue().post(typed);
        }
    }
    // Every key message counts as translated, whether it typed a character or not.
    return TRUE;
}
