// Running a dialog template modally, for DialogBox... and for the layer's own boxes.
#ifndef WINPLAT_SRC_DIALOGS_MODAL_DIALOG_H
#define WINPLAT_SRC_DIALOGS_MODAL_DIALOG_H

#include <string>

#include "dialogs/dialog_template.h"
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

}  // namespace winplat::dialogs

#endif
