// The folder part the file dialogs and the folder browser share: the current folder's path
// (stc1), its parent and subfolders (lst2) and the drives (cmb2).
#ifndef WINPLAT_SRC_COMMDLG_FOLDER_VIEW_H
#define WINPLAT_SRC_COMMDLG_FOLDER_VIEW_H

#include <optional>
#include <string>

#include "commdlg/folder_listing.h"
#include "winplat/user.h"

namespace winplat::commdlg {

inline constexpr const char* kParentFolder = "..";

// "T:\a" + "b" -> "T:\a\b", in absolute form; a name with its own drive or root stands alone.
std::optional<std::string> pathInFolder(const std::string& folder, const std::string& typed);
// "T:\a\b" -> "T:\a"; "T:\a" -> "T:\".
std::string parentFolder(const std::string& path);
bool isDriveRoot(const std::string& folder);

void fillDrives(HWND dialog);
// Shows the folder's path and subfolders, with ".." unless it is 'top' or a drive's root, and
// selects its drive.
void showFolders(HWND dialog, const std::string& folder, const FolderListing& listing, const std::string& top = {});
// The folder an item of lst2 names, seen from 'folder'; none when no item is selected.
std::optional<std::string> selectedFolder(HWND dialog, const std::string& folder);
// The current folder of the drive selected in cmb2.
std::optional<std::string> selectedDriveFolder(HWND dialog);
void selectDrive(HWND dialog, const std::string& folder);

}  // namespace winplat::commdlg

#endif
