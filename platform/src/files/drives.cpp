// The drive table, the current directory of each drive, and the two directions between Windows
// paths and host paths that need no disk access: the absolute Windows form of a path, and the
// drive form of a host path.
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/call_refusal.h"
#include "files/drives.h"
#include "files/host_files.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/files.h"
#include "winplat/paths.h"
#include "winplat/testing.h"

namespace winplat::files {
namespace {

// Memory the C library hands over (realpath's answer).
struct FreeMemory {
    void operator()(char* memory) const { std::free(memory); }
};

struct Drive {
    std::string root;                  // host folder as configured, without a trailing '/' (except "/")
    std::string resolvedRoot;          // the same with symbolic links resolved, when it exists
    std::vector<std::string> current;  // cp1250 components of the drive's current directory
};

struct DriveTable {
    std::mutex mutex;
    bool loaded = false;
    std::map<char, Drive> drives;
    char currentDrive = 0;
};

DriveTable& table() {
    // Never destroyed: files may be opened from other libraries' static destructors.
    static DriveTable* instance = new DriveTable;
    return *instance;
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// Runs of '/' as one; no trailing '/' unless the path is the root.
std::string normalizeHostFolder(std::string_view path) {
    std::string out;
    for (char c : path) {
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out += c;
    }
    if (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

// A host name as a Windows name: cp1250, and '?' for what a Windows name cannot contain, so that
// such a name can never be resolved to a different file.
std::string windowsName(std::string_view utf8Name) {
    std::string name = cp1250::fromUtf8(utf8Name);
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::strchr("\\:*?\"<>|", c)) c = '?';
    }
    return name;
}

// "/a//b/" -> "a\b\" with every name converted.
std::string windowsNames(std::string_view hostPath) {
    std::string out;
    size_t start = 0;
    while (true) {
        const size_t end = hostPath.find('/', start);
        out += windowsName(hostPath.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) break;
        if (!out.empty() && out.back() != '\\') out += '\\';
        start = end + 1;
    }
    return out;
}

bool holds(std::string_view root, std::string_view path) {
    if (root == "/") return true;
    return path.substr(0, root.size()) == root && (path.size() == root.size() || path[root.size()] == '/');
}

// The drive whose folder holds the absolute host path most closely, and the length of that folder;
// 0 when none does. Caller holds the table's lock.
char driveHolding(const DriveTable& t, std::string_view path, size_t& rootLength) {
    char best = 0;
    rootLength = 0;
    for (const auto& [letter, drive] : t.drives) {
        for (const std::string* root : {&drive.root, &drive.resolvedRoot}) {
            if (root->empty() || !holds(*root, path)) continue;
            if (!best || root->size() > rootLength) {
                best = letter;
                rootLength = root->size();
            }
        }
    }
    return best;
}

std::string toWindowsLocked(const DriveTable& t, std::string_view hostPath) {
    if (hostPath.empty() || hostPath.front() != '/') return windowsNames(hostPath);
    std::string path;
    for (char c : hostPath) {
        if (c == '/' && !path.empty() && path.back() == '/') continue;
        path += c;
    }
    size_t rootLength = 0;
    const char letter = driveHolding(t, path, rootLength);
    if (!letter) return {};
    std::string_view rest = std::string_view(path).substr(rootLength);
    if (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
    return std::string(1, letter) + ":\\" + windowsNames(rest);
}

std::vector<std::string> splitWindows(std::string_view path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (isSeparator(c)) {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(std::move(part));
    return parts;
}

// Adds the components of a relative path to 'into', the way Windows reads them: '.' stays, '..'
// goes up but never above the root, and trailing dots and spaces of a name are not part of it.
void appendComponents(std::vector<std::string>& into, std::string_view relative) {
    for (std::string& part : splitWindows(relative)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!into.empty()) into.pop_back();
            continue;
        }
        while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
        if (!part.empty()) into.push_back(std::move(part));
    }
}

// Loads the table from a WINPLAT_DRIVES-style spec ("C:/;D:/media/cd"); an empty or unusable spec
// gives the default, C: as the host root. Every drive starts at its root, except the one holding the
// process's working folder, which starts there and becomes the current drive. Caller holds the lock.
void load(DriveTable& t, std::string_view spec) {
    t.drives.clear();
    size_t start = 0;
    while (start < spec.size()) {
        const size_t end = std::min(spec.find(';', start), spec.size());
        const std::string_view entry = spec.substr(start, end - start);
        start = end + 1;
        if (entry.empty()) continue;
        const bool usable = entry.size() >= 3 && std::isalpha(static_cast<unsigned char>(entry[0])) &&
                            entry[1] == ':' && entry[2] == '/';
        if (!usable) {
            constexpr Refuser refuse("winplat: drive table");
            refuse.log("entry '" + std::string(entry) + "' is not X:/host/folder; skipped");
            continue;
        }
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(entry[0])));
        Drive drive;
        drive.root = normalizeHostFolder(entry.substr(2));
        if (const std::unique_ptr<char, FreeMemory> real(::realpath(drive.root.c_str(), nullptr)); real) {
            if (drive.root != real.get()) drive.resolvedRoot = real.get();
        }
        t.drives[letter] = std::move(drive);
    }
    if (t.drives.empty()) t.drives['C'] = Drive{"/", {}, {}};

    t.currentDrive = t.drives.begin()->first;
    std::string cwd(PATH_MAX, '\0');
    if (::getcwd(cwd.data(), cwd.size())) {
        cwd.resize(std::strlen(cwd.c_str()));
        const std::string windows = toWindowsLocked(t, cwd);
        if (windows.size() >= 3) {
            t.currentDrive = windows[0];
            t.drives[windows[0]].current = splitWindows(std::string_view(windows).substr(3));
        }
    }
    t.loaded = true;
}

void ensureLoaded(DriveTable& t) {
    if (t.loaded) return;
    const char* spec = std::getenv("WINPLAT_DRIVES");
    load(t, spec ? spec : "");
}

bool validName(std::string_view path) {
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("*?\"<>|", c)) return false;
        if (c == ':' && !(i == 1 && std::isalpha(static_cast<unsigned char>(path[0])))) return false;
    }
    return true;
}

}  // namespace

std::optional<Location> locate(std::string_view winPath) {
    if (winPath.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    if (!validName(winPath)) {
        SetLastError(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    DriveTable& t = table();
    std::lock_guard lock(t.mutex);
    ensureLoaded(t);

    Location location;
    std::string_view rest = winPath;
    const bool hasDrive = rest.size() >= 2 && rest[1] == ':';
    if (hasDrive) {
        location.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
        rest.remove_prefix(2);
    } else {
        location.drive = t.currentDrive;
        // "\\server\share": no network drives here.
        if (rest.size() >= 2 && isSeparator(rest[0]) && isSeparator(rest[1])) {
            constexpr CallRefuser refuse("winplat: paths", ERROR_PATH_NOT_FOUND);
            return refuse(std::nullopt,
                          "network path '" + std::string(winPath) + "': no network drives here");
        }
    }
    const auto drive = t.drives.find(location.drive);
    if (drive == t.drives.end()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    location.hostRoot = drive->second.root;
    if (rest.empty() || !isSeparator(rest.front())) location.components = drive->second.current;
    appendComponents(location.components, rest);
    return location;
}

std::string windowsForm(const Location& location) {
    std::string path = std::string(1, location.drive) + ":\\";
    for (size_t i = 0; i < location.components.size(); ++i) {
        if (i) path += '\\';
        path += location.components[i];
    }
    return path;
}

void setCurrentDirectory(const Location& location) {
    DriveTable& t = table();
    std::lock_guard lock(t.mutex);
    const auto drive = t.drives.find(location.drive);
    if (drive == t.drives.end()) return;  // the table was replaced meanwhile
    drive->second.current = location.components;
    t.currentDrive = location.drive;
}

std::optional<std::string> fullPath(std::string_view winPath) {
    const std::optional<Location> location = locate(winPath);
    if (!location) return std::nullopt;
    return windowsForm(*location);
}

std::string toWindows(std::string_view hostPath) {
    DriveTable& t = table();
    std::lock_guard lock(t.mutex);
    ensureLoaded(t);
    return toWindowsLocked(t, hostPath);
}

}  // namespace winplat::files

namespace winplat::testing {

void setDrives(std::string_view spec) {
    files::DriveTable& t = files::table();
    std::lock_guard lock(t.mutex);
    if (spec.empty()) {
        t.loaded = false;
        files::ensureLoaded(t);
    } else {
        files::load(t, spec);
    }
}

}  // namespace winplat::testing

using namespace winplat;

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    std::string path;
    {
        files::DriveTable& t = files::table();
        std::lock_guard lock(t.mutex);
        files::ensureLoaded(t);
        files::Location location;
        location.drive = t.currentDrive;
        location.components = t.drives.at(t.currentDrive).current;
        path = files::windowsForm(location);
    }
    if (bufferLength <= path.size() || !buffer) return static_cast<DWORD>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

DWORD GetLogicalDrives() {
    files::DriveTable& t = files::table();
    std::lock_guard lock(t.mutex);
    files::ensureLoaded(t);
    DWORD mask = 0;
    for (const auto& [letter, drive] : t.drives) mask |= DWORD{1} << (letter - 'A');
    return mask;
}

BOOL SetCurrentDirectoryA(LPCSTR pathName) {
    if (!pathName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::optional<files::Location> location = files::locate(pathName);
    if (!location) return FALSE;
    const std::optional<std::string> host = files::resolve(pathName);
    if (!host) return FALSE;
    if (!files::isFolder(*host)) {
        SetLastError(ERROR_DIRECTORY);
        return FALSE;
    }
    files::setCurrentDirectory(*location);
    return TRUE;
}
