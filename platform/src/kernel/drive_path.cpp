#include "kernel/drive_path.h"

#include "winplat/cp1250.h"

namespace winplat {

std::string drivePathFromHost(std::string_view hostPath) {
    std::string path;
    path.reserve(hostPath.size() + 2);
    if (!hostPath.empty() && hostPath.front() == '/') path = "C:";
    bool lastWasSeparator = false;
    for (char c : hostPath) {
        const bool separator = c == '/';
        // "C:\a\\b" would read as a different path to code that splits on '\'.
        if (separator && lastWasSeparator) continue;
        path += separator ? '\\' : c;
        lastWasSeparator = separator;
    }
    // Converted after the separators are in place: '/' and '\' are ASCII in both encodings.
    return cp1250::fromUtf8(path);
}

}  // namespace winplat
