// The up-down control's buddy: placed beside it, its text the position, its Up and Down keys
// working the arrows. The keys are taken by subclassing the buddy: its procedure is replaced
// while it is the buddy; the control that owns it and the buddy's own procedure are found
// through window properties, so a buddy subclassed again after us still reaches its own.
#include <algorithm>
#include <memory>
#include <string>

#include "controls/control_support.h"
#include "controls/updown_state.h"
#include "user/window_state.h"

namespace winplat::controls {
namespace {

constexpr const char* kOwnerProperty = "winplat.updown";
constexpr const char* kProcedureProperty = "winplat.updown.procedure";

RECT rectInParent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The control takes its own width beside the buddy, inside the buddy's old place: the buddy
// shrinks by that much, the control takes the buddy's height.
void alignBeside(HWND control, HWND buddy) {
    const DWORD style = styleOf(control);
    if (!(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT))) return;
    const RECT own = rectInParent(control);
    const RECT b = rectInParent(buddy);
    const int width = own.right - own.left > 0 ? own.right - own.left : GetSystemMetrics(SM_CXVSCROLL);
    const int buddyWidth = std::max(0, static_cast<int>(b.right - b.left) - width);
    const int height = b.bottom - b.top;
    if (style & UDS_ALIGNRIGHT) {
        MoveWindow(buddy, b.left, b.top, buddyWidth, height, TRUE);
        MoveWindow(control, b.left + buddyWidth, b.top, width, height, TRUE);
    } else {
        MoveWindow(control, b.left, b.top, width, height, TRUE);
        MoveWindow(buddy, b.left + width, b.top, buddyWidth, height, TRUE);
    }
}

LRESULT CALLBACK buddyProcedure(HWND buddy, UINT message, WPARAM wParam, LPARAM lParam);

WNDPROC ownProcedure(HWND buddy) {
    return reinterpret_cast<WNDPROC>(GetPropA(buddy, kProcedureProperty));
}

void takeKeys(HWND control, UpDown& state, HWND buddy) {
    SetPropA(buddy, kOwnerProperty, reinterpret_cast<HANDLE>(control));
    state.keysTaken = true;
    if (ownProcedure(buddy)) return;  // still in its chain from an earlier up-down
    const LONG_PTR own = SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buddyProcedure));
    SetPropA(buddy, kProcedureProperty, reinterpret_cast<HANDLE>(own));
}

// Gives the buddy its own procedure back, unless someone subclassed it after us: then ours stays
// in their chain and, finding no owner, passes everything on.
void giveKeysBack(UpDown& state, HWND buddy) {
    state.keysTaken = false;
    if (!IsWindow(buddy)) return;
    RemovePropA(buddy, kOwnerProperty);
    const WNDPROC own = ownProcedure(buddy);
    if (own && GetWindowLongPtrA(buddy, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(buddyProcedure)) {
        SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        RemovePropA(buddy, kProcedureProperty);
    }
}

LRESULT CALLBACK buddyProcedure(HWND buddy, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC own = ownProcedure(buddy);
    const auto control = reinterpret_cast<HWND>(GetPropA(buddy, kOwnerProperty));
    const std::shared_ptr<UpDown> state = control ? user::windowState<UpDown>(control) : nullptr;
    if (state && message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        stepUpDown(control, *state, wParam == VK_UP ? 1 : -1, 1);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        if (state) state->buddy = nullptr;
        RemovePropA(buddy, kOwnerProperty);
        RemovePropA(buddy, kProcedureProperty);
    }
    return own ? CallWindowProcA(own, buddy, message, wParam, lParam)
               : DefWindowProcA(buddy, message, wParam, lParam);
}

}  // namespace

HWND setBuddy(HWND control, UpDown& state, HWND buddy) {
    const HWND previous = state.buddy;
    if (previous && state.keysTaken) giveKeysBack(state, previous);
    state.buddy = IsWindow(buddy) ? buddy : nullptr;
    if (!state.buddy) return previous;
    alignBeside(control, state.buddy);
    if (styleOf(control) & UDS_ARROWKEYS) takeKeys(control, state, state.buddy);
    showInBuddy(control, state);
    return previous;
}

void showInBuddy(HWND control, const UpDown& state) {
    const DWORD style = styleOf(control);
    if (!state.buddy || !(style & UDS_SETBUDDYINT)) return;
    SetWindowTextA(state.buddy, formatPosition(state.pos, !(style & UDS_NOTHOUSANDS)).c_str());
}

std::optional<int> readBuddy(const UpDown& state) {
    if (!state.buddy) return std::nullopt;
    const int length = GetWindowTextLengthA(state.buddy);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(state.buddy, text.data(), length + 1)));
    return parsePosition(text);
}

}  // namespace winplat::controls
