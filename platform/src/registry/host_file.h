// Host files as the store needs them: whole reads, atomic replacement, an advisory lock, and the
// identity that tells whether another process has replaced a file since we read it.
#ifndef WINPLAT_SRC_REGISTRY_HOST_FILE_H
#define WINPLAT_SRC_REGISTRY_HOST_FILE_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace winplat::registry {

// An open descriptor, closed when its owner goes.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    UniqueFd& operator=(UniqueFd&&) = delete;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

// An exclusive advisory lock (flock) on a lock file, held while the owner lives. Other processes
// taking the same lock wait for it.
class FileLock {
public:
    explicit FileLock(const std::string& lockPath);
    bool held() const { return held_; }

private:
    UniqueFd fd_;
    bool held_ = false;
};

// Which file a path names now and how it looked: any change by a writer (who always renames a
// new file in) changes it.
struct FileIdentity {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t modifiedNs = 0;
    int64_t size = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity identityOf(const std::string& path);

// The whole file, or nothing when it cannot be read (a missing file included).
std::optional<std::string> readWhole(const std::string& path);

// Writes the text to "<path>.tmp", flushes it to the disk and renames it over the path, so the
// path names either the old file or the new one, never a part. False when any step fails; the
// old file is then untouched.
bool replaceAtomically(const std::string& path, std::string_view text);

// Counters and faults for tests (see winplat/testing.h): the store counts its own reads.
void noteStoreRead();
uint64_t storeReads();
void failNextRenames(int count);

}  // namespace winplat::registry

#endif
