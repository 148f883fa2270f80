// The layout of the open and save dialogs, in dialog units: the name edit over the file list at
// the left, the current folder over the folder list beside it, the type and drive lists below
// them, the buttons and the read-only box at the right.
#include "commdlg/common_dialog.h"
#include "commdlg/file_dialog.h"
#include "winplat/dlgs.h"

namespace winplat::commdlg {
namespace {

constexpr DWORD kList = LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE | WS_GROUP;
constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_TABSTOP | WS_VISIBLE | WS_GROUP;
constexpr DWORD kLabel = SS_LEFT | WS_VISIBLE;

}  // namespace

dialogs::TemplateBytes fileDialogTemplate(const std::string& caption) {
    dialogs::TemplateBytes t(kDialogStyle, 0, {0, 0, 266, 134}, caption, kPointSize, kFace);
    t.addItem(kLabel, 0, {6, 6, 90, 9}, kLabelId, "STATIC", "N\xE1zev &souboru:");
    t.addItem(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {6, 16, 90, 12}, edt1, "EDIT", "");
    t.addItem(kList, 0, {6, 32, 90, 68}, lst1, "LISTBOX", "");
    t.addItem(kLabel, 0, {110, 6, 92, 9}, kLabelId, "STATIC", "S&lo\x9Eky:");
    t.addItem(kLabel | SS_NOPREFIX, 0, {110, 18, 92, 9}, stc1, "STATIC", "");
    t.addItem(kList, 0, {110, 32, 92, 68}, lst2, "LISTBOX", "");
    t.addItem(kLabel, 0, {6, 104, 90, 9}, kLabelId, "STATIC", "&Typ souboru:");
    t.addItem(kDropList, 0, {6, 114, 90, 60}, cmb1, "COMBOBOX", "");
    t.addItem(kLabel, 0, {110, 104, 92, 9}, kLabelId, "STATIC", "&Jednotky:");
    t.addItem(kDropList, 0, {110, 114, 92, 60}, cmb2, "COMBOBOX", "");
    t.addItem(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {208, 6, 50, 14}, IDOK, "BUTTON", "OK");
    t.addItem(BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {208, 24, 50, 14}, IDCANCEL, "BUTTON", "Storno");
    t.addItem(BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {208, 68, 54, 12}, chx1, "BUTTON",
              "Jen &pro \xE8ten\xED");
    return t;
}

}  // namespace winplat::commdlg
