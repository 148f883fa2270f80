// The print and print setup dialogs: their state while they run, the layer's templates and the
// procedure that passes each message to the program's hook first.
#ifndef WINPLAT_SRC_COMMDLG_PRINT_DIALOG_H
#define WINPLAT_SRC_COMMDLG_PRINT_DIALOG_H

#include "commdlg/printer_settings.h"
#include "dialogs/template_bytes.h"
#include "winplat/commdlg.h"

namespace winplat::commdlg {

struct PrintDialogState {
    PRINTDLGA* record = nullptr;  // what the hook's WM_INITDIALOG gets
    bool setup = false;
    LPPRINTHOOKPROC hook = nullptr;
    PrinterSettings settings;
    bool toFile = false;
};

dialogs::TemplateBytes printDialogTemplate();
dialogs::TemplateBytes printSetupTemplate();

INT_PTR CALLBACK printDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winplat::commdlg

#endif
