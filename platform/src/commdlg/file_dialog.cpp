// What the open and save dialogs do while they run: browsing folders and drives, switching the
// type, and checking the name typed or picked before the dialog ends with it.
#include "commdlg/file_dialog.h"

#include <memory>
#include <optional>

#include "commdlg/common_dialog.h"
#include "commdlg/folder_listing.h"
#include "commdlg/folder_view.h"
#include "dialogs/modal_dialog.h"
#include "winplat/dialogs.h"
#include "winplat/dlgs.h"
#include "winplat/paths.h"

namespace winplat::commdlg {
namespace {

std::string nameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

void fillFiles(HWND dialog, const FolderListing& listing) {
    send(dialog, lst1, LB_RESETCONTENT);
    for (const std::string& name : listing.files) send(dialog, lst1, LB_ADDSTRING, 0, name.c_str());
}

// Shows a folder: its path, its subfolders, its files of the current type, its drive. False
// (and nothing changed) when it cannot be read.
bool showFolder(HWND dialog, FileDialogState& state, const std::string& folder) {
    const std::optional<FolderListing> listing = listFolder(folder, state.patterns);
    if (!listing) return false;
    state.folder = diskCase(folder);
    showFolders(dialog, state.folder, *listing);
    fillFiles(dialog, *listing);
    return true;
}

void refreshFiles(HWND dialog, FileDialogState& state) {
    if (const std::optional<FolderListing> listing = listFolder(state.folder, state.patterns)) {
        fillFiles(dialog, *listing);
    }
}

void showPatternsInEdit(HWND dialog, const FileDialogState& state) {
    SetDlgItemTextA(dialog, edt1, state.patterns.c_str());
    SendDlgItemMessageA(dialog, edt1, EM_SETSEL, 0, -1);
}

void pathMissing(HWND dialog, const std::string& path) {
    warn(dialog, path + "\nCesta neexistuje.\nZkontrolujte, zda je zad\xE1na spr\xE1vn\xE1 cesta.");
}

// A pattern typed in the edit, maybe after a folder: that folder is shown with the pattern.
void takePattern(HWND dialog, FileDialogState& state, const std::string& text) {
    const size_t slash = text.find_last_of("\\/:");
    if (slash != std::string::npos) {
        const std::string folderPart = text.substr(0, text[slash] == ':' ? slash + 1 : std::max<size_t>(slash, 1));
        const std::optional<std::string> folder = pathInFolder(state.folder, folderPart);
        if (!folder || !isFolder(*folder)) return pathMissing(dialog, folderPart);
        state.patterns = text.substr(slash + 1);
        showFolder(dialog, state, *folder);
    } else {
        state.patterns = text;
        refreshFiles(dialog, state);
    }
    showPatternsInEdit(dialog, state);
}

bool hasExtension(const std::string& path) { return nameOf(path).find('.') != std::string::npos; }

bool confirmOverwrite(HWND dialog, const FileDialogState& state, const std::string& path) {
    const std::string question = path + " ji\x9E existuje.\nChcete jej nahradit?";
    return MessageBoxA(dialog, question.c_str(), state.caption.c_str(), MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

// OK: a folder is entered, a pattern shown, a name checked as the flags ask and then taken.
void accept(HWND dialog, FileDialogState& state) {
    std::string text = itemText(dialog, edt1);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    while (!text.empty() && text.front() == ' ') text.erase(0, 1);
    if (text.empty()) return;
    if (isPattern(text)) return takePattern(dialog, state, text);
    std::optional<std::string> path = pathInFolder(state.folder, text);
    if (!path) return warn(dialog, text + "\nN\xE1zev souboru je neplatn\xFD.");
    if (isFolder(*path)) {
        if (showFolder(dialog, state, *path)) showPatternsInEdit(dialog, state);
        return;
    }
    if (!state.defaultExtension.empty() && !hasExtension(*path)) *path += "." + state.defaultExtension;
    const bool mustExist = state.flags & OFN_FILEMUSTEXIST;
    if ((mustExist || (state.flags & OFN_PATHMUSTEXIST)) && !isFolder(parentFolder(*path))) {
        return pathMissing(dialog, *path);
    }
    const bool exists = isFile(*path);
    if (mustExist && !exists) {
        return warn(dialog, *path + "\nSoubor nebyl nalezen.\nZkontrolujte, zda je zad\xE1n spr\xE1vn\xFD n\xE1zev souboru.");
    }
    if (state.save && exists && (state.flags & OFN_OVERWRITEPROMPT) && !confirmOverwrite(dialog, state, *path)) return;
    state.chosen = *path;
    state.readOnly = IsDlgButtonChecked(dialog, chx1) == BST_CHECKED;
    EndDialog(dialog, IDOK);
}

void enterFolder(HWND dialog, FileDialogState& state) {
    if (const std::optional<std::string> folder = selectedFolder(dialog, state.folder)) showFolder(dialog, state, *folder);
}

void changeDrive(HWND dialog, FileDialogState& state) {
    const std::optional<std::string> folder = selectedDriveFolder(dialog);
    if (folder && showFolder(dialog, state, *folder)) return;
    pathMissing(dialog, selectedComboText(dialog, cmb2) + "\\");
    selectDrive(dialog, state.folder);
}

void changeType(HWND dialog, FileDialogState& state) {
    const LRESULT index = send(dialog, cmb1, CB_GETCURSEL);
    if (index < 0 || static_cast<size_t>(index) >= state.filters.size()) return;
    state.filterIndex = static_cast<size_t>(index);
    state.patterns = state.filters[state.filterIndex].patterns;
    refreshFiles(dialog, state);
    const std::string text = itemText(dialog, edt1);
    if (text.empty() || isPattern(text)) showPatternsInEdit(dialog, state);
}

void initialise(HWND dialog, FileDialogState& state) {
    for (const FileFilter& filter : state.filters) send(dialog, cmb1, CB_ADDSTRING, 0, filter.description.c_str());
    send(dialog, cmb1, CB_SETCURSEL, state.filterIndex);
    fillDrives(dialog);
    if (state.flags & OFN_HIDEREADONLY) ShowWindow(GetDlgItem(dialog, chx1), SW_HIDE);
    CheckDlgButton(dialog, chx1, (state.flags & OFN_READONLY) ? BST_CHECKED : BST_UNCHECKED);
    showFolder(dialog, state, state.folder);
    SetDlgItemTextA(dialog, edt1, state.initialName.empty() ? state.patterns.c_str() : state.initialName.c_str());
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, edt1)), TRUE);
}

void command(HWND dialog, FileDialogState& state, WORD id, WORD code) {
    switch (id) {
        case IDOK: return accept(dialog, state);
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return;
        case lst1:
            if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
                SetDlgItemTextA(dialog, edt1, selectedListText(dialog, lst1).c_str());
            }
            if (code == LBN_DBLCLK) accept(dialog, state);
            return;
        case lst2:
            if (code == LBN_DBLCLK) enterFolder(dialog, state);
            return;
        case cmb1:
            if (code == CBN_SELCHANGE) changeType(dialog, state);
            return;
        case cmb2:
            if (code == CBN_SELCHANGE) changeDrive(dialog, state);
            return;
        default: return;
    }
}

}  // namespace

INT_PTR CALLBACK fileDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<FileDialogState> state = dialogs::modalCallState<FileDialogState>(dialog, message, lParam);
    if (!state) return FALSE;
    switch (message) {
        case WM_INITDIALOG:
            initialise(dialog, *state);
            return FALSE;  // the focus is on the name
        case WM_COMMAND:
            command(dialog, *state, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace winplat::commdlg
