#include "kernel/drive_path.h"

#include "winplat/paths.h"

namespace winplat {

std::string drivePathFromHost(std::string_view hostPath) {
    return files::toWindows(hostPath);
}

}  // namespace winplat
