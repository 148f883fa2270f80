#include "registry/host_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace winplat::registry {

namespace {

std::atomic<uint64_t> reads{0};
std::atomic<int> renamesToFail{0};

bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// A fault a test planted: the temporary file is written and flushed, and then the rename "fails".
bool renameFailsNow() {
    int left = renamesToFail.load();
    while (left > 0) {
        if (renamesToFail.compare_exchange_weak(left, left - 1)) return true;
    }
    return false;
}

}  // namespace

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
}

FileLock::FileLock(const std::string& lockPath)
    : fd_(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (!fd_.valid()) return;
    int result = 0;
    do {
        result = ::flock(fd_.get(), LOCK_EX);
    } while (result != 0 && errno == EINTR);
    held_ = result == 0;
}

FileIdentity identityOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return {};
    return {true, static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
            static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
            static_cast<int64_t>(status.st_size)};
}

std::optional<std::string> readWhole(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return std::nullopt;
    std::string text;
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return text;
        text.append(buffer, static_cast<size_t>(got));
    }
}

bool replaceAtomically(const std::string& path, std::string_view text) {
    const std::string temporary = path + ".tmp";
    {
        UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (!fd.valid() || !writeAll(fd.get(), text) || ::fsync(fd.get()) != 0) {
            ::unlink(temporary.c_str());
            return false;
        }
    }
    if (renameFailsNow() || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void noteStoreRead() { ++reads; }

uint64_t storeReads() { return reads.load(); }

void failNextRenames(int count) { renamesToFail = count; }

}  // namespace winplat::registry
