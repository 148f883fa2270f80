// The reader's one file class: a file handle with an optional window (start, length) inside a
// larger file, so that a document stored inside a package reads exactly like a file of its own.
#ifndef LECT32_STORE_DISK_FILE_H
#define LECT32_STORE_DISK_FILE_H

#include <cstdint>

#include "winplat/types.h"

namespace lect32 {

// What tells whether an open file changed since it was last looked at: its size, its last write,
// and whether its name still leads to it (a file replaced by another under its name, or deleted,
// is no longer named). Equal stamps mean no change was seen.
struct FileStamp {
    uint64_t size = 0;
    uint64_t written = 0;
    bool named = false;
    bool operator==(const FileStamp&) const = default;
};

class DiskFile {
public:
    enum Mode : uint32_t { kRead = 1, kWrite = 2, kReadWrite = 3 };
    enum Origin : uint32_t { kBegin = 0, kCurrent = 1, kEnd = 2 };

    DiskFile() = default;
    // Owners close; a handle still open here is a bug of the owner (reported in debug builds).
    ~DiskFile();
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    // Opens an existing file; with a window, positions at its start and keeps every read inside it.
    int Open(const char* path, uint32_t mode, uint32_t windowStart = 0, uint32_t windowLength = 0);
    // Creates or truncates; the window stays as it was.
    int Create(const char* path, uint32_t mode);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    // The file handle itself, still owned by this object (null when closed); its file pointer is
    // moved by this object alone.
    HANDLE handle() const { return handle_; }

    uint32_t Read(void* buffer, uint32_t count);
    uint32_t Write(const void* buffer, uint32_t count);
    uint32_t WriteString(const char* text);
    // The new absolute position in the file; 0 when closed.
    uint32_t Seek(int32_t distance, uint32_t origin);
    uint32_t Tell() const;
    uint32_t GetSize() const;
    bool IsAtEnd() const;
    int SetEnd(uint32_t position);
    uint64_t GetTimes() const;
    int SetTimes(uint64_t time);
    // The open file's stamp; an unnamed one when closed or when the system cannot say.
    FileStamp GetStamp() const;

    static bool Exists(const char* path);

    uint32_t windowStart() const { return windowStart_; }
    uint32_t windowLength() const { return windowLength_; }

private:
    uint32_t position() const;  // absolute
    // The handle's pointer is moved by nobody else, so where it is is known without asking the
    // system, from the last move; it is unknown (asked for once) after a failed read or write.
    void movedTo(uint64_t absolute) const { pointer_ = absolute; }
    void forgetPointer() const { pointer_ = kUnknown; }

    static constexpr uint64_t kUnknown = UINT64_MAX;

    HANDLE handle_ = nullptr;
    mutable uint64_t pointer_ = kUnknown;
    uint32_t windowStart_ = 0;
    uint32_t windowLength_ = 0;
};

int DeleteDiskFile(const char* path);
int MoveDiskFile(const char* from, const char* to);
// Makes sure the folder exists and can be written, creating missing levels.
int EnsureFolderExists(const char* folder);

}  // namespace lect32

#endif
