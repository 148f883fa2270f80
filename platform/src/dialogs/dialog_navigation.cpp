// The order the keyboard moves in: tab stops over the whole dialog, and the controls of one group.
#include <algorithm>
#include <vector>

#include "base/call_refusal.h"
#include "controls/button_group.h"
#include "controls/control_support.h"
#include "winplat/dialogs.h"

namespace winplat::dialogs {
namespace {

bool reachable(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

std::vector<HWND> childrenOf(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

// The next (previous) window of the list after 'from' that passes, wrapping round; 'from' itself
// when none other does, null when the list has none at all. A 'from' outside the list starts
// before the first (after the last).
template <class Test>
HWND nextIn(const std::vector<HWND>& list, HWND from, bool previous, Test passes) {
    if (list.empty()) return nullptr;
    const auto count = static_cast<long>(list.size());
    const auto found = std::find(list.begin(), list.end(), from);
    long start = found == list.end() ? (previous ? count : -1) : static_cast<long>(found - list.begin());
    for (long step = 1; step <= count; ++step) {
        const long index = ((start + (previous ? -step : step)) % count + count) % count;
        const HWND candidate = list[static_cast<size_t>(index)];
        if (passes(candidate)) return candidate;
    }
    return nullptr;
}

// The dialog's own child that holds the control: a part of a control (a combo box's edit) moves
// as its control does. Null for a window outside the dialog.
HWND childHolding(HWND dialog, HWND control) {
    while (control && GetParent(control) != dialog) control = GetParent(control);
    return control;
}

}  // namespace
}  // namespace winplat::dialogs

using namespace winplat;
using namespace winplat::dialogs;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    constexpr CallRefuser refuse("winplat: GetNextDlgTabItem", ERROR_INVALID_WINDOW_HANDLE);
    if (!IsWindow(dialog)) return refuse(static_cast<HWND>(nullptr), "no dialog");
    return nextIn(childrenOf(dialog), childHolding(dialog, control), previous != FALSE, [](HWND candidate) {
        return (controls::styleOf(candidate) & WS_TABSTOP) && reachable(candidate);
    });
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    constexpr CallRefuser refuse("winplat: GetNextDlgGroupItem", ERROR_INVALID_WINDOW_HANDLE);
    if (!IsWindow(dialog)) return refuse(static_cast<HWND>(nullptr), "no dialog");
    control = childHolding(dialog, control);
    if (!control) return nextIn(childrenOf(dialog), nullptr, previous != FALSE, reachable);
    return nextIn(controls::groupOf(control), control, previous != FALSE, reachable);
}
