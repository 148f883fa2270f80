// C streams on Windows paths: the stdio codecs and the drafting program's text and byte files open
// the same translated host files as the Windows file calls.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>

#include "files/host_files.h"
#include "winplat/paths.h"
#include "winplat/base.h"
#include "winplat/files.h"
#include "winplat/stdio_bridge.h"

namespace {

int errnoFromError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        default:
            return EINVAL;
    }
}

FILE* failWith(int error) {
    errno = error;
    return nullptr;
}

}  // namespace

FILE* winplat_fopen(const char* winPath, const char* mode) {
    if (!winPath || !mode) return failWith(EINVAL);
    const char kind = mode[0];
    if (kind != 'r' && kind != 'w' && kind != 'a') return failWith(EINVAL);
    std::string hostMode(1, kind);
    bool update = false;
    for (const char* c = mode + 1; *c; ++c) {
        if (*c == '+' || *c == 'b')
            hostMode += *c;
        else if (*c != 't')
            return failWith(EINVAL);
        update = update || *c == '+';
    }
    // The descriptor must not leak into programs the layer starts.
    hostMode += 'e';

    if (kind == 'r' && !update) {
        // Most names are given as they are spelt on disk: the open itself is then the look-up,
        // and only a name that does not open so is looked for case-insensitively.
        if (const std::optional<std::string> exact = winplat::files::exactHostPath(winPath)) {
            if (FILE* file = std::fopen(exact->c_str(), hostMode.c_str())) return file;
        }
    }
    const std::optional<std::string> path = winplat::files::resolve(winPath, kind != 'r');
    if (!path) return failWith(errnoFromError(GetLastError()));
    if (kind != 'r' || update) {
        struct stat status {};
        if (::stat(path->c_str(), &status) == 0) {
            if (S_ISDIR(status.st_mode)) return failWith(EISDIR);
            if (winplat::files::isReadOnly(*path, status)) return failWith(EACCES);
        }
    }
    return std::fopen(path->c_str(), hostMode.c_str());
}
