// The program folder: where the drafting program finds its text table, menus, hook scripts and
// pictures, and writes its log and data files. It must be writable, so it is a folder of the
// user's: LINEWORK_HOME when set, else $XDG_DATA_HOME/linework, else ~/.local/share/linework. On
// the first start (and whenever a file of the kit is missing) the folder kit shipped beside the
// program is copied in; files already there are never overwritten, so the user's changes stay.
#ifndef LINEWORK_UI_PROGRAM_FOLDER_H
#define LINEWORK_UI_PROGRAM_FOLDER_H

#include <string>

namespace linework {

// The folder as a host path (no trailing "/"); empty when no home is known.
std::string ProgramFolderHostPath();

// The kit: LINEWORK_KIT when set, else "linework-kit" beside the executable.
std::string KitFolderHostPath();

// Copies every file of the kit that the folder lacks (sub-folders too), making the folder first;
// the number of files copied, -1 when the folder cannot be made.
int InstallKit(const std::string& kitFolder, const std::string& programFolder);

// The Windows form of a host folder, ending in "\".
std::string WindowsFolder(const std::string& hostFolder);

}  // namespace linework

#endif
