#include "user/mouse_routing.h"

#include <cstdlib>

#include "user/activation.h"
#include "user/input_state.h"
#include "user/metrics.h"
#include "user/send.h"
#include "user/tree.h"

namespace winplat::user {
namespace {

constexpr UINT kDefaultDoubleClickTime = 500;

// The press a double click pairs with.
struct LastPress {
    bool valid = false;
    HWND window = nullptr;
    host::MouseButton button = host::MouseButton::Left;
    bool client = false;
    POINT point{};
    DWORD time = 0;
};

LastPress& lastPress() {
    static LastPress last;
    return last;
}

bool contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

RECT screenRect(const WindowObject& window) {
    const POINT origin = windowOrigin(window);
    return {origin.x, origin.y, origin.x + window.width(), origin.y + window.height()};
}

RECT clientScreenRect(const WindowObject& window) {
    const POINT origin = clientOrigin(window);
    return {origin.x, origin.y, origin.x + window.client.right - window.client.left,
            origin.y + window.client.bottom - window.client.top};
}

bool disabled(const WindowObject& window) { return (window.style & WS_DISABLED) != 0; }

// The window and, before it, the windows inside it under the point, deepest and highest first.
void collectUnder(const WindowRef& window, POINT screen, std::vector<WindowRef>& out) {
    if (!disabled(*window) && !(window->style & WS_MINIMIZE) && contains(clientScreenRect(*window), screen)) {
        for (const WindowRef& child : std::vector<WindowRef>(window->children)) {
            if (child->visible() && !disabled(*child) && contains(screenRect(*child), screen)) collectUnder(child, screen, out);
        }
    }
    out.push_back(window);
}

int buttonIndex(host::MouseButton button) { return static_cast<int>(button); }

UINT buttonKey(host::MouseButton button) {
    switch (button) {
        case host::MouseButton::Right: return VK_RBUTTON;
        case host::MouseButton::Middle: return VK_MBUTTON;
        default: return VK_LBUTTON;
    }
}

bool isPress(const HardwareEvent& event) { return event.kind == HardwareEvent::Kind::ButtonDown; }
bool isRelease(const HardwareEvent& event) { return event.kind == HardwareEvent::Kind::ButtonUp; }

// MK_ flags as they stand once the event has happened.
WORD keyFlags(const HardwareEvent& event) {
    const auto& keys = inputState().keys;
    const auto held = [&](host::MouseButton button) {
        if ((isPress(event) || isRelease(event)) && event.button == button) return isPress(event);
        return (keys[buttonKey(button)] & kKeyDown) != 0;
    };
    WORD flags = 0;
    if (held(host::MouseButton::Left)) flags |= MK_LBUTTON;
    if (held(host::MouseButton::Right)) flags |= MK_RBUTTON;
    if (held(host::MouseButton::Middle)) flags |= MK_MBUTTON;
    if (keys[VK_SHIFT] & kKeyDown) flags |= MK_SHIFT;
    if (keys[VK_CONTROL] & kKeyDown) flags |= MK_CONTROL;
    return flags;
}

bool isDoubleClick(const HardwareEvent& event, const WindowObject& window, bool client) {
    const LastPress& last = lastPress();
    if (!isPress(event) || !last.valid || last.window != window.handle || last.button != event.button) return false;
    if (last.client != client) return false;
    if (client && !(window.windowClass && (window.windowClass->style & CS_DBLCLKS))) return false;
    if (event.time - last.time > doubleClickTime()) return false;
    return std::abs(event.point.x - last.point.x) <= systemMetric(SM_CXDOUBLECLK) &&
           std::abs(event.point.y - last.point.y) <= systemMetric(SM_CYDOUBLECLK);
}

// WM_MOUSEMOVE or the press, release or double click of the button, client or non-client.
UINT messageNumber(const HardwareEvent& event, bool client, bool doubleClick) {
    if (event.kind == HardwareEvent::Kind::Move) return client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
    const UINT first = (client ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN) + 3 * static_cast<UINT>(buttonIndex(event.button));
    if (isRelease(event)) return first + 1;
    return doubleClick ? first + 2 : first;
}

LPARAM pointWord(POINT p) { return MAKELONG(static_cast<SHORT>(p.x), static_cast<SHORT>(p.y)); }

void notePress(const HardwareEvent& event, const MouseTarget& target, const Routed& routed, bool client) {
    LastPress& last = lastPress();
    const UINT first = messageNumber(event, client, false);
    if (routed.message.message != first) {
        last = LastPress{};  // a double click ends the pair: the next press starts afresh
        return;
    }
    last = {true, target.window->handle, event.button, client, event.point, event.time};
}

// WM_MOUSEACTIVATE for a press in an inactive top-level window; true when the press is eaten.
bool activateOnPress(const MouseTarget& target, UINT message) {
    const WindowRef top = topLevelOf(target.window);
    if (!top || top->handle == inputState().active) return false;
    const LRESULT answer = sendTo(target.window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                                  MAKELONG(static_cast<WORD>(target.hit), static_cast<WORD>(message)));
    if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) && !top->gone) activateWindow(top, WA_CLICKACTIVE);
    return answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
}

void applyButton(const HardwareEvent& event) {
    if (!isPress(event) && !isRelease(event)) return;
    uint8_t& key = inputState().keys[buttonKey(event.button)];
    if (isPress(event)) key = static_cast<uint8_t>((key ^ kKeyToggled) | kKeyDown);
    if (isRelease(event)) key = static_cast<uint8_t>(key & ~kKeyDown);
}

}  // namespace

MouseTarget mouseTarget(POINT screen) {
    if (const WindowRef capture = findWindow(inputState().capture)) return {capture, HTCLIENT, true};
    std::vector<WindowRef> candidates;
    for (const WindowRef& top : std::vector<WindowRef>(desktop().children)) {
        if (top->visible() && contains(screenRect(*top), screen)) collectUnder(top, screen, candidates);
    }
    for (const WindowRef& candidate : candidates) {
        if (isTopLevel(*candidate) && disabled(*candidate)) return {candidate, HTERROR, false};
        const auto hit = static_cast<int>(sendTo(candidate, WM_NCHITTEST, 0, pointWord(screen)));
        if (candidate->gone) return {};
        if (hit != HTTRANSPARENT) return {candidate, hit, false};
    }
    return {};
}

Routed mouseMessage(const HardwareEvent& event, const MouseTarget& target) {
    if (!target.window || target.window->gone || target.hit == HTERROR) return {};
    const bool client = target.captured || target.hit == HTCLIENT;
    Routed routed{true, {}};
    MSG& msg = routed.message;
    msg.hwnd = target.window->handle;
    msg.message = messageNumber(event, client, isDoubleClick(event, *target.window, client));
    if (client) {
        const POINT origin = clientOrigin(*target.window);
        msg.wParam = keyFlags(event);
        msg.lParam = pointWord({event.point.x - origin.x, event.point.y - origin.y});
    } else {
        msg.wParam = static_cast<WPARAM>(target.hit);
        msg.lParam = pointWord(event.point);
    }
    msg.time = event.time;
    msg.pt = event.point;
    return routed;
}

Routed takeMouseEvent(const HardwareEvent& event, const MouseTarget& target) {
    const Routed routed = mouseMessage(event, target);
    applyButton(event);
    if (!target.window || target.window->gone) {
        if (isPress(event)) lastPress() = LastPress{};
        return {};
    }
    const bool client = target.captured || target.hit == HTCLIENT;
    const UINT message = routed.deliver ? routed.message.message : messageNumber(event, true, false);
    bool eaten = false;
    if (isPress(event) && routed.deliver) {
        notePress(event, target, routed, client);
        if (!target.captured) eaten = activateOnPress(target, message);
    }
    // The capture window sets its own cursor: WM_SETCURSOR is for uncaptured input only.
    if (!target.captured && !target.window->gone) {
        sendTo(target.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(target.window->handle),
               MAKELONG(static_cast<WORD>(target.hit), static_cast<WORD>(message)));
    }
    if (eaten || !routed.deliver || target.window->gone) return {};
    return routed;
}

Routed wheelMessage(const HardwareEvent& event) {
    WindowRef target = findWindow(inputState().focus);
    if (!target) target = findWindow(inputState().active);
    if (!target) return {};
    Routed routed{true, {}};
    routed.message.hwnd = target->handle;
    routed.message.message = WM_MOUSEWHEEL;
    routed.message.wParam = static_cast<DWORD>(MAKELONG(keyFlags(event), static_cast<SHORT>(event.wheelDelta)));
    routed.message.lParam = pointWord(event.point);
    routed.message.time = event.time;
    routed.message.pt = event.point;
    return routed;
}

UINT& doubleClickTime() {
    static UINT time = kDefaultDoubleClickTime;
    return time;
}

void resetMouseRouting() {
    lastPress() = LastPress{};
    doubleClickTime() = kDefaultDoubleClickTime;
}

}  // namespace winplat::user

UINT GetDoubleClickTime(void) { return winplat::user::doubleClickTime(); }

BOOL SetDoubleClickTime(UINT milliseconds) {
    winplat::user::doubleClickTime() = milliseconds ? milliseconds : winplat::user::kDefaultDoubleClickTime;
    return TRUE;
}
