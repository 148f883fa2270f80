// Modal dialogs: the owner disabled, a nested loop through IsDialogMessageA until EndDialog, then
// the owner enabled and active again.
#include "base/call_refusal.h"
#include "dialogs/dialog_creation.h"
#include "dialogs/dialog_focus.h"
#include "dialogs/dialog_state.h"
#include "dialogs/modal_dialog.h"
#include "user/message_pump.h"

namespace winplat::dialogs {
namespace {

// A modal dialog belongs to the owner's top-level window.
HWND topLevelOf(HWND window) {
    while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
    return window;
}

// Whether the dialog is over: ended by EndDialog, or destroyed under the loop (-1).
std::optional<INT_PTR> over(HWND dialog) {
    const std::shared_ptr<const DialogState> state = dialogState(dialog);
    if (!state) return -1;
    if (state->ended) return state->result;
    return std::nullopt;
}

// Runs the loop until the dialog ends; the result of EndDialog or of the host's answer. The
// answerer may end the dialog through its controls and take every message itself, so the end is
// looked for again after it acts.
INT_PTR loop(HWND dialog, const host::ModalLoop& modal) {
    std::optional<INT_PTR> result;
    INT_PTR answered = modal.cancelValue;  // also what a WM_QUIT or a stall ends the dialog with
    const user::ModalPump pump{&modal, &answered, [&] { return (result = over(dialog)).has_value(); },
                               "a dialog's modal loop"};
    MSG message{};
    for (;;) {
        if ((result = over(dialog))) return *result;
        // A WM_QUIT ends the dialog as cancelled; the pump posts it again for the program's loop.
        if (!user::nextModalMessage(message, pump)) return result.value_or(answered);
        if (!IsDialogMessageA(dialog, &message)) user::dispatchModal(message);
    }
}

}  // namespace

void endForWantOfMemory(HWND dialog) {
    CallRefuser("winplat: dialogs").log("no memory for the dialog's state");
    EndDialog(dialog, -1);
}

INT_PTR runModal(const DialogTemplate& t, const ModalRequest& request) {
    const HWND owner = topLevelOf(request.owner);
    const HWND dialog = createDialog(t, DialogRequest{request.instance, owner, request.procedure, request.param, true});
    if (!dialog) return -1;
    const bool disabledOwner = owner && IsWindowEnabled(owner);
    if (disabledOwner) EnableWindow(owner, FALSE);
    if (const std::shared_ptr<const DialogState> state = dialogState(dialog); state && !state->ended) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    const INT_PTR result = loop(dialog, host::ModalLoop{request.kind, request.name, dialog, IDCANCEL});
    if (disabledOwner) EnableWindow(owner, TRUE);
    if (IsWindow(dialog)) DestroyWindow(dialog);
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
    return result;
}

}  // namespace winplat::dialogs

using namespace winplat;
using namespace winplat::dialogs;

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure, LPARAM param) {
    const std::optional<DialogTemplate> t = loadDialogTemplate(instance, templateName, "winplat: DialogBoxParamA");
    if (!t) return -1;
    return runModal(*t, ModalRequest{instance, owner, procedure, param, host::ModalKind::Dialog,
                                     dialogs::templateName(templateName)});
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND owner, DLGPROC procedure,
                                LPARAM param) {
    const std::optional<DialogTemplate> t = readIndirect(dialogTemplate, "winplat: DialogBoxIndirectParamA");
    if (!t) return -1;
    return runModal(*t, ModalRequest{instance, owner, procedure, param, host::ModalKind::Dialog, t->caption});
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    constexpr CallRefuser refuse("winplat: EndDialog", ERROR_INVALID_WINDOW_HANDLE);
    const std::shared_ptr<DialogState> state = dialogState(dialog);
    if (!state) return refuse(FALSE, "not a dialog");
    state->ended = true;
    state->result = result;
    return TRUE;
}
