// Host paths as the programs see them: in drive form, in cp1250.
#ifndef WINPLAT_KERNEL_DRIVE_PATH_H
#define WINPLAT_KERNEL_DRIVE_PATH_H

#include <string>
#include <string_view>

#include "winplat/types.h"

namespace winplat {

// A host path (UTF-8) in drive form: "/a/b/c" -> "C:\a\b\c". Drive C: is the host root. Runs of
// '/' count as one separator; a relative path keeps no drive. Characters cp1250 cannot hold
// become '?'.
WINPLAT_API std::string drivePathFromHost(std::string_view hostPath);

}  // namespace winplat

#endif
