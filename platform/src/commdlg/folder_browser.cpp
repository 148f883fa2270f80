// SHBrowseForFolderA: a dialog of the caller's title over the current folder, its subfolders, a
// name edit and the drives; OK takes the folder typed, else the subfolder selected, else the
// folder shown.
#include <memory>
#include <optional>
#include <string>

#include "commdlg/common_dialog.h"
#include "commdlg/folder_listing.h"
#include "commdlg/folder_view.h"
#include "commdlg/item_list.h"
#include "dialogs/modal_dialog.h"
#include "winplat/cp1250.h"
#include "winplat/dlgs.h"
#include "winplat/files.h"
#include "winplat/refusal.h"
#include "winplat/shell.h"

namespace winplat::commdlg {
namespace {

constexpr WORD kTitleId = stc1 + 1;
constexpr Refuser kRefuse("winplat: SHBrowseForFolderA");

struct BrowserState {
    std::string title;
    std::string top;     // the folder the browser does not leave; empty: none
    std::string folder;  // shown
    std::string chosen;
};

dialogs::TemplateBytes browserTemplate() {
    dialogs::TemplateBytes t(kDialogStyle, 0, {0, 0, 200, 172}, "Vyhledat slo\x9Eku", kPointSize, kFace);
    t.addItem(SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0, {6, 6, 188, 18}, kTitleId, "STATIC", "");
    t.addItem(SS_LEFT | WS_VISIBLE, 0, {6, 28, 188, 9}, kLabelId, "STATIC", "&Slo\x9Eka:");
    t.addItem(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {6, 38, 188, 12}, edt1, "EDIT", "");
    t.addItem(SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0, {6, 54, 188, 9}, stc1, "STATIC", "");
    t.addItem(LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {6, 66, 188, 72}, lst2,
              "LISTBOX", "");
    t.addItem(CBS_DROPDOWNLIST | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {6, 152, 96, 60}, cmb2, "COMBOBOX", "");
    t.addItem(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {106, 152, 42, 14}, IDOK, "BUTTON", "OK");
    t.addItem(BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, {152, 152, 42, 14}, IDCANCEL, "BUTTON", "Storno");
    return t;
}

// Whether a folder lies at or below the top folder (any folder when there is none).
bool withinTop(const BrowserState& state, const std::string& folder) {
    if (state.top.empty()) return true;
    const std::string top = cp1250::lower(state.top), path = cp1250::lower(folder);
    if (path.compare(0, top.size(), top) != 0) return false;
    return path.size() == top.size() || isDriveRoot(top) || path[top.size()] == '\\';
}

bool show(HWND dialog, BrowserState& state, const std::string& folder) {
    const std::string found = diskCase(folder);
    if (!withinTop(state, found)) return false;
    const std::optional<FolderListing> listing = listFolder(found, "");
    if (!listing) return false;
    state.folder = found;
    showFolders(dialog, found, *listing, state.top);
    return true;
}

void accept(HWND dialog, BrowserState& state) {
    const std::string typed = itemText(dialog, edt1);
    std::optional<std::string> folder = state.folder;
    if (!typed.empty()) folder = pathInFolder(state.folder, typed);
    else if (selectedListText(dialog, lst2) != kParentFolder) folder = selectedFolder(dialog, state.folder).value_or(state.folder);
    if (!folder || !isFolder(*folder) || !withinTop(state, diskCase(*folder))) {
        return warn(dialog, (typed.empty() ? state.folder : typed) + "\nSlo\x9Eka neexistuje.");
    }
    state.chosen = diskCase(*folder);
    EndDialog(dialog, IDOK);
}

void command(HWND dialog, BrowserState& state, WORD id, WORD code) {
    switch (id) {
        case IDOK: return accept(dialog, state);
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return;
        case lst2:
            if (code == LBN_DBLCLK) {
                if (const std::optional<std::string> folder = selectedFolder(dialog, state.folder)) show(dialog, state, *folder);
            }
            return;
        case cmb2:
            if (code != CBN_SELCHANGE) return;
            if (const std::optional<std::string> folder = selectedDriveFolder(dialog); folder && show(dialog, state, *folder)) return;
            selectDrive(dialog, state.folder);
            return;
        default: return;
    }
}

INT_PTR CALLBACK browserProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<BrowserState> held = dialogs::modalCallState<BrowserState>(dialog, message, lParam);
    if (!held) return FALSE;
    BrowserState& state = *held;
    if (message == WM_INITDIALOG) {
        SetDlgItemTextA(dialog, kTitleId, state.title.c_str());
        fillDrives(dialog);
        // Below a top folder the drives lead nowhere else.
        if (!state.top.empty()) EnableWindow(GetDlgItem(dialog, cmb2), FALSE);
        if (!show(dialog, state, state.folder)) show(dialog, state, state.top.empty() ? "C:\\" : state.top);
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, lst2)), TRUE);
        return FALSE;
    }
    if (message != WM_COMMAND) return FALSE;
    command(dialog, state, LOWORD(wParam), HIWORD(wParam));
    return TRUE;
}

std::string nameOf(const std::string& folder) {
    return isDriveRoot(folder) ? folder : folder.substr(folder.rfind('\\') + 1);
}

LPITEMIDLIST browse(LPBROWSEINFOA info) {
    if (!info) return kRefuse(LPITEMIDLIST{}, "no description");
    if (info->lpfn) return kRefuse(LPITEMIDLIST{}, "callbacks are not offered");
    if (info->ulFlags & (BIF_BROWSEFORCOMPUTER | BIF_BROWSEFORPRINTER)) {
        return kRefuse(LPITEMIDLIST{}, "only folders can be browsed");
    }
    BrowserState state;
    if (info->lpszTitle) state.title = info->lpszTitle;
    if (info->pidlRoot) {
        const std::optional<std::string> top = pathOfItemList(info->pidlRoot);
        if (!top || !isFolder(*top)) return kRefuse(LPITEMIDLIST{}, "the root item list names no folder");
        state.top = diskCase(*top);
    }
    state.folder = state.top.empty() ? currentFolder() : state.top;
    const dialogs::TemplateBytes bytes = browserTemplate();
    const INT_PTR result = runCommonDialog(bytes, info->hwndOwner, browserProcedure, reinterpret_cast<LPARAM>(&state),
                                           "SHBrowseForFolder");
    if (result != IDOK || state.chosen.empty()) return nullptr;
    copyCut(nameOf(state.chosen), info->pszDisplayName, MAX_PATH);
    return makeItemList(state.chosen);
}

}  // namespace
}  // namespace winplat::commdlg

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info) { return winplat::commdlg::browse(info); }
