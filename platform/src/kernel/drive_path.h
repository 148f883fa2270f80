// Host paths as the programs see them: in drive form, in cp1250.
#ifndef WINPLAT_KERNEL_DRIVE_PATH_H
#define WINPLAT_KERNEL_DRIVE_PATH_H

#include <string>
#include <string_view>

#include "winplat/types.h"

namespace winplat {

// A host path (UTF-8) in drive form through the drive table: "/a/b/c" -> "C:\a\b\c" while C: is the
// host root. See files::toWindows.
std::string drivePathFromHost(std::string_view hostPath);

}  // namespace winplat

#endif
