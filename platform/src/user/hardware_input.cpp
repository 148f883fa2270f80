// The hosts' entry points: each event joins the input queue with the host clock's time; the
// hardware's view of the pointer and the keys changes at once.
#include "user/hardware_input.h"

#include <algorithm>

#include "base/call_refusal.h"
#include "user/input_queue.h"
#include "user/input_state.h"
#include "user/keyboard_input.h"
#include "user/mouse_routing.h"
#include "user/screen.h"
#include "winplat/testing.h"

namespace winplat::user {
namespace {

constexpr CallRefuser refuse("winplat: hardware input");

DWORD now() { return static_cast<DWORD>(host::clock().nowMs()); }

// The pointer stays on the screen and inside the ClipCursor rectangle.
POINT confined(POINT point) {
    const SIZE screen = screenSize();
    RECT area{0, 0, screen.cx, screen.cy};
    if (const auto& clip = inputState().clip) area = *clip;
    point.x = std::clamp<LONG>(point.x, area.left, std::max(area.left, area.right - 1));
    point.y = std::clamp<LONG>(point.y, area.top, std::max(area.top, area.bottom - 1));
    return point;
}

UINT buttonKey(host::MouseButton button) {
    switch (button) {
        case host::MouseButton::Right: return VK_RBUTTON;
        case host::MouseButton::Middle: return VK_MBUTTON;
        default: return VK_LBUTTON;
    }
}

HardwareEvent pointerEvent(HardwareEvent::Kind kind) {
    HardwareEvent event;
    event.kind = kind;
    event.point = inputState().cursor;
    event.time = now();
    return event;
}

}  // namespace

void hardwareMouseMove(POINT screen) {
    if (!uiThreadCall(refuse)) return;
    inputState().cursor = confined(screen);
    inputQueue().push(pointerEvent(HardwareEvent::Kind::Move));
}

void hardwareButton(host::MouseButton button, bool down) {
    if (!uiThreadCall(refuse)) return;
    uint8_t& key = inputState().asyncKeys[buttonKey(button)];
    if (down && !(key & kKeyDown)) key = static_cast<uint8_t>((key ^ kKeyToggled) | kKeyPressedSinceAsked);
    key = static_cast<uint8_t>(down ? key | kKeyDown : key & ~kKeyDown);
    HardwareEvent event = pointerEvent(down ? HardwareEvent::Kind::ButtonDown : HardwareEvent::Kind::ButtonUp);
    event.button = button;
    inputQueue().push(event);
}

void hardwareWheel(int delta) {
    if (!uiThreadCall(refuse)) return;
    HardwareEvent event = pointerEvent(HardwareEvent::Kind::Wheel);
    event.wheelDelta = std::clamp(delta, -32768, 32767);
    inputQueue().push(event);
}

void hardwareKey(UINT virtualKey, bool down, int repeatCount, bool textFollows) {
    if (!uiThreadCall(refuse)) return;
    if (virtualKey == 0 || virtualKey > 255) {
        refuse.log("virtual key " + std::to_string(virtualKey) + " is outside 1-255");
        return;
    }
    HardwareEvent event = keyEvent(virtualKey, down, repeatCount);
    event.textFollows = down && textFollows;
    inputQueue().push(event);
}

void hardwareCharacter(uint8_t cp1250) {
    if (!uiThreadCall(refuse)) return;
    if (cp1250 == 0) {
        refuse.log("a typed character of 0");
        return;
    }
    inputQueue().push(characterEvent(cp1250));
}

void resetHardwareInput() {
    inputQueue().clear();
    resetMouseRouting();
}

}  // namespace winplat::user

namespace winplat::testing {

void mouseMove(int x, int y) { user::hardwareMouseMove({x, y}); }
void mouseButton(host::MouseButton button, bool down) { user::hardwareButton(button, down); }
void mouseWheel(int delta) { user::hardwareWheel(delta); }
void keyDown(UINT virtualKey, int repeatCount) { user::hardwareKey(virtualKey, true, repeatCount); }
void keyUp(UINT virtualKey) { user::hardwareKey(virtualKey, false); }
void typeCharacter(char cp1250) { user::hardwareCharacter(static_cast<uint8_t>(cp1250)); }

}  // namespace winplat::testing
