// Windows paths to host paths: each component by its exact name first, then case-insensitively
// through a listing of its folder. The reader looks up many names in folders of thousands of
// pictures, so listings are kept and reused while the folder's modification time is unchanged.
#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "files/drives.h"
#include "files/host_files.h"
#include "winplat/paths.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/files.h"

namespace winplat::files {
namespace {

// File times on the host come from a coarse clock (a scheduler tick; two seconds on FAT), so a
// change made right after a listing was read can leave the folder's time as it was. A listing of a
// folder changed this recently is used once and read again next time.
constexpr time_t kRacyWindowSeconds = 2;
constexpr size_t kMaxCachedFolders = 512;

struct Listing {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    bool trusted = false;
    // cp1250 lower-case name -> the host names that fold to it, in byte order.
    std::unordered_map<std::string, std::vector<std::string>> byKey;
};

struct ListingCache {
    std::mutex mutex;
    std::unordered_map<std::string, std::shared_ptr<const Listing>> folders;
};

ListingCache& cache() {
    static ListingCache* instance = new ListingCache;
    return *instance;
}

std::string foldedKey(std::string_view utf8Name) {
    return cp1250::lower(cp1250::fromUtf8(utf8Name));
}

bool sameVersion(const Listing& listing, const struct stat& folder) {
    return listing.trusted && listing.device == folder.st_dev && listing.inode == folder.st_ino &&
           listing.modified.tv_sec == folder.st_mtim.tv_sec &&
           listing.modified.tv_nsec == folder.st_mtim.tv_nsec;
}

// Reads the folder's names; null with errno set when it cannot be read.
std::shared_ptr<const Listing> readListing(const std::string& folder, const struct stat& status) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return nullptr;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());

    auto listing = std::make_shared<Listing>();
    listing->device = status.st_dev;
    listing->inode = status.st_ino;
    listing->modified = status.st_mtim;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    listing->trusted = now.tv_sec - status.st_mtim.tv_sec > kRacyWindowSeconds;
    for (std::string& name : names) {
        std::string key = foldedKey(name);
        listing->byKey[std::move(key)].push_back(std::move(name));
    }
    return listing;
}

// The folder's listing, from the cache while the folder is unchanged; null with errno set.
std::shared_ptr<const Listing> listingOf(const std::string& folder) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) return nullptr;
    ListingCache& c = cache();
    {
        std::lock_guard lock(c.mutex);
        const auto found = c.folders.find(folder);
        if (found != c.folders.end() && sameVersion(*found->second, status)) return found->second;
    }
    // Read outside the lock: a big folder must not hold up lookups in other folders.
    std::shared_ptr<const Listing> listing = readListing(folder, status);
    if (!listing) return nullptr;
    std::lock_guard lock(c.mutex);
    if (c.folders.size() >= kMaxCachedFolders) c.folders.clear();
    c.folders[folder] = listing;
    return listing;
}

struct Entry {
    bool found = false;
    DWORD error = NO_ERROR;
    std::string name;  // UTF-8, as on disk
};

// An entry counts when it exists (a dangling link too, so it can be deleted) and, for a folder on
// the way, is a folder. Sets errno when it does not count.
bool entryFits(const std::string& path, bool wantFolder) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return false;
    if (!wantFolder) return true;
    if (S_ISLNK(status.st_mode) && ::stat(path.c_str(), &status) != 0) return false;
    if (S_ISDIR(status.st_mode)) return true;
    errno = ENOTDIR;
    return false;
}

Entry findEntry(const std::string& folder, const std::string& component, bool wantFolder) {
    const std::string exact = cp1250::toUtf8(component);
    if (entryFits(joinHost(folder, exact), wantFolder)) return {true, NO_ERROR, exact};
    if (errno == EACCES || errno == ENAMETOOLONG) return {false, errorFromErrno(errno), {}};

    const std::shared_ptr<const Listing> listing = listingOf(folder);
    if (!listing) return {false, errorFromErrno(errno, ERROR_PATH_NOT_FOUND), {}};
    const auto candidates = listing->byKey.find(cp1250::lower(component));
    if (candidates != listing->byKey.end()) {
        for (const std::string& name : candidates->second) {
            if (name != exact && entryFits(joinHost(folder, name), wantFolder)) return {true, NO_ERROR, name};
        }
    }
    return {};
}

// The host path naming every component exactly as given.
std::string exactPath(const Location& location) {
    std::string path = location.hostRoot;
    for (const std::string& component : location.components) path = joinHost(path, cp1250::toUtf8(component));
    return path;
}

// Whether the whole path exists with every component named exactly: the kernel's walk then
// found each folder on the way (through links too) and the entry at its end, which is what the
// walk below would find one component at a time, so one look-up stands for all of them.
bool existsExactly(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

}  // namespace

std::optional<std::string> exactHostPath(std::string_view winPath) {
    const std::optional<Location> location = locate(winPath);
    if (!location) return std::nullopt;
    return exactPath(*location);
}

std::optional<std::string> resolve(std::string_view winPath, bool forCreate) {
    const std::optional<Location> location = locate(winPath);
    if (!location) return std::nullopt;
    if (std::string exact = exactPath(*location); existsExactly(exact)) return exact;
    std::string path = location->hostRoot;
    const size_t count = location->components.size();
    for (size_t i = 0; i < count; ++i) {
        const std::string& component = location->components[i];
        const bool last = i + 1 == count;
        const Entry entry = findEntry(path, component, !last);
        if (entry.error != NO_ERROR) {
            SetLastError(entry.error);
            return std::nullopt;
        }
        if (entry.found) {
            path = joinHost(path, entry.name);
        } else if (last && forCreate) {
            path = joinHost(path, cp1250::toUtf8(component));
        } else {
            SetLastError(last ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
            return std::nullopt;
        }
    }
    return path;
}

}  // namespace winplat::files
