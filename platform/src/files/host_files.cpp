#include "files/host_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "winplat/base.h"
#include "winplat/files.h"

namespace winplat::files {

DWORD errorFromErrno(int error, DWORD missing) {
    switch (error) {
        case 0:
            return NO_ERROR;
        case ENOENT:
            return missing;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
        case ENOTEMPTY:
            return ERROR_ALREADY_EXISTS;
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EXDEV:
            return ERROR_NOT_SAME_DEVICE;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        default:
            return ERROR_INVALID_PARAMETER;
    }
}

std::string joinHost(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    return path;
}

bool isFolder(const std::string& hostPath) {
    struct stat status {};
    return ::stat(hostPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isReadOnly(const std::string& hostPath, const struct stat& status) {
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::faccessat(AT_FDCWD, hostPath.c_str(), W_OK, AT_EACCESS) != 0;
}

}  // namespace winplat::files
