#include "user/activation.h"

#include "user/capture.h"
#include "user/focus.h"
#include "user/input_state.h"
#include "user/send.h"
#include "user/tree.h"

namespace winplat::user {
namespace {

WPARAM activateWord(WORD how, const WindowObject& window) {
    return MAKELONG(how, (window.style & WS_MINIMIZE) ? 1 : 0);
}

// WM_ACTIVATEAPP goes to every top-level window of the program, hidden ones too.
void tellProgramActivation(bool active) {
    for (const WindowRef& top : std::vector<WindowRef>(desktop().children)) {
        if (!top->gone) sendTo(top, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
    }
}

// Whether nothing the window could rise above lies above it: only windows of the top-most band
// (when it is not in it) and the windows it owns, which stay above it anyway.
bool alreadyOnTop(const WindowObject& window) {
    const bool topMost = (window.exStyle & WS_EX_TOPMOST) != 0;
    for (const WindowRef& sibling : window.parent->children) {
        if (sibling.get() == &window) return true;
        if (!topMost && (sibling->exStyle & WS_EX_TOPMOST)) continue;
        bool owned = false;
        for (const WindowObject* o = sibling->owner; o && !owned; o = o->owner) owned = o == &window;
        if (!owned) return false;
    }
    return true;
}

void bringToTopOf(const WindowRef& window) {
    if (alreadyOnTop(*window)) return;
    SetWindowPos(window->handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool canActivate(const WindowObject& window, const WindowObject& leaving) {
    return !window.gone && !window.destroying && &window != &leaving && window.visible() &&
           !(window.style & WS_DISABLED) && !isAncestor(leaving, window);
}

void deactivate(const WindowRef& previous, HWND next) {
    sendTo(previous, WM_NCACTIVATE, FALSE, 0);
    if (!previous->gone) sendTo(previous, WM_ACTIVATE, activateWord(WA_INACTIVE, *previous), reinterpret_cast<LPARAM>(next));
}

}  // namespace

WindowRef topLevelOf(const WindowRef& window) {
    WindowObject* top = window.get();
    while (top && top->parent && !isTopLevel(*top)) top = top->parent;
    if (!top || !isTopLevel(*top)) return nullptr;
    return findWindow(top->handle);
}

void activateWindow(const WindowRef& window, WORD how, bool bringToTop) {
    InputState& state = inputState();
    const WindowRef previous = findWindow(state.active);
    if (previous == window) return;
    const HWND next = window ? window->handle : nullptr;
    if (previous) deactivate(previous, next);
    if (!window || window->gone) {
        state.active = nullptr;
        if (previous) tellProgramActivation(false);
        changeFocus(nullptr);
        return;
    }
    state.active = next;
    if (bringToTop) bringToTopOf(window);
    if (!previous) tellProgramActivation(true);
    if (window->gone || state.active != next) return;
    sendTo(window, WM_NCACTIVATE, TRUE, 0);
    if (window->gone) return;
    sendTo(window, WM_ACTIVATE, activateWord(how, *window), reinterpret_cast<LPARAM>(previous ? previous->handle : nullptr));
    // A window that took the activation without taking the focus (its procedure answered
    // WM_ACTIVATE itself) leaves the keyboard to nobody rather than to a window in the old one.
    if (state.active == next && !heldWithin(state.focus, *window)) changeFocus(nullptr);
}

void activateNextAfter(const WindowObject& leaving) {
    const WindowObject* owner = isTopLevel(leaving) ? leaving.owner : nullptr;
    if (owner && canActivate(*owner, leaving)) {
        activateWindow(findWindow(owner->handle), WA_ACTIVE);
        return;
    }
    for (const WindowRef& top : std::vector<WindowRef>(desktop().children)) {
        if (canActivate(*top, leaving)) {
            activateWindow(top, WA_ACTIVE);
            return;
        }
    }
    activateWindow(nullptr, WA_INACTIVE);
}

void activateOnPlacement(const WindowRef& window, bool bringToTop) {
    if (isTopLevel(*window) && window->visible() && !window->destroying) activateWindow(window, WA_ACTIVE, bringToTop);
}

void windowHidden(const WindowObject& window) {
    releaseCaptureWithin(window);
    if (heldWithin(inputState().active, window)) activateNextAfter(window);
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HWND GetActiveWindow(void) { return findWindow(inputState().active) ? inputState().active : nullptr; }

HWND SetActiveWindow(HWND window) {
    constexpr CallRefuser refuse("winplat: SetActiveWindow", ERROR_INVALID_WINDOW_HANDLE);
    const HWND previous = GetActiveWindow();
    if (!window) {
        if (uiThreadCall(refuse)) activateWindow(nullptr, WA_INACTIVE);
        return previous;
    }
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return nullptr;
    const WindowRef top = topLevelOf(target);
    if (!top) return refuse(HWND{}, "the desktop cannot be active");
    activateWindow(top, WA_ACTIVE);
    return previous;
}

BOOL SetForegroundWindow(HWND window) {
    constexpr CallRefuser refuse("winplat: SetForegroundWindow", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    const WindowRef top = topLevelOf(target);
    if (!top) return refuse(FALSE, "the desktop cannot be active");
    activateWindow(top, WA_ACTIVE);
    return GetActiveWindow() == top->handle ? TRUE : FALSE;
}

HWND GetForegroundWindow(void) { return GetActiveWindow(); }
