// Making a dialog from its template: the window, the font and base units, the controls in
// template order, and WM_INITDIALOG with its focus rule.
#ifndef WINPLAT_SRC_DIALOGS_DIALOG_CREATION_H
#define WINPLAT_SRC_DIALOGS_DIALOG_CREATION_H

#include <optional>
#include <string>

#include "dialogs/dialog_template.h"
#include "winplat/dialogs.h"

namespace winplat::dialogs {

struct DialogRequest {
    HINSTANCE instance = nullptr;
    HWND owner = nullptr;
    DLGPROC procedure = nullptr;
    LPARAM param = 0;
    bool modal = false;  // made hidden: the modal loop shows it
};

// The dialog, or null (with the refusal logged) when its window or a control cannot be made.
HWND createDialog(const DialogTemplate& dialogTemplate, const DialogRequest& request);

// A module's RT_DIALOG resource read; none, with the refusal logged, when it is missing or
// damaged.
std::optional<DialogTemplate> loadDialogTemplate(HINSTANCE instance, LPCSTR name, const char* caller);

// A template given by address, read within a generous bound; none, with the refusal logged, when
// it is missing or damaged.
std::optional<DialogTemplate> readIndirect(const DLGTEMPLATE* dialogTemplate, const char* caller);

// The name a host answerer knows a template by: the text, or "#id" for a number.
std::string templateName(LPCSTR name);

}  // namespace winplat::dialogs

#endif
