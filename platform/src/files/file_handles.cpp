// Files behind handles: a host descriptor with the access it was opened for. The file pointer is
// the descriptor's own offset; a per-file lock makes each call's use of it one step, so a seek
// relative to the pointer cannot interleave with another thread's read on the same handle.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "base/call_refusal.h"
#include "files/host_files.h"
#include "winplat/base.h"
#include "winplat/files.h"
#include "winplat/handles.h"
#include "winplat/paths.h"
#include "winplat/stdio_bridge.h"

namespace winplat {
namespace {

struct OpenFile final : HandleObject {
    OpenFile(int descriptor, bool read, bool write) : fd(descriptor), canRead(read), canWrite(write) {}
    ~OpenFile() override { ::close(fd); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    const int fd;
    const bool canRead;
    const bool canWrite;
    std::mutex pointerMutex;
};

std::shared_ptr<OpenFile> lookup(HANDLE handle) {
    return handleTable().getAs<OpenFile>(handleValue(handle), HandleType::File);
}

constexpr DWORD kKnownAccess = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kKnownShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
// Larger transfers are split: the host moves at most about 2 GB per call anyway.
constexpr size_t kMaxChunk = size_t{1} << 30;

// Ticks of 100 ns between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifferenceSeconds = 11644473600;
constexpr int64_t kTicksPerSecond = 10000000;

bool defaultSecurity(const SECURITY_ATTRIBUTES* security) {
    return !security || (!security->lpSecurityDescriptor && !security->bInheritHandle);
}

bool failWith(DWORD error) {
    SetLastError(error);
    return false;
}

int failOpen(DWORD error) {
    SetLastError(error);
    return -1;
}

// Opens the host file for a disposition. Sets 'existed' to whether the file was there before.
// Returns the descriptor, or -1 with the last error set.
int openHost(const std::string& path, DWORD access, DWORD disposition, bool& existed) {
    const bool read = access & GENERIC_READ;
    const bool write = access & GENERIC_WRITE;
    const int mode = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    const bool mayCreate =
        disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    const bool truncate = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    // The file may appear or vanish between the check and the open; each turn settles one case.
    for (int attempt = 0; attempt < 4; ++attempt) {
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0) {
            existed = true;
            if (S_ISDIR(status.st_mode)) return failOpen(ERROR_ACCESS_DENIED);
            if (disposition == CREATE_NEW) return failOpen(ERROR_FILE_EXISTS);
            if ((write || truncate) && files::isReadOnly(path, status)) return failOpen(ERROR_ACCESS_DENIED);
            const int fd = ::open(path.c_str(), mode | O_CLOEXEC | (truncate ? O_TRUNC : 0));
            if (fd >= 0) return fd;
            if (errno != ENOENT || !mayCreate) return failOpen(files::errorFromErrno(errno));
            continue;
        }
        if (errno != ENOENT) return failOpen(files::errorFromErrno(errno));
        existed = false;
        if (!mayCreate) return failOpen(ERROR_FILE_NOT_FOUND);
        const int fd = ::open(path.c_str(), mode | O_CLOEXEC | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return failOpen(files::errorFromErrno(errno, ERROR_PATH_NOT_FOUND));
    }
    return failOpen(ERROR_ACCESS_DENIED);
}

FILETIME toFileTime(const timespec& time) {
    const int64_t seconds = time.tv_sec + kEpochDifferenceSeconds;
    const uint64_t ticks =
        seconds < 0 ? 0 : uint64_t(seconds) * kTicksPerSecond + uint64_t(time.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// A time to set, or UTIME_OMIT for one to leave (null, or all zero as Windows reads it).
timespec fromFileTime(const FILETIME* time) {
    timespec result{};
    const uint64_t ticks = time ? (uint64_t{time->dwHighDateTime} << 32) | time->dwLowDateTime : 0;
    if (ticks == 0) {
        result.tv_nsec = UTIME_OMIT;
        return result;
    }
    result.tv_sec =
        static_cast<time_t>(static_cast<int64_t>(ticks / kTicksPerSecond) - kEpochDifferenceSeconds);
    result.tv_nsec = static_cast<long>(ticks % kTicksPerSecond) * 100;
    return result;
}

}  // namespace
}  // namespace winplat

using namespace winplat;

HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile) {
    if (!access || (access & ~kKnownAccess) || (shareMode & ~kKnownShare) || !defaultSecurity(security) ||
        (flagsAndAttributes != 0 && flagsAndAttributes != FILE_ATTRIBUTE_NORMAL) || templateFile) {
        constexpr CallRefuser refuse("winplat: CreateFileA");
        return refuse.unsupported(
            INVALID_HANDLE_VALUE,
            "access " + std::to_string(access) + ", sharing " + std::to_string(shareMode) + ", flags " +
                std::to_string(flagsAndAttributes) + (templateFile ? ", a template" : "") +
                (defaultSecurity(security) ? "" : ", security attributes"));
    }
    const bool knownDisposition = disposition >= CREATE_NEW && disposition <= TRUNCATE_EXISTING;
    if (!fileName || !knownDisposition || (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const bool mayCreate =
        disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    const std::optional<std::string> path = files::resolve(fileName, mayCreate);
    if (!path) return INVALID_HANDLE_VALUE;

    bool existed = false;
    const int fd = openHost(*path, access, disposition, existed);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    auto file = std::make_shared<OpenFile>(fd, access & GENERIC_READ, access & GENERIC_WRITE);
    const uint32_t handle = handleTable().add(HandleType::File, std::move(file));
    if (!handle) {
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return INVALID_HANDLE_VALUE;
    }
    const bool reportExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return makeHandle<HANDLE>(handle);
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    if (read) *read = 0;
    if (overlapped) {
        constexpr CallRefuser refuse("winplat: ReadFile");
        return refuse.unsupported(BOOL{FALSE}, "overlapped reading");
    }
    const auto file = lookup(handle);
    if (!file) return FALSE;
    if (!buffer && toRead) return failWith(ERROR_INVALID_PARAMETER);
    if (!file->canRead) return failWith(ERROR_ACCESS_DENIED);
    std::lock_guard lock(file->pointerMutex);
    auto* bytes = static_cast<char*>(buffer);
    DWORD done = 0;
    while (done < toRead) {
        const ssize_t n = ::read(file->fd, bytes + done, std::min<size_t>(toRead - done, kMaxChunk));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            if (read) *read = done;
            return failWith(files::errorFromErrno(errno));
        }
        done += static_cast<DWORD>(n);
    }
    if (read) *read = done;
    return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped) {
    if (written) *written = 0;
    if (overlapped) {
        constexpr CallRefuser refuse("winplat: WriteFile");
        return refuse.unsupported(BOOL{FALSE}, "overlapped writing");
    }
    const auto file = lookup(handle);
    if (!file) return FALSE;
    if (!buffer && toWrite) return failWith(ERROR_INVALID_PARAMETER);
    if (!file->canWrite) return failWith(ERROR_ACCESS_DENIED);
    std::lock_guard lock(file->pointerMutex);
    const auto* bytes = static_cast<const char*>(buffer);
    DWORD done = 0;
    while (done < toWrite) {
        const ssize_t n = ::write(file->fd, bytes + done, std::min<size_t>(toWrite - done, kMaxChunk));
        if (n < 0) {
            if (errno == EINTR) continue;
            if (written) *written = done;
            return failWith(files::errorFromErrno(errno));
        }
        done += static_cast<DWORD>(n);
    }
    if (written) *written = done;
    return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD moveMethod) {
    const auto file = lookup(handle);
    if (!file) return INVALID_SET_FILE_POINTER;
    if (moveMethod > FILE_END) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    const int64_t move =
        distanceHigh ? static_cast<int64_t>((uint64_t(uint32_t(*distanceHigh)) << 32) | uint32_t(distance))
                     : int64_t{distance};
    std::lock_guard lock(file->pointerMutex);
    int64_t base = 0;
    if (moveMethod == FILE_CURRENT) {
        base = ::lseek(file->fd, 0, SEEK_CUR);
    } else if (moveMethod == FILE_END) {
        struct stat status {};
        base = ::fstat(file->fd, &status) == 0 ? status.st_size : -1;
    }
    if (base < 0) {
        SetLastError(files::errorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    int64_t position = 0;
    if (__builtin_add_overflow(base, move, &position)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (position < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    // Without the high part the caller can only hold a 32-bit position.
    if (!distanceHigh && position > int64_t{0xFFFFFFFF}) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (::lseek(file->fd, position, SEEK_SET) < 0) {
        SetLastError(files::errorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh) *distanceHigh = static_cast<LONG>(uint64_t(position) >> 32);
    // With the high part, a low part of 0xFFFFFFFF is a real position: the last error tells.
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(position);
}

DWORD GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
    const auto file = lookup(handle);
    if (!file) return INVALID_FILE_SIZE;
    struct stat status {};
    if (::fstat(file->fd, &status) != 0) {
        SetLastError(files::errorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<uint64_t>(status.st_size);
    if (sizeHigh) {
        *sizeHigh = static_cast<DWORD>(size >> 32);
    } else if (size > 0xFFFFFFFFu) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_SIZE;
    }
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(size);
}

BOOL SetEndOfFile(HANDLE handle) {
    const auto file = lookup(handle);
    if (!file) return FALSE;
    if (!file->canWrite) return failWith(ERROR_ACCESS_DENIED);
    std::lock_guard lock(file->pointerMutex);
    const off_t position = ::lseek(file->fd, 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(file->fd, position) != 0) return failWith(files::errorFromErrno(errno));
    return TRUE;
}

BOOL GetFileTime(HANDLE handle, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite) {
    const auto file = lookup(handle);
    if (!file) return FALSE;
    struct stat status {};
    if (::fstat(file->fd, &status) != 0) return failWith(files::errorFromErrno(errno));
    if (creation) *creation = toFileTime(status.st_mtim);
    if (lastAccess) *lastAccess = toFileTime(status.st_atim);
    if (lastWrite) *lastWrite = toFileTime(status.st_mtim);
    return TRUE;
}

BOOL GetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION information) {
    if (!information) return failWith(ERROR_INVALID_PARAMETER);
    const auto file = lookup(handle);
    if (!file) return FALSE;
    struct stat status {};
    if (::fstat(file->fd, &status) != 0) return failWith(files::errorFromErrno(errno));
    const bool readOnly = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    const auto size = static_cast<uint64_t>(status.st_size);
    const auto index = static_cast<uint64_t>(status.st_ino);
    *information = BY_HANDLE_FILE_INFORMATION{};
    information->dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE | (readOnly ? FILE_ATTRIBUTE_READONLY : 0);
    information->ftCreationTime = toFileTime(status.st_mtim);
    information->ftLastAccessTime = toFileTime(status.st_atim);
    information->ftLastWriteTime = toFileTime(status.st_mtim);
    information->dwVolumeSerialNumber = static_cast<DWORD>(status.st_dev);
    information->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    information->nFileSizeLow = static_cast<DWORD>(size);
    information->nNumberOfLinks = static_cast<DWORD>(status.st_nlink);
    information->nFileIndexHigh = static_cast<DWORD>(index >> 32);
    information->nFileIndexLow = static_cast<DWORD>(index);
    return TRUE;
}

BOOL SetFileTime(HANDLE handle, const FILETIME* /*creation: the host keeps none*/, const FILETIME* lastAccess,
                 const FILETIME* lastWrite) {
    const auto file = lookup(handle);
    if (!file) return FALSE;
    if (!file->canWrite) return failWith(ERROR_ACCESS_DENIED);
    const timespec times[2] = {fromFileTime(lastAccess), fromFileTime(lastWrite)};
    if (::futimens(file->fd, times) != 0) return failWith(files::errorFromErrno(errno));
    return TRUE;
}

BOOL CloseHandle(HANDLE object) {
    // Files and started programs live behind generic handles; dropping the object is what
    // closing it means. INVALID_HANDLE_VALUE, which is also the running process's pseudo handle,
    // is refused: closing it is nearly always a failed CreateFileA's result being closed.
    const uint32_t value = handleValue(object);
    const HandleType type = handleTypeOf(value);
    const bool generic = type == HandleType::File || type == HandleType::Process || type == HandleType::Thread;
    return handleTable().remove(value, generic ? type : HandleType::File) ? TRUE : FALSE;
}

int winplat_handle_fd(HANDLE handle) {
    const auto file = lookup(handle);
    return file ? file->fd : -1;
}
