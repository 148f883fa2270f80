// Filling and reading the folder list, the folder's path and the drive list.
#include "commdlg/folder_view.h"

#include "commdlg/common_dialog.h"
#include "winplat/cp1250.h"
#include "winplat/dlgs.h"
#include "winplat/paths.h"

namespace winplat::commdlg {

std::optional<std::string> pathInFolder(const std::string& folder, const std::string& typed) {
    if (typed.empty()) return folder;
    const bool rooted = (typed.size() >= 2 && typed[1] == ':') || typed.front() == '\\' || typed.front() == '/';
    return files::fullPath(rooted ? typed : (isDriveRoot(folder) ? folder : folder + "\\") + typed);
}

std::string parentFolder(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos || slash <= 2 ? path.substr(0, 3) : path.substr(0, slash);
}

bool isDriveRoot(const std::string& folder) { return folder.size() <= 3; }

void fillDrives(HWND dialog) {
    for (const std::string& drive : driveNames()) send(dialog, cmb2, CB_ADDSTRING, 0, drive.c_str());
}

void showFolders(HWND dialog, const std::string& folder, const FolderListing& listing, const std::string& top) {
    SetDlgItemTextA(dialog, stc1, folder.c_str());
    send(dialog, lst2, LB_RESETCONTENT);
    const bool atTop = isDriveRoot(folder) || cp1250::lower(folder) == cp1250::lower(top);
    if (!atTop) send(dialog, lst2, LB_ADDSTRING, 0, kParentFolder);
    for (const std::string& name : listing.folders) send(dialog, lst2, LB_ADDSTRING, 0, name.c_str());
    selectDrive(dialog, folder);
}

std::optional<std::string> selectedFolder(HWND dialog, const std::string& folder) {
    const std::string name = selectedListText(dialog, lst2);
    if (name.empty()) return std::nullopt;
    return name == kParentFolder ? parentFolder(folder) : pathInFolder(folder, name);
}

std::optional<std::string> selectedDriveFolder(HWND dialog) {
    const std::string drive = selectedComboText(dialog, cmb2);
    if (drive.empty()) return std::nullopt;
    return files::fullPath(drive);  // a drive alone names its current folder
}

void selectDrive(HWND dialog, const std::string& folder) {
    send(dialog, cmb2, CB_SELECTSTRING, static_cast<WPARAM>(-1), folder.substr(0, 2).c_str());
}

}  // namespace winplat::commdlg
