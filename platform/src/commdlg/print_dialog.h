// The print and print setup dialogs: their state while they run, the layer's templates and the
// procedure that passes each message to the program's hook first.
#ifndef WINPLAT_SRC_COMMDLG_PRINT_DIALOG_H
#define WINPLAT_SRC_COMMDLG_PRINT_DIALOG_H

#include "print/printer_settings.h"
#include "dialogs/template_bytes.h"
#include "winplat/commdlg.h"

namespace winplat::commdlg {

using print::kPrinters;
using print::PrinterSettings;

// What the print dialog's range controls chose.
enum class PrintRange : uint8_t { All, Selection, Pages };

struct PrintDialogState {
    PRINTDLGA* record = nullptr;  // what the hook's WM_INITDIALOG gets
    bool setup = false;
    LPPRINTHOOKPROC hook = nullptr;
    PrinterSettings settings;
    bool toFile = false;
    // Whether the dialog had range controls; only then do the choices below go back.
    bool rangeShown = false;
    PrintRange range = PrintRange::All;
    WORD fromPage = 0;
    WORD toPage = 0;
};

dialogs::TemplateBytes printDialogTemplate();
dialogs::TemplateBytes printSetupTemplate();

INT_PTR CALLBACK printDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winplat::commdlg

#endif
