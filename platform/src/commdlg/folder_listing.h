// What the file dialogs show of a folder: its subfolders and the files that match a pattern.
#ifndef WINPLAT_SRC_COMMDLG_FOLDER_LISTING_H
#define WINPLAT_SRC_COMMDLG_FOLDER_LISTING_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winplat::commdlg {

struct FolderListing {
    std::vector<std::string> folders;  // cp1250 names, in name order (case-insensitive)
    std::vector<std::string> files;
};

// The listing of a Windows folder; hidden names (a leading '.') are left out. None when the
// folder cannot be read.
std::optional<FolderListing> listFolder(std::string_view winFolder, std::string_view patterns);

// Whether a Windows path names an existing folder, an existing file.
bool isFolder(std::string_view winPath);
bool isFile(std::string_view winPath);

// An existing folder's path with its names in the case they have on disk ("T:\DOCS" -> "T:\docs");
// the path as given when it cannot be resolved.
std::string diskCase(const std::string& winFolder);

// The current directory ("C:\\" when it cannot be had).
std::string currentFolder();

// The drives of the drive table ("C:", "T:"), in letter order.
std::vector<std::string> driveNames();

}  // namespace winplat::commdlg

#endif
