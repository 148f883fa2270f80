// Host file system helpers shared by the file calls.
#ifndef WINPLAT_FILES_HOST_FILES_H
#define WINPLAT_FILES_HOST_FILES_H

#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "winplat/types.h"

namespace winplat::files {

// The Windows error for an errno of a host file call; 'missing' is what ENOENT means at that
// point (a missing file, or a missing folder on the way to it).
DWORD errorFromErrno(int error, DWORD missing = ERROR_FILE_NOT_FOUND);

// "dir" + "/" + name, without doubling the '/' after the root.
std::string joinHost(std::string_view folder, std::string_view name);

bool isFolder(const std::string& hostPath);

// The host path a Windows path names when every component is spelt as on disk, without looking
// at the disk; nothing with the last error set when the path has no location (see resolve).
// Where this path cannot be opened, resolve finds the one to use.
std::optional<std::string> exactHostPath(std::string_view winPath);

// What Windows would call a read-only file: one the process may not write, or one no one may
// (no write bit at all), so that a file marked read-only stays so for a privileged process too.
bool isReadOnly(const std::string& hostPath, const struct stat& status);

// A host file descriptor, closed when the owner goes. close() closes it early and says whether
// the close succeeded, which for a file just written means whether its data reached the file.
class HostFile {
public:
    explicit HostFile(int fd) : fd_(fd) {}
    ~HostFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    HostFile(const HostFile&) = delete;
    HostFile& operator=(const HostFile&) = delete;

    explicit operator bool() const { return fd_ >= 0; }
    int get() const { return fd_; }
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

}  // namespace winplat::files

#endif
