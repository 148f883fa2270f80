#include "store/disk_file.h"

#include <cstring>
#include <string>

#include "winplat/base.h"
#include "winplat/debug.h"
#include "winplat/files.h"

namespace lect32 {
namespace {

DWORD accessFor(uint32_t mode) {
    DWORD access = 0;
    if (mode & DiskFile::kRead) access |= GENERIC_READ;
    if (mode & DiskFile::kWrite) access |= GENERIC_WRITE;
    return access;
}

HANDLE openHandle(const char* path, DWORD access, DWORD disposition) {
    if (!path) return nullptr;
    HANDLE handle = CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Moves to an absolute position below 4 GB; false leaves the position as it was.
bool moveTo(HANDLE handle, uint64_t target) {
    if (target > 0xFFFFFFFFull) return false;
    LONG high = 0;
    const DWORD at = SetFilePointer(handle, static_cast<LONG>(static_cast<uint32_t>(target)), &high, FILE_BEGIN);
    return at != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
}

bool isFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether a file can be made in the folder: creates and deletes "dir.$$$" there.
bool probeWritable(const std::string& folder) {
    const std::string probe = folder + "\\dir.$$$";
    HANDLE handle = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    DeleteFileA(probe.c_str());
    return true;
}

}  // namespace

DiskFile::~DiskFile() {
#ifndef NDEBUG
    if (handle_) OutputDebugStringA("lect32: DiskFile destroyed with its file still open\n");
#endif
}

int DiskFile::Open(const char* path, uint32_t mode, uint32_t windowStart, uint32_t windowLength) {
    Close();
    windowStart_ = windowStart;
    windowLength_ = windowLength;
    handle_ = openHandle(path, accessFor(mode), OPEN_EXISTING);
    if (!handle_) return 0;
    movedTo(0);
    if (windowStart_ != 0) Seek(0, kBegin);
    return 1;
}

int DiskFile::Create(const char* path, uint32_t mode) {
    Close();
    handle_ = openHandle(path, accessFor(mode), CREATE_ALWAYS);
    movedTo(0);
    return handle_ ? 1 : 0;
}

void DiskFile::Close() {
    if (handle_) CloseHandle(handle_);
    handle_ = nullptr;
    forgetPointer();
}

uint32_t DiskFile::position() const {
    if (!handle_) return 0;
    if (pointer_ != kUnknown) return static_cast<uint32_t>(pointer_);
    const DWORD at = SetFilePointer(handle_, 0, nullptr, FILE_CURRENT);
    if (at == INVALID_SET_FILE_POINTER) return 0;
    movedTo(at);
    return at;
}

// Inside a window a read stops at the window's end: past it lies the next document of the package.
uint32_t DiskFile::Read(void* buffer, uint32_t count) {
    if (!handle_ || !buffer || count == 0) return 0;
    if (windowLength_ != 0) {
        const uint64_t end = uint64_t{windowStart_} + windowLength_;
        const uint32_t at = position();
        if (at < windowStart_ || at >= end) return 0;
        if (count > end - at) count = static_cast<uint32_t>(end - at);
    }
    DWORD read = 0;
    const uint64_t from = pointer_;
    if (!ReadFile(handle_, buffer, count, &read, nullptr)) {
        forgetPointer();
        return 0;
    }
    if (from != kUnknown) movedTo(from + read);
    return read;
}

uint32_t DiskFile::Write(const void* buffer, uint32_t count) {
    if (!handle_ || !buffer || count == 0) return 0;
    DWORD written = 0;
    const uint64_t from = pointer_;
    if (!WriteFile(handle_, buffer, count, &written, nullptr)) {
        forgetPointer();
        return 0;
    }
    if (from != kUnknown) movedTo(from + written);
    return written;
}

uint32_t DiskFile::WriteString(const char* text) {
    if (!text) return 0;
    return Write(text, static_cast<uint32_t>(std::strlen(text)));
}

// A target before the start of the file or beyond 4 GB leaves the position as it was.
uint32_t DiskFile::Seek(int32_t distance, uint32_t origin) {
    if (!handle_) return 0;
    int64_t base = 0;
    switch (origin) {
        case kBegin: base = windowStart_; break;
        case kCurrent: base = position(); break;
        case kEnd: {
            if (windowLength_ != 0) {
                base = int64_t{windowStart_} + windowLength_;
            } else {
                const DWORD size = GetFileSize(handle_, nullptr);
                if (size == INVALID_FILE_SIZE) return position();
                base = size;
            }
            break;
        }
        default: return position();
    }
    const int64_t target = base + distance;
    if (target < 0 || target > int64_t{0xFFFFFFFF}) return position();
    // Already there (reading records in file order): no call needed.
    if (pointer_ == static_cast<uint64_t>(target)) return static_cast<uint32_t>(target);
    if (!moveTo(handle_, static_cast<uint64_t>(target))) {
        forgetPointer();
        return position();
    }
    movedTo(static_cast<uint64_t>(target));
    return static_cast<uint32_t>(target);
}

uint32_t DiskFile::Tell() const {
    const uint32_t at = position();
    return at >= windowStart_ ? at - windowStart_ : 0;
}

uint32_t DiskFile::GetSize() const {
    if (!handle_) return 0;
    if (windowLength_ != 0) return windowLength_;
    const DWORD size = GetFileSize(handle_, nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

bool DiskFile::IsAtEnd() const { return !handle_ || Tell() >= GetSize(); }

int DiskFile::SetEnd(uint32_t position) {
    if (!handle_) return 0;
    if (!moveTo(handle_, uint64_t{windowStart_} + position)) {
        forgetPointer();
        return 0;
    }
    movedTo(uint64_t{windowStart_} + position);
    return SetEndOfFile(handle_) ? 1 : 0;
}

uint64_t DiskFile::GetTimes() const {
    if (!handle_) return 0;
    FILETIME written{};
    if (!GetFileTime(handle_, nullptr, nullptr, &written)) return 0;
    return (uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
}

int DiskFile::SetTimes(uint64_t time) {
    if (!handle_) return 0;
    const FILETIME when{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    return SetFileTime(handle_, &when, &when, &when) ? 1 : 0;
}

FileStamp DiskFile::GetStamp() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle_ || !GetFileInformationByHandle(handle_, &info)) return {};
    const FILETIME& written = info.ftLastWriteTime;
    return FileStamp{(uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
                     (uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime, info.nNumberOfLinks != 0};
}

bool DiskFile::Exists(const char* path) {
    HANDLE handle = openHandle(path, GENERIC_READ, OPEN_EXISTING);
    if (!handle) return false;
    CloseHandle(handle);
    return true;
}

int DeleteDiskFile(const char* path) { return path && DeleteFileA(path) ? 1 : 0; }

int MoveDiskFile(const char* from, const char* to) { return from && to && MoveFileA(from, to) ? 1 : 0; }

// Levels that already exist are passed over even when they cannot be written (a user may make
// folders below a system folder); only the folder asked for must take the probe file.
int EnsureFolderExists(const char* folder) {
    if (!folder || !*folder) return 0;
    std::string path = folder;
    if (path.size() > 1 && isSeparator(path.back())) path.pop_back();
    if (probeWritable(path)) return 1;

    for (size_t at = path.find_first_of("\\/"); at != std::string::npos; at = path.find_first_of("\\/", at + 1)) {
        // The root, a drive ("C:") and doubled separators name no level to make.
        if (at == 0 || isSeparator(path[at - 1]) || path[at - 1] == ':') continue;
        const std::string level = path.substr(0, at);
        if (!isFolder(level) && !CreateDirectoryA(level.c_str(), nullptr)) return 0;
    }
    if (!isFolder(path) && !CreateDirectoryA(path.c_str(), nullptr)) return 0;
    return probeWritable(path) ? 1 : 0;
}

}  // namespace lect32
