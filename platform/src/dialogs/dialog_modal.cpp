// Modal dialogs: the owner disabled, a nested loop through IsDialogMessageA until EndDialog, then
// the owner enabled and active again.
#include "base/call_refusal.h"
#include "dialogs/dialog_creation.h"
#include "dialogs/dialog_focus.h"
#include "dialogs/dialog_state.h"
#include "dialogs/modal_dialog.h"
#include "user/message_source.h"
#include "user/modal_loop.h"
#include "user/posted_queue.h"
#include "user/retrieval.h"

namespace winplat::dialogs {
namespace {

// A modal dialog belongs to the owner's top-level window.
HWND topLevelOf(HWND window) {
    while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
    return window;
}

// Whether the dialog is over: ended by EndDialog, or destroyed under the loop (-1).
std::optional<INT_PTR> over(HWND dialog) {
    const DialogState* state = dialogState(dialog);
    if (!state) return -1;
    if (state->ended) return state->result;
    return std::nullopt;
}

// Runs the loop until the dialog ends; the result of EndDialog or of the host's answer. The
// answerer may end the dialog through its controls and take every message itself, so the end is
// looked for again after it acts.
INT_PTR loop(HWND dialog, const host::ModalLoop& modal) {
    const user::MessageFilter all{};
    MSG message{};
    for (;;) {
        if (const std::optional<INT_PTR> result = over(dialog)) return *result;
        const uint64_t seen = user::postedQueue().serial();
        if (!user::fetchMessage(all, true, message)) {
            const host::ModalAnswer answer = host::modalIdle(modal);
            if (answer.end) return answer.result;
            if (const std::optional<INT_PTR> result = over(dialog)) return *result;
            if (!user::fetchMessage(all, true, message)) {
                if (!user::waitForMessage(all, seen, "a dialog's modal loop")) return modal.cancelValue;
                continue;
            }
        }
        if (message.message == WM_QUIT) {
            // Ends the dialog as cancelled; the quit goes on to the program's own loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            return modal.cancelValue;
        }
        if (!IsDialogMessageA(dialog, &message)) user::dispatchModal(message);
    }
}

}  // namespace

INT_PTR runModal(const DialogTemplate& t, const ModalRequest& request) {
    const HWND owner = topLevelOf(request.owner);
    const HWND dialog = createDialog(t, DialogRequest{request.instance, owner, request.procedure, request.param, true});
    if (!dialog) return -1;
    const bool disabledOwner = owner && IsWindowEnabled(owner);
    if (disabledOwner) EnableWindow(owner, FALSE);
    if (const DialogState* state = dialogState(dialog); state && !state->ended) {
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
    DialogState* state = dialogState(dialog);
    if (!state) return refuse(FALSE, "not a dialog");
    state->ended = true;
    state->result = result;
    return TRUE;
}
