// Calls on names rather than handles: delete, move, folders, attributes and temporary names.
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "base/call_refusal.h"
#include "files/drives.h"
#include "files/host_files.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/files.h"
#include "winplat/paths.h"

namespace winplat::files {
namespace {

bool failWith(DWORD error) {
    SetLastError(error);
    return false;
}

std::string_view lastHostName(std::string_view path) {
    return path.substr(path.rfind('/') + 1);
}

std::string folderOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return std::string(slash == 0 ? std::string_view("/") : path.substr(0, slash));
}

// Copies a regular file to a new name that must not exist, keeping its mode and times; the copy is
// removed again when anything fails.
bool copyToNewFile(const std::string& from, const std::string& to, const struct stat& status) {
    const HostFile in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in) return failWith(errorFromErrno(errno));
    HostFile out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, status.st_mode & 07777));
    if (!out) return failWith(errorFromErrno(errno, ERROR_PATH_NOT_FOUND));
    char buffer[1 << 16];
    bool ok = true;
    while (ok) {
        const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            ok = errno == EINTR;
            continue;
        }
        for (ssize_t done = 0; ok && done < n;) {
            const ssize_t w = ::write(out.get(), buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                ok = errno == EINTR;
                continue;
            }
            done += w;
        }
    }
    const int error = errno;
    const timespec times[2] = {status.st_atim, status.st_mtim};
    if (ok) ::futimens(out.get(), times);
    if (!out.close()) ok = false;
    if (!ok) {
        ::unlink(to.c_str());
        return failWith(errorFromErrno(error));
    }
    return true;
}

// rename() without ever replacing the target.
bool renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace rename: check first, then rename.
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

std::string hexUpper(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

}  // namespace
}  // namespace winplat::files

using namespace winplat;

BOOL DeleteFileA(LPCSTR fileName) {
    if (!fileName) return files::failWith(ERROR_INVALID_PARAMETER);
    const std::optional<std::string> path = files::resolve(fileName);
    if (!path) return FALSE;
    struct stat status {};
    if (::lstat(path->c_str(), &status) != 0) return files::failWith(files::errorFromErrno(errno));
    if (!S_ISLNK(status.st_mode)) {
        if (S_ISDIR(status.st_mode) || files::isReadOnly(*path, status)) {
            return files::failWith(ERROR_ACCESS_DENIED);
        }
    }
    if (::unlink(path->c_str()) != 0) return files::failWith(files::errorFromErrno(errno));
    return TRUE;
}

BOOL MoveFileA(LPCSTR existingName, LPCSTR newName) {
    if (!existingName || !newName) return files::failWith(ERROR_INVALID_PARAMETER);
    const std::optional<std::string> from = files::resolve(existingName);
    if (!from) return FALSE;
    const std::optional<files::Location> target = files::locate(newName);
    if (!target) return FALSE;
    std::optional<std::string> to = files::resolve(newName, true);
    if (!to) return FALSE;
    if (*to == *from) {
        // The new name matched the file itself, case aside: rename it to the case given.
        if (target->components.empty()) return files::failWith(ERROR_ACCESS_DENIED);
        to = files::joinHost(files::folderOf(*from), cp1250::toUtf8(target->components.back()));
        if (*to == *from) return TRUE;
    }
    if (files::renameNoReplace(*from, *to)) return TRUE;
    if (errno != EXDEV) return files::failWith(files::errorFromErrno(errno, ERROR_PATH_NOT_FOUND));

    // Another host file system: files are copied over, folders cannot go.
    struct stat status {};
    if (::lstat(from->c_str(), &status) != 0) return files::failWith(files::errorFromErrno(errno));
    if (!S_ISREG(status.st_mode)) return files::failWith(ERROR_NOT_SAME_DEVICE);
    if (!files::copyToNewFile(*from, *to, status)) return FALSE;
    if (::unlink(from->c_str()) != 0) {
        const int error = errno;
        ::unlink(to->c_str());
        return files::failWith(files::errorFromErrno(error));
    }
    return TRUE;
}

BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
    if (flags & ~DWORD{MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED}) {
        constexpr CallRefuser refuse("winplat: MoveFileExA");
        return refuse.unsupported(BOOL{FALSE}, "flags " + std::to_string(flags));
    }
    // Moving across host file systems copies anyway, so MOVEFILE_COPY_ALLOWED changes nothing.
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return MoveFileA(existingName, newName);
    if (!existingName || !newName) return files::failWith(ERROR_INVALID_PARAMETER);
    const std::optional<std::string> from = files::resolve(existingName);
    if (!from) return FALSE;
    const std::optional<std::string> to = files::resolve(newName, true);
    if (!to) return FALSE;
    struct stat status {};
    if (::stat(to->c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return files::failWith(ERROR_ACCESS_DENIED);
    // One rename replaces the target at once: nobody ever sees it missing or half written.
    if (::rename(from->c_str(), to->c_str()) == 0) return TRUE;
    return files::failWith(files::errorFromErrno(errno, ERROR_PATH_NOT_FOUND));
}

BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES security) {
    if (security && (security->lpSecurityDescriptor || security->bInheritHandle)) {
        constexpr CallRefuser refuse("winplat: CreateDirectoryA");
        return refuse.unsupported(BOOL{FALSE}, "security attributes");
    }
    if (!pathName) return files::failWith(ERROR_INVALID_PARAMETER);
    const std::optional<std::string> path = files::resolve(pathName, true);
    if (!path) return FALSE;
    if (::mkdir(path->c_str(), 0777) != 0)
        return files::failWith(files::errorFromErrno(errno, ERROR_PATH_NOT_FOUND));
    return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR pathName) {
    if (!pathName) return files::failWith(ERROR_INVALID_PARAMETER);
    const std::optional<std::string> path = files::resolve(pathName);
    if (!path) return FALSE;
    struct stat status {};
    if (::lstat(path->c_str(), &status) != 0) return files::failWith(files::errorFromErrno(errno));
    if (!S_ISDIR(status.st_mode)) return files::failWith(ERROR_DIRECTORY);
    if (::rmdir(path->c_str()) != 0) {
        const DWORD error = errno == ENOTEMPTY || errno == EEXIST ? ERROR_DIR_NOT_EMPTY : files::errorFromErrno(errno);
        return files::failWith(error);
    }
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR fileName) {
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::optional<std::string> path = files::resolve(fileName);
    if (!path) return INVALID_FILE_ATTRIBUTES;
    struct stat status {};
    if (::stat(path->c_str(), &status) != 0) {
        SetLastError(files::errorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::optional<files::Location> location = files::locate(fileName);
    const bool named = location && !location->components.empty();
    const bool hidden = named && files::lastHostName(*path).starts_with('.');
    DWORD attributes = hidden ? FILE_ATTRIBUTE_HIDDEN : 0;
    if (S_ISDIR(status.st_mode)) return attributes | FILE_ATTRIBUTE_DIRECTORY;
    // Files always carry the archive mark: the host keeps no "backed up since" state.
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (files::isReadOnly(*path, status)) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    const char* variable = std::getenv("TMPDIR");
    std::string folder = variable && variable[0] == '/' && files::isFolder(variable) ? variable : "/tmp";
    std::string path = files::toWindows(folder);
    if (path.empty()) {
        constexpr CallRefuser refuse("winplat: GetTempPathA", ERROR_PATH_NOT_FOUND);
        return refuse(DWORD{0}, "no drive holds the temporary folder " + folder);
    }
    if (path.back() != '\\') path += '\\';
    if (bufferLength <= path.size() || !buffer) return static_cast<DWORD>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
    if (!pathName || !tempFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string base = pathName;
    if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
    if (prefix) base.append(prefix, strnlen(prefix, 3));
    const auto nameFor = [&](unsigned number) { return base + files::hexUpper(number) + ".TMP"; };
    const auto deliver = [&](const std::string& name, UINT number) -> UINT {
        if (name.size() >= MAX_PATH) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return 0;
        }
        std::memcpy(tempFileName, name.c_str(), name.size() + 1);
        return number;
    };
    unique &= 0xFFFF;
    if (unique) return deliver(nameFor(unique), unique);

    // One sequence for the process, started at a point of its own, so that threads and processes
    // making names in the same folder seldom try the same number twice.
    static std::atomic<unsigned> next{static_cast<unsigned>(::getpid()) * 7919u +
                                      static_cast<unsigned>(::time(nullptr))};
    for (unsigned attempt = 0; attempt < 0x10000; ++attempt) {
        const unsigned number = next.fetch_add(1) & 0xFFFF;
        if (number == 0) continue;
        const std::string name = nameFor(number);
        if (name.size() >= MAX_PATH) return deliver(name, 0);
        const std::optional<std::string> path = files::resolve(name, true);
        if (!path) return 0;
        if (const files::HostFile made(::open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)); made) {
            return deliver(name, number);  // the file stays, empty, as the name's reservation
        }
        if (errno != EEXIST) {
            SetLastError(files::errorFromErrno(errno, ERROR_PATH_NOT_FOUND));
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}
