// Host file system helpers shared by the file calls.
#ifndef WINPLAT_FILES_HOST_FILES_H
#define WINPLAT_FILES_HOST_FILES_H

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "winplat/types.h"

namespace winplat::files {

// The Windows error for an errno of a host file call; 'missing' is what ENOENT means at that
// point (a missing file, or a missing folder on the way to it).
DWORD errorFromErrno(int error, DWORD missing = ERROR_FILE_NOT_FOUND);

// "dir" + "/" + name, without doubling the '/' after the root.
std::string joinHost(std::string_view folder, std::string_view name);

bool isFolder(const std::string& hostPath);

// What Windows would call a read-only file: one the process may not write, or one no one may
// (no write bit at all), so that a file marked read-only stays so for a privileged process too.
bool isReadOnly(const std::string& hostPath, const struct stat& status);

}  // namespace winplat::files

#endif
