// The print dialog (printer, copies, printing to a file) and the setup dialog (printer, paper,
// orientation), each reading its standard controls on OK; a program's hook sees every message
// first and ends the dialog's own handling of it with a nonzero answer.
#include "commdlg/print_dialog.h"

#include <memory>
#include <string>

#include "commdlg/common_dialog.h"
#include "dialogs/modal_dialog.h"
#include "winplat/dialogs.h"
#include "winplat/dlgs.h"

namespace winplat::commdlg {
namespace {

constexpr int kMostCopies = 9999;
constexpr WORD kNoPage = 0xFFFF;  // nFromPage or nToPage without a number
constexpr DWORD kButton = WS_TABSTOP | WS_VISIBLE | WS_GROUP;
constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_TABSTOP | WS_VISIBLE | WS_GROUP;

void fillPrinters(HWND dialog, const PrinterSettings& settings) {
    for (const char* printer : kPrinters) send(dialog, cmb4, CB_ADDSTRING, 0, printer);
    send(dialog, cmb4, CB_SELECTSTRING, static_cast<WPARAM>(-1), settings.device.c_str());
}

void enable(HWND dialog, int id, bool enabled) {
    if (const HWND control = GetDlgItem(dialog, id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

// The range radios and the page edits, from the record's flags and pages.
void initialiseRange(HWND dialog, const PRINTDLGA& pd) {
    const int chosen = (pd.Flags & PD_PAGENUMS) ? rad3 : (pd.Flags & PD_SELECTION) ? rad2 : rad1;
    CheckRadioButton(dialog, rad1, rad3, chosen);
    if (pd.nFromPage != kNoPage) SetDlgItemInt(dialog, edt1, pd.nFromPage, FALSE);
    if (pd.nToPage != kNoPage) SetDlgItemInt(dialog, edt2, pd.nToPage, FALSE);
    enable(dialog, rad2, !(pd.Flags & PD_NOSELECTION));
    for (const int id : {rad3, edt1, edt2}) enable(dialog, id, !(pd.Flags & PD_NOPAGENUMS));
}

// The range chosen; false (the dialog stays, the person told why) for pages outside the
// record's bounds or the wrong way round.
bool readRange(HWND dialog, PrintDialogState& state) {
    state.rangeShown = GetDlgItem(dialog, rad1) || GetDlgItem(dialog, rad2) || GetDlgItem(dialog, rad3);
    if (!state.rangeShown) return true;
    state.range = IsDlgButtonChecked(dialog, rad3) == BST_CHECKED   ? PrintRange::Pages
                  : IsDlgButtonChecked(dialog, rad2) == BST_CHECKED ? PrintRange::Selection
                                                                    : PrintRange::All;
    if (state.range != PrintRange::Pages) return true;
    BOOL fromRead = FALSE, toRead = FALSE;
    const UINT from = GetDlgItemInt(dialog, edt1, &fromRead, FALSE);
    UINT to = GetDlgItemInt(dialog, edt2, &toRead, FALSE);
    if (!toRead && GetWindowTextLengthA(GetDlgItem(dialog, edt2)) == 0) to = from, toRead = fromRead;  // one page
    const PRINTDLGA& pd = *state.record;
    const auto within = [&pd](UINT page) { return page >= pd.nMinPage && page <= pd.nMaxPage; };
    if (!fromRead || !toRead || !within(from) || !within(to) || from > to) {
        warn(dialog, "Str\xE1nky mus\xED b\xFDt od " + std::to_string(pd.nMinPage) + " do " + std::to_string(pd.nMaxPage) +
                         " a prvn\xED nesm\xED b\xFDt za posledn\xED.");
        return false;
    }
    state.fromPage = static_cast<WORD>(from);
    state.toPage = static_cast<WORD>(to);
    return true;
}

void initialise(HWND dialog, PrintDialogState& state) {
    fillPrinters(dialog, state.settings);
    if (state.setup) {
        send(dialog, cmb3, CB_ADDSTRING, 0, "A4");
        send(dialog, cmb3, CB_ADDSTRING, 0, "Letter");
        send(dialog, cmb3, CB_SETCURSEL, state.settings.paper == DMPAPER_A4 ? 0 : 1);
        CheckRadioButton(dialog, rad1, rad2, state.settings.orientation == DMORIENT_LANDSCAPE ? rad2 : rad1);
        return;
    }
    SetDlgItemInt(dialog, edt3, static_cast<UINT>(state.record->nCopies ? state.record->nCopies : 1), FALSE);
    const DWORD flags = state.record->Flags;
    initialiseRange(dialog, *state.record);
    CheckDlgButton(dialog, chx1, (flags & PD_PRINTTOFILE) ? BST_CHECKED : BST_UNCHECKED);
    if (flags & PD_DISABLEPRINTTOFILE) EnableWindow(GetDlgItem(dialog, chx1), FALSE);
    if (flags & PD_HIDEPRINTTOFILE) ShowWindow(GetDlgItem(dialog, chx1), SW_HIDE);
    EnableWindow(GetDlgItem(dialog, psh2), FALSE);
}

// Reads the controls into the state; false (the dialog stays) for a number of copies out of range.
bool readControls(HWND dialog, PrintDialogState& state) {
    const std::string printer = selectedComboText(dialog, cmb4);
    if (!printer.empty()) state.settings.device = printer;
    if (state.setup) {
        state.settings.paper = send(dialog, cmb3, CB_GETCURSEL) == 1 ? DMPAPER_LETTER : DMPAPER_A4;
        state.settings.orientation = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        return true;
    }
    BOOL translated = FALSE;
    const UINT copies = GetDlgItemInt(dialog, edt3, &translated, FALSE);
    if (GetDlgItem(dialog, edt3) && (!translated || copies < 1 || copies > kMostCopies)) {
        warn(dialog, "Po\xE8" "et kopi\xED mus\xED b\xFDt \xE8\xEDslo od 1 do 9999.");
        return false;
    }
    if (!readRange(dialog, state)) return false;
    if (translated) state.settings.copies = static_cast<short>(copies);
    state.toFile = IsDlgButtonChecked(dialog, chx1) == BST_CHECKED;
    return true;
}

INT_PTR ownHandling(HWND dialog, PrintDialogState& state, UINT message, WPARAM wParam) {
    if (message != WM_COMMAND) return FALSE;
    const WORD id = LOWORD(wParam);
    // Typing a page number chooses the page range, as a person means by it.
    if (HIWORD(wParam) == EN_CHANGE && (id == edt1 || id == edt2) && GetFocus() == GetDlgItem(dialog, id)) {
        CheckRadioButton(dialog, rad1, rad3, rad3);
        return TRUE;
    }
    if (id == IDOK && readControls(dialog, state)) EndDialog(dialog, IDOK);
    if (id == IDCANCEL) EndDialog(dialog, IDCANCEL);
    return TRUE;
}

}  // namespace

dialogs::TemplateBytes printDialogTemplate() {
    dialogs::TemplateBytes t(kDialogStyle, 0, {0, 0, 230, 150}, "Tisk", kPointSize, kFace);
    t.addItem(SS_LEFT | WS_VISIBLE, 0, {6, 8, 40, 9}, kLabelId, "STATIC", "&Tisk\xE1rna:");
    t.addItem(kDropList, 0, {48, 6, 120, 60}, cmb4, "COMBOBOX", "");
    t.addItem(BS_PUSHBUTTON | kButton, 0, {172, 6, 52, 14}, psh2, "BUTTON", "&Vlastnosti...");
    t.addItem(SS_LEFT | WS_VISIBLE, 0, {6, 30, 40, 9}, kLabelId, "STATIC", "&Kopie:");
    t.addItem(ES_NUMBER | WS_BORDER | kButton, 0, {48, 28, 30, 12}, edt3, "EDIT", "");
    t.addItem(BS_GROUPBOX | WS_VISIBLE, 0, {6, 46, 218, 56}, kLabelId, "BUTTON", "Rozsah tisku");
    t.addItem(BS_AUTORADIOBUTTON | kButton, 0, {12, 58, 60, 10}, rad1, "BUTTON", "&V\x9A" "e");
    t.addItem(BS_AUTORADIOBUTTON | WS_VISIBLE, 0, {12, 72, 60, 10}, rad2, "BUTTON", "V\xFD" "b\xECr");
    t.addItem(BS_AUTORADIOBUTTON | WS_VISIBLE, 0, {12, 86, 50, 10}, rad3, "BUTTON", "Str\xE1n&ky");
    t.addItem(SS_LEFT | WS_VISIBLE, 0, {66, 87, 14, 9}, kLabelId, "STATIC", "&od:");
    t.addItem(ES_NUMBER | WS_BORDER | kButton, 0, {82, 85, 30, 12}, edt1, "EDIT", "");
    t.addItem(SS_LEFT | WS_VISIBLE, 0, {118, 87, 14, 9}, kLabelId, "STATIC", "&do:");
    t.addItem(ES_NUMBER | WS_BORDER | kButton, 0, {134, 85, 30, 12}, edt2, "EDIT", "");
    t.addItem(BS_AUTOCHECKBOX | kButton, 0, {6, 108, 120, 12}, chx1, "BUTTON", "Tisk do &souboru");
    t.addItem(BS_DEFPUSHBUTTON | kButton, 0, {118, 130, 50, 14}, IDOK, "BUTTON", "OK");
    t.addItem(BS_PUSHBUTTON | kButton, 0, {174, 130, 50, 14}, IDCANCEL, "BUTTON", "Storno");
    return t;
}

dialogs::TemplateBytes printSetupTemplate() {
    dialogs::TemplateBytes t(kDialogStyle, 0, {0, 0, 230, 96}, "Nastaven\xED tisku", kPointSize, kFace);
    t.addItem(SS_LEFT | WS_VISIBLE, 0, {6, 8, 40, 9}, kLabelId, "STATIC", "&Tisk\xE1rna:");
    t.addItem(kDropList, 0, {48, 6, 120, 60}, cmb4, "COMBOBOX", "");
    t.addItem(SS_LEFT | WS_VISIBLE, 0, {6, 28, 40, 9}, kLabelId, "STATIC", "&Pap\xEDr:");
    t.addItem(kDropList, 0, {48, 26, 120, 60}, cmb3, "COMBOBOX", "");
    t.addItem(BS_AUTORADIOBUTTON | kButton, 0, {6, 46, 80, 12}, rad1, "BUTTON", "Na &v\xFD\x9Aku");
    t.addItem(BS_AUTORADIOBUTTON | WS_TABSTOP | WS_VISIBLE, 0, {90, 46, 80, 12}, rad2, "BUTTON", "Na \x9A\xED\xF8ku");
    t.addItem(BS_DEFPUSHBUTTON | kButton, 0, {118, 76, 50, 14}, IDOK, "BUTTON", "OK");
    t.addItem(BS_PUSHBUTTON | kButton, 0, {174, 76, 50, 14}, IDCANCEL, "BUTTON", "Storno");
    return t;
}

INT_PTR CALLBACK printDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<PrintDialogState> held = dialogs::modalCallState<PrintDialogState>(dialog, message, lParam);
    if (!held) return FALSE;
    PrintDialogState& state = *held;
    if (message == WM_INITDIALOG) {
        initialise(dialog, state);
        // The hook sets up its own controls over the standard ones, with the record in hand.
        return state.hook ? static_cast<INT_PTR>(state.hook(dialog, message, wParam, reinterpret_cast<LPARAM>(state.record)))
                          : TRUE;
    }
    if (state.hook) {
        if (const UINT_PTR answer = state.hook(dialog, message, wParam, lParam)) return static_cast<INT_PTR>(answer);
    }
    return ownHandling(dialog, state, message, wParam);
}

}  // namespace winplat::commdlg
