// Running a dialog template modally, for DialogBox... and for the layer's own boxes.
#ifndef WINPLAT_SRC_DIALOGS_MODAL_DIALOG_H
#define WINPLAT_SRC_DIALOGS_MODAL_DIALOG_H

#include <memory>
#include <string>

#include "dialogs/dialog_template.h"
#include "user/window_state.h"
#include "winplat/dialogs.h"
#include "winplat/host.h"

namespace winplat::dialogs {

struct ModalRequest {
    HINSTANCE instance = nullptr;
    HWND owner = nullptr;
    DLGPROC procedure = nullptr;
    LPARAM param = 0;
    host::ModalKind kind = host::ModalKind::Dialog;  // how a host answerer knows the loop
    std::string name;
};

// The result of EndDialog (or of the host's answer); -1 when the dialog cannot be made.
INT_PTR runModal(const DialogTemplate& dialogTemplate, const ModalRequest& request);

// Ends a dialog whose state could not be kept, as failed (-1).
void endForWantOfMemory(HWND dialog);

// For the procedure of a layer's own modal dialog (a message box, a common dialog): the state its
// call owns and hands over as WM_INITDIALOG's lParam, borrowed by the dialog from then until its
// WM_NCDESTROY (the call outlives the dialog it runs). The state for the message; null before
// WM_INITDIALOG, after WM_NCDESTROY, and when memory ran out (the dialog then ends as failed).
template <class T>
std::shared_ptr<T> modalCallState(HWND dialog, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* given = reinterpret_cast<T*>(lParam);
        if (!given) return nullptr;
        if (!user::attachWindowState(dialog, user::borrowedState(*given))) {
            endForWantOfMemory(dialog);
            return nullptr;
        }
    }
    std::shared_ptr<T> state = user::windowState<T>(dialog);
    if (message == WM_NCDESTROY) user::detachWindowState<T>(dialog);
    return state;
}

}  // namespace winplat::dialogs

#endif
