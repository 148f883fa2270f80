// Windows paths as the programs give them, and the host files they name.
//
// A Windows path is cp1250 bytes with a drive letter, '\' or '/' separators, '.' and '..'. Each
// drive letter stands for a host folder (the drive table: "C:" is "/" unless WINPLAT_DRIVES says
// otherwise). Names are UTF-8 on disk and found case-insensitively, one component at a time,
// the way a program written for a case-insensitive file system expects.
//
// Every call here is thread-safe. Failures return nothing and leave a Windows error code in the
// calling thread's last error.
#ifndef WINPLAT_PATHS_H
#define WINPLAT_PATHS_H

#include <optional>
#include <string>
#include <string_view>

#include "winplat/types.h"

namespace winplat::files {

// The absolute Windows form of a path: an upper-case drive letter, ":\", the components joined by
// '\', without '.', '..' (never above the drive root), repeated separators or trailing dots and
// spaces of a name; relative paths are taken from the current directory of their drive. Fails
// with ERROR_PATH_NOT_FOUND (empty path, drive not in the table, network path) or
// ERROR_INVALID_NAME (a character Windows does not allow in names).
WINPLAT_API std::optional<std::string> fullPath(std::string_view winPath);

// The host path (UTF-8) a Windows path names. Each component is first looked for by its exact
// name, then case-insensitively by the cp1250 rule; when several names differ only in case, the
// exact one wins, then the first in byte order. A missing folder fails with ERROR_PATH_NOT_FOUND;
// a missing last component fails with ERROR_FILE_NOT_FOUND unless 'forCreate' is set, in which
// case the path is given with the last name in the case the caller wrote it.
WINPLAT_API std::optional<std::string> resolve(std::string_view winPath, bool forCreate = false);

// A host path in drive form (cp1250): an absolute path is named under the drive whose folder
// holds it most closely ("/media/cd/a" -> "D:\a" when D: is "/media/cd"); runs of '/' count as
// one and a trailing '/' stays as '\'. A relative path keeps no drive. Characters cp1250 or
// Windows names cannot hold become '?'. Empty when no drive holds the path.
WINPLAT_API std::string toWindows(std::string_view hostPath);

}  // namespace winplat::files

#endif
