#include "dialogs/dialog_focus.h"

#include "dialogs/dialog_state.h"

namespace winplat::dialogs {
namespace {

bool isPushButton(LRESULT code) { return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0; }

void restyle(HWND button, bool isDefault) {
    const LRESULT code = dialogCodeOf(button);
    if (!isPushButton(code) || ((code & DLGC_DEFPUSHBUTTON) != 0) == isDefault) return;
    SendMessageA(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

// Makes 'chosen' the one default push button among the dialog's controls.
void makeDefault(HWND dialog, HWND chosen) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child != chosen) restyle(child, false);
    }
    if (chosen) restyle(chosen, true);
}

}  // namespace

LRESULT dialogCodeOf(HWND control, const MSG* message) {
    return control ? SendMessageA(control, WM_GETDLGCODE, message ? message->wParam : 0,
                                  reinterpret_cast<LPARAM>(message))
                   : 0;
}

bool inDialog(HWND dialog, HWND window) { return window && (window == dialog || IsChild(dialog, window)); }

void focusControl(HWND dialog, HWND control) {
    if (!control) return;
    SetFocus(control);
    if (dialogCodeOf(control) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
    trackDefaultButton(dialog);
}

void trackDefaultButton(HWND dialog) {
    const std::shared_ptr<DialogState> state = dialogState(dialog);
    const HWND focus = GetFocus();
    if (!state || !inDialog(dialog, focus) || focus == state->lastFocus) return;
    state->lastFocus = focus;
    state->savedFocus = focus;
    if (isPushButton(dialogCodeOf(focus))) {
        makeDefault(dialog, focus);
        return;
    }
    const std::optional<WORD> id = defaultIdOf(dialog);
    makeDefault(dialog, id ? GetDlgItem(dialog, *id) : nullptr);
}

std::optional<WORD> defaultIdOf(HWND dialog) {
    const std::shared_ptr<const DialogState> state = dialogState(dialog);
    return state ? state->defaultId : std::nullopt;
}

void setDefaultId(HWND dialog, WORD id) {
    const std::shared_ptr<DialogState> state = dialogState(dialog);
    if (!state) return;
    state->defaultId = id;
    const HWND focus = GetFocus();
    // A focused push button keeps the look until the focus leaves it.
    if (inDialog(dialog, focus) && isPushButton(dialogCodeOf(focus)) && focus != dialog) return;
    makeDefault(dialog, GetDlgItem(dialog, id));
}

}  // namespace winplat::dialogs
