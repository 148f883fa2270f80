#include "dialogs/dialog_mnemonics.h"

#include <vector>

#include "controls/control_support.h"
#include "dialogs/dialog_focus.h"
#include "winplat/cp1250.h"

namespace winplat::dialogs {
namespace {

bool reachable(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

// A label (a static's text or a group box's title) names the next control that can take the
// focus.
HWND controlAfter(HWND label) {
    for (HWND next = GetWindow(label, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
        if (reachable(next) && !(dialogCodeOf(next) & DLGC_STATIC)) return next;
    }
    return nullptr;
}

bool hasMnemonic(HWND control, char upper) {
    if (controls::isOfClass(control, "STATIC") && (controls::styleOf(control) & SS_NOPREFIX)) return false;
    return controls::mnemonicOf(controls::windowText(control)) == upper;
}

void act(HWND dialog, HWND control) {
    const LRESULT code = dialogCodeOf(control);
    if (code & DLGC_STATIC) {
        const HWND target = controlAfter(control);
        if (target) act(dialog, target);
        return;
    }
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        SendMessageA(control, BM_CLICK, 0, 0);
        return;
    }
    focusControl(dialog, control);
    if (code & DLGC_BUTTON) SendMessageA(control, BM_CLICK, 0, 0);
}

}  // namespace

bool pressMnemonic(HWND dialog, char character) {
    const char upper = static_cast<char>(cp1250::toUpper(static_cast<uint8_t>(character)));
    std::vector<HWND> order;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) order.push_back(child);
    const HWND focus = GetFocus();
    size_t start = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == focus) start = i + 1;
    }
    for (size_t step = 0; step < order.size(); ++step) {
        const HWND candidate = order[(start + step) % order.size()];
        if (!IsWindowVisible(candidate) || !hasMnemonic(candidate, upper)) continue;
        if (!IsWindowEnabled(candidate) && !(dialogCodeOf(candidate) & DLGC_STATIC)) continue;
        act(dialog, candidate);
        return true;
    }
    return false;
}

}  // namespace winplat::dialogs
