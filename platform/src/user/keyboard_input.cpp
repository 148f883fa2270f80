#include "user/keyboard_input.h"

#include <algorithm>
#include <string>

#include "user/input_state.h"
#include "user/virtual_keys.h"
#include "winplat/host.h"

namespace winplat::user {
namespace {

bool down(const std::array<uint8_t, 256>& keys, UINT key) { return (keys[key] & kKeyDown) != 0; }

// A press flips the toggle (Caps Lock, Num Lock read it) and, for the hardware's array, notes
// that the key went down since GetAsyncKeyState last asked.
void press(std::array<uint8_t, 256>& keys, UINT key, bool hardware) {
    if (!key) return;
    uint8_t& entry = keys[key];
    if (!(entry & kKeyDown)) entry ^= kKeyToggled;
    entry |= kKeyDown;
    if (hardware) entry |= kKeyPressedSinceAsked;
}

void release(std::array<uint8_t, 256>& keys, UINT key) {
    if (key) keys[key] = static_cast<uint8_t>(keys[key] & ~kKeyDown);
}

bool isSystemKey(UINT key, const std::array<uint8_t, 256>& keys) {
    if (key == VK_F10 || key == VK_MENU) return true;
    return down(keys, VK_MENU) && !down(keys, VK_CONTROL);
}

LPARAM keyData(UINT sidedOrGeneric, bool isDown, bool wasDown, bool altDown, int repeatCount) {
    const ScanCode scan = scanCodeOf(sidedOrGeneric);
    const auto count = static_cast<DWORD>(std::clamp(repeatCount, 1, 0xFFFF));
    DWORD data = count | (static_cast<DWORD>(scan.code) << 16);
    if (scan.extended) data |= 1u << 24;
    if (altDown) data |= 1u << 29;
    if (wasDown || !isDown) data |= 1u << 30;
    if (!isDown) data |= 1u << 31;
    return static_cast<LPARAM>(data);
}

UINT systemForm(UINT message) {
    if (message == WM_KEYDOWN) return WM_SYSKEYDOWN;
    if (message == WM_KEYUP) return WM_SYSKEYUP;
    return message;
}

}  // namespace

HardwareEvent keyEvent(UINT virtualKey, bool isDown, int repeatCount) {
    auto& keys = inputState().asyncKeys;
    const UINT generic = genericKey(virtualKey);
    const UINT sided = generic != virtualKey ? virtualKey : leftKeyOf(generic);
    const bool wasDown = down(keys, generic);
    if (isDown) {
        press(keys, generic, true);
        press(keys, sided, true);
    } else {
        release(keys, generic);
        release(keys, sided);
        // The other key of a pair may still hold the pair down (both Shift keys pressed).
        if (sided && (down(keys, sided == leftKeyOf(generic) ? sided + 1 : sided - 1))) keys[generic] |= kKeyDown;
    }
    HardwareEvent event;
    event.kind = isDown ? HardwareEvent::Kind::KeyDown : HardwareEvent::Kind::KeyUp;
    event.key = generic;
    event.sidedKey = sided;
    const bool system = isSystemKey(generic, keys);
    event.message = isDown ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    event.keyData = keyData(sided ? sided : generic, isDown, wasDown, down(keys, VK_MENU), repeatCount);
    event.point = inputState().cursor;
    event.time = static_cast<DWORD>(host::clock().nowMs());
    return event;
}

HardwareEvent characterEvent(uint8_t cp1250) {
    HardwareEvent event;
    event.kind = HardwareEvent::Kind::Character;
    event.message = WM_CHAR;
    event.key = cp1250;
    event.character = cp1250;
    event.keyData = 1;  // a repeat count of one; no key stands behind the character
    event.point = inputState().cursor;
    event.time = static_cast<DWORD>(host::clock().nowMs());
    return event;
}

Routed keyMessage(const HardwareEvent& event) {
    WindowRef target = findWindow(inputState().focus);
    UINT message = event.message;
    if (!target) {
        target = findWindow(inputState().active);
        message = systemForm(message);
    }
    if (!target) return {};
    Routed routed{true, {}};
    routed.message = {target->handle, message, event.key, event.keyData, event.time, event.point};
    return routed;
}

Routed takeKeyEvent(const HardwareEvent& event) {
    if (event.kind == HardwareEvent::Kind::Character) return keyMessage(event);
    auto& keys = inputState().keys;
    const bool isDown = event.kind == HardwareEvent::Kind::KeyDown;
    if (isDown) inputState().textFollowsKey = event.textFollows;
    // Alt released with no other key pressed since it went down enters the menu bar.
    if (isDown && event.key == VK_MENU) {
        if (!(keys[VK_MENU] & kKeyDown)) inputState().menuKeyAlone = true;
    } else if (isDown) {
        inputState().menuKeyAlone = false;
    }
    if (isDown) {
        press(keys, event.key, false);
        press(keys, event.sidedKey, false);
    } else {
        release(keys, event.key);
        release(keys, event.sidedKey);
    }
    return keyMessage(event);
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

namespace {

bool validKey(int virtualKey, const CallRefuser& refuse) {
    if (virtualKey > 0 && virtualKey < 256) return true;
    refuse.log("virtual key " + std::to_string(virtualKey) + " is outside 1-255");
    return false;
}

SHORT keyWord(bool isDown, bool lowBit) { return static_cast<SHORT>((isDown ? 0x8000 : 0) | (lowBit ? 1 : 0)); }

}  // namespace

SHORT GetKeyState(int virtualKey) {
    constexpr CallRefuser refuse("winplat: GetKeyState");
    if (!validKey(virtualKey, refuse)) return 0;
    const uint8_t entry = inputState().keys[static_cast<size_t>(virtualKey)];
    return keyWord((entry & kKeyDown) != 0, (entry & kKeyToggled) != 0);
}

SHORT GetAsyncKeyState(int virtualKey) {
    constexpr CallRefuser refuse("winplat: GetAsyncKeyState");
    if (!validKey(virtualKey, refuse)) return 0;
    uint8_t& entry = inputState().asyncKeys[static_cast<size_t>(virtualKey)];
    const SHORT word = keyWord((entry & kKeyDown) != 0, (entry & kKeyPressedSinceAsked) != 0);
    entry = static_cast<uint8_t>(entry & ~kKeyPressedSinceAsked);
    return word;
}

BOOL GetKeyboardState(LPBYTE keys) {
    constexpr CallRefuser refuse("winplat: GetKeyboardState");
    if (!keys) return refuse(FALSE, "no 256-byte array");
    if (!uiThreadCall(refuse)) return FALSE;
    const auto& state = inputState().keys;
    for (size_t i = 0; i < state.size(); ++i) keys[i] = static_cast<BYTE>(state[i] & (kKeyDown | kKeyToggled));
    return TRUE;
}

BOOL SetKeyboardState(LPBYTE keys) {
    constexpr CallRefuser refuse("winplat: SetKeyboardState");
    if (!keys) return refuse(FALSE, "no 256-byte array");
    if (!uiThreadCall(refuse)) return FALSE;
    auto& state = inputState().keys;
    for (size_t i = 0; i < state.size(); ++i) state[i] = static_cast<uint8_t>(keys[i] & (kKeyDown | kKeyToggled));
    return TRUE;
}
