// The up-down control ("msctls_updown32"): two arrow buttons stepping a position, held arrows
// repeating after the scroll bars' first delay at their rate, faster the longer they are held.
#include <utility>

#include "controls/control_support.h"
#include "controls/updown_state.h"
#include "user/builtin_classes.h"
#include "user/edge_drawing.h"
#include "user/scroll_tracking.h"
#include "user/window_state.h"
#include "winplat/time.h"

namespace winplat::controls {
namespace {

// The repeat's own timer.
constexpr UINT_PTR kRepeatTimerId = 0xFFF7;

// How far a held arrow steps: the increment of the last row whose time has passed.
struct Acceleration {
    DWORD afterMs;
    int increment;
};
constexpr Acceleration kAccelerations[] = {{0, 1}, {2000, 5}, {5000, 20}};

bool horizontal(HWND window) {
    return (styleOf(window) & UDS_HORZ) != 0;
}

// The arrow that steps one way (+1 up or right, -1 down or left).
RECT arrowRect(HWND window, int direction) {
    RECT r{};
    GetClientRect(window, &r);
    if (horizontal(window)) {
        const int middle = (r.left + r.right) / 2;
        return direction > 0 ? RECT{middle, r.top, r.right, r.bottom} : RECT{r.left, r.top, middle, r.bottom};
    }
    const int middle = (r.top + r.bottom) / 2;
    return direction > 0 ? RECT{r.left, r.top, r.right, middle} : RECT{r.left, middle, r.right, r.bottom};
}

int arrowAt(HWND window, POINT at) {
    for (const int direction : {1, -1}) {
        if (contains(arrowRect(window, direction), at)) return direction;
    }
    return 0;
}

void paint(HWND window, const UpDown& state) {
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(window, &ps);
    const bool off = !IsWindowEnabled(window);
    const bool across = horizontal(window);
    user::drawButton(dc, arrowRect(window, 1), across ? user::Glyph::Right : user::Glyph::Up, state.held > 0,
                     off);
    user::drawButton(dc, arrowRect(window, -1), across ? user::Glyph::Left : user::Glyph::Down,
                     state.held < 0, off);
    EndPaint(window, &ps);
}

// UDN_DELTAPOS: true when the parent cancels; it may change the delta.
bool parentCancels(HWND control, int pos, int& delta) {
    NMUPDOWN change{};
    change.hdr.hwndFrom = control;
    change.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrA(control, GWLP_ID));
    change.hdr.code = UDN_DELTAPOS;
    change.iPos = pos;
    change.iDelta = delta;
    const LRESULT answer =
        SendMessageA(GetParent(control), WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
    delta = change.iDelta;
    return answer != 0;
}

// --- the mouse

int heldIncrement(const UpDown& state) {
    const DWORD held = GetTickCount() - state.heldSince;
    int increment = 1;
    for (const Acceleration& a : kAccelerations) {
        if (held >= a.afterMs) increment = a.increment;
    }
    return increment;
}

void onPress(HWND window, UpDown& state, POINT at) {
    const int direction = arrowAt(window, at);
    if (!direction) return;
    SetCapture(window);
    state.held = direction;
    state.heldSince = GetTickCount();
    repaintNow(window);
    stepUpDown(window, state, direction, 1);
    SetTimer(window, kRepeatTimerId, user::kScrollFirstDelay, nullptr);
}

void onRepeat(HWND window, UpDown& state) {
    SetTimer(window, kRepeatTimerId, user::kScrollRepeatRate, nullptr);
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(window, &at);
    // The arrow steps only while the pointer stays on it.
    if (state.held && arrowAt(window, at) == state.held)
        stepUpDown(window, state, state.held, heldIncrement(state));
}

void endPress(HWND window, UpDown& state) {
    KillTimer(window, kRepeatTimerId);
    state.held = 0;
    repaintNow(window);
}

void onRelease(HWND window, UpDown& state) {
    if (!state.held) return;
    endPress(window, state);
    tellParentScroll(window, !horizontal(window), SB_ENDSCROLL, state.pos);
    if (GetCapture() == window) ReleaseCapture();
}

// --- messages

void moveTo(HWND window, UpDown& state, int position) {
    state.pos = state.range.clamp(position);
    showInBuddy(window, state);
}

// The position with the buddy's number taken first; 'failed' when it holds none in the range.
int currentPosition(UpDown& state, bool& failed) {
    const std::optional<int> typed = readBuddy(state);
    failed = !typed || !state.range.contains(*typed);
    if (!failed) state.pos = *typed;
    return state.pos;
}

LRESULT onUpDownMessage(HWND window, UpDown& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case UDM_SETRANGE:
            state.range = {static_cast<short>(HIWORD(lParam)), static_cast<short>(LOWORD(lParam))};
            state.pos = state.range.clamp(state.pos);
            return 0;
        case UDM_GETRANGE:
            return MAKELONG(static_cast<WORD>(state.range.upper), static_cast<WORD>(state.range.lower));
        case UDM_SETRANGE32:
            state.range = {static_cast<int>(wParam), static_cast<int>(lParam)};
            state.pos = state.range.clamp(state.pos);
            return 0;
        case UDM_GETRANGE32:
            if (auto* lower = reinterpret_cast<int*>(wParam)) *lower = state.range.lower;
            if (auto* upper = reinterpret_cast<int*>(lParam)) *upper = state.range.upper;
            return 0;
        case UDM_SETPOS: {
            const int previous = state.pos;
            moveTo(window, state, static_cast<short>(LOWORD(lParam)));
            return static_cast<WORD>(previous);
        }
        case UDM_GETPOS: {
            bool failed = false;
            const int pos = currentPosition(state, failed);
            return MAKELONG(static_cast<WORD>(pos), failed ? 1 : 0);
        }
        case UDM_SETPOS32: {
            const int previous = state.pos;
            moveTo(window, state, static_cast<int>(lParam));
            return previous;
        }
        case UDM_GETPOS32: {
            bool failed = false;
            const int pos = currentPosition(state, failed);
            if (auto* error = reinterpret_cast<BOOL*>(lParam)) *error = failed ? TRUE : FALSE;
            return pos;
        }
        case UDM_SETBUDDY:
            return reinterpret_cast<LRESULT>(setBuddy(window, state, reinterpret_cast<HWND>(wParam)));
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(state.buddy);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

std::optional<LRESULT> upDownMessage(HWND window, UpDown& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // The buddy of UDS_AUTOBUDDY is the sibling made just before, next above in z-order.
            if (styleOf(window) & UDS_AUTOBUDDY) setBuddy(window, state, GetWindow(window, GW_HWNDPREV));
            return 0;
        case WM_DESTROY:
            setBuddy(window, state, nullptr);
            return 0;
        case WM_PAINT:
            paint(window, state);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the arrows cover every pixel
        case WM_ENABLE:
            repaintNow(window);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            onPress(window, state, clientPoint(lParam));
            return 0;
        case WM_LBUTTONUP:
            onRelease(window, state);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window && state.held) endPress(window, state);
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimerId) {
                onRepeat(window, state);
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            return onUpDownMessage(window, state, message, wParam, lParam);
    }
}

LRESULT CALLBACK upDownProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::procedureWithState<UpDown>(window, message, wParam, lParam, upDownMessage);
}

void registerUpDown() {
    registerControlClass(UPDOWN_CLASSA, upDownProcedure, CS_HREDRAW | CS_VREDRAW);
}

}  // namespace

void stepUpDown(HWND control, UpDown& state, int direction, int increment) {
    const DWORD style = styleOf(control);
    if (style & UDS_SETBUDDYINT) {
        // What was typed into the buddy counts as the position to step from.
        bool failed = false;
        currentPosition(state, failed);
    }
    int delta = state.range.deltaFor(direction, increment);
    const bool wrap = (style & UDS_WRAP) != 0;
    if (!wrap && state.range.moved(state.pos, delta, false) == state.pos) return;  // at the end
    if (parentCancels(control, state.pos, delta)) return;
    state.pos = state.range.moved(state.pos, delta, wrap);
    showInBuddy(control, state);
    tellParentScroll(control, !(style & UDS_HORZ), SB_THUMBPOSITION, state.pos);
}

}  // namespace winplat::controls

WINPLAT_BUILTIN_CLASS(upDown, UPDOWN_CLASSA, winplat::controls::registerUpDown);
