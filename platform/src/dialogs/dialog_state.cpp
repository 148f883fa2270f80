#include "dialogs/dialog_state.h"

#include <map>

namespace winplat::dialogs {
namespace {

// Keyed by handle: a dialog's entry goes with its WM_NCDESTROY, and a handle made again for a new
// dialog starts afresh.
std::map<HWND, DialogState>& states() {
    static std::map<HWND, DialogState> all;
    return all;
}

}  // namespace

DialogState* dialogState(HWND dialog) {
    const auto found = states().find(dialog);
    return found == states().end() ? nullptr : &found->second;
}

DialogState& addDialogState(HWND dialog) { return states()[dialog] = DialogState{}; }

void dropDialogState(HWND dialog) { states().erase(dialog); }

}  // namespace winplat::dialogs
