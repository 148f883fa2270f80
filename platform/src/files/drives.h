// The drive table and the current directories, for the other parts of the files area.
#ifndef WINPLAT_FILES_DRIVES_H
#define WINPLAT_FILES_DRIVES_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winplat::files {

// Where a Windows path points: its drive's host folder and the cp1250 components below it, already
// freed of '.', '..' and empty names.
struct Location {
    char drive = 0;  // 'A'..'Z'
    std::string hostRoot;
    std::vector<std::string> components;
};

// The location of a Windows path, or nothing with the last error set (see fullPath).
std::optional<Location> locate(std::string_view winPath);

// "C:\a\b", or "C:\" for the root.
std::string windowsForm(const Location& location);

// Makes the location the current directory of its drive and that drive the current one.
void setCurrentDirectory(const Location& location);

}  // namespace winplat::files

#endif
