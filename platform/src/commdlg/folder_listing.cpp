// Reading a folder for the file dialogs through the path resolver: Windows names in, cp1250
// names out.
#include "commdlg/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "commdlg/file_patterns.h"
#include "winplat/cp1250.h"
#include "winplat/files.h"
#include "winplat/paths.h"

namespace winplat::commdlg {
namespace {

namespace fs = std::filesystem;

void sortByName(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return cp1250::lower(a) < cp1250::lower(b); });
}

fs::file_status statusOf(std::string_view winPath) {
    const std::optional<std::string> host = files::resolve(winPath);
    std::error_code ignored;
    return host ? fs::status(*host, ignored) : fs::file_status{};
}

}  // namespace

std::optional<FolderListing> listFolder(std::string_view winFolder, std::string_view patterns) {
    const std::optional<std::string> host = files::resolve(winFolder);
    if (!host) return std::nullopt;
    std::error_code error;
    fs::directory_iterator entries(*host, error);
    if (error) return std::nullopt;
    FolderListing listing;
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        if (error) return std::nullopt;
        const std::string name = cp1250::fromUtf8(entries->path().filename().string());
        if (name.empty() || name.front() == '.') continue;
        std::error_code ignored;
        if (entries->is_directory(ignored)) listing.folders.push_back(name);
        else if (matchesAny(patterns, name)) listing.files.push_back(name);
    }
    sortByName(listing.folders);
    sortByName(listing.files);
    return listing;
}

bool isFolder(std::string_view winPath) { return fs::is_directory(statusOf(winPath)); }

bool isFile(std::string_view winPath) {
    const fs::file_status status = statusOf(winPath);
    return fs::exists(status) && !fs::is_directory(status);
}

std::string diskCase(const std::string& winFolder) {
    const std::optional<std::string> host = files::resolve(winFolder);
    if (!host) return winFolder;
    std::string found = files::toWindows(*host);
    if (found.size() > 3 && found.back() == '\\') found.pop_back();
    // Another drive may hold the same host folder more closely: keep the drive asked for.
    return found.size() >= 3 && found.compare(0, 2, winFolder, 0, 2) == 0 ? found : winFolder;
}

std::string currentFolder() {
    char buffer[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return length && length < sizeof buffer ? std::string(buffer, length) : std::string("C:\\");
}

std::vector<std::string> driveNames() {
    std::vector<std::string> names;
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (drives & (DWORD{1} << letter)) names.push_back(std::string(1, static_cast<char>('A' + letter)) + ":");
    }
    return names;
}

}  // namespace winplat::commdlg
