#include "shell/program_lookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/paths.h"
#include "winplat/process.h"

namespace winplat::shell {
namespace {

constexpr std::string_view kExe = ".exe";

bool endsWithExe(std::string_view name) {
    if (name.size() <= kExe.size()) return false;
    const std::string_view tail = name.substr(name.size() - kExe.size());
    for (size_t i = 0; i < kExe.size(); ++i) {
        if (static_cast<char>(std::tolower(static_cast<unsigned char>(tail[i]))) != kExe[i]) return false;
    }
    return true;
}

// The names to try, in order: the name, then the name without ".exe".
std::vector<std::string> candidates(std::string_view name) {
    std::vector<std::string> names{std::string(name)};
    if (endsWithExe(name)) names.emplace_back(name.substr(0, name.size() - kExe.size()));
    return names;
}

bool hasFolder(std::string_view name) { return name.find_first_of("\\/:") != std::string_view::npos; }

FoundProgram judged(const std::string& hostPath) {
    struct stat status {};
    if (::stat(hostPath.c_str(), &status) != 0) return {{}, ERROR_FILE_NOT_FOUND};
    if (!S_ISREG(status.st_mode) || ::access(hostPath.c_str(), X_OK) != 0) return {{}, ERROR_BAD_FORMAT};
    std::error_code error;
    const auto folder = std::filesystem::canonical(hostPath, error).parent_path();
    return {hostPath, 0, !error && folder == std::filesystem::path(programFolder())};
}

// The first candidate a resolver finds; the error of the last try otherwise.
template <class Resolve>
FoundProgram firstFound(std::string_view name, Resolve resolve) {
    FoundProgram result{{}, ERROR_FILE_NOT_FOUND};
    for (const std::string& candidate : candidates(name)) {
        if (const std::optional<std::string> host = resolve(candidate)) return judged(*host);
        if (GetLastError() == ERROR_PATH_NOT_FOUND) result.error = ERROR_PATH_NOT_FOUND;
    }
    return result;
}

// A name in a host folder, matched without regard to case through the folder's drive form.
std::optional<std::string> inHostFolder(const std::string& folder, const std::string& name) {
    const std::string windowsFolder = files::toWindows(folder);
    if (!windowsFolder.empty()) {
        const std::string separator = windowsFolder.back() == '\\' ? "" : "\\";
        if (auto host = files::resolve(windowsFolder + separator + name)) return host;
    }
    std::string direct = folder + "/" + cp1250::toUtf8(name);
    if (::access(direct.c_str(), F_OK) == 0) return direct;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
}

// The host's PATH folders.
std::vector<std::string> pathFolders() {
    std::vector<std::string> folders;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        if (!entry.empty()) folders.emplace_back(entry);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
    return folders;
}

bool driveForm(std::string_view text) {
    return text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' &&
           (text[2] == '\\' || text[2] == '/');
}

}  // namespace

std::string programFolder() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

FoundProgram findProgram(std::string_view windowsName) {
    if (windowsName.empty()) return {{}, ERROR_FILE_NOT_FOUND};
    if (hasFolder(windowsName)) {
        return firstFound(windowsName, [](const std::string& name) { return files::resolve(name); });
    }
    // The running program's folder, the current folder, then the PATH; a file of that name that
    // is no program does not hide a program further on.
    DWORD error = ERROR_FILE_NOT_FOUND;
    const auto consider = [&](const FoundProgram& found) {
        if (found.error == ERROR_BAD_FORMAT) error = ERROR_BAD_FORMAT;
        return found.error == 0;
    };
    const std::string own = programFolder();
    if (FoundProgram found = firstFound(windowsName, [&](const std::string& n) { return inHostFolder(own, n); }); consider(found)) {
        return found;
    }
    if (FoundProgram found = firstFound(windowsName, [](const std::string& n) { return files::resolve(n); }); consider(found)) {
        return found;
    }
    for (const std::string& folder : pathFolders()) {
        FoundProgram found = firstFound(windowsName, [&](const std::string& name) { return inHostFolder(folder, name); });
        if (consider(found)) return found;
    }
    return {{}, error};
}

std::string hostArgument(std::string_view windowsArgument) {
    if (driveForm(windowsArgument)) {
        if (auto host = files::resolve(windowsArgument, true)) return *host;
    }
    return cp1250::toUtf8(windowsArgument);
}

std::vector<std::string> hostArguments(const std::vector<std::string>& windowsArguments, const FoundProgram& program) {
    std::vector<std::string> arguments{program.hostPath};
    for (size_t i = 1; i < windowsArguments.size(); ++i) arguments.push_back(hostArgument(windowsArguments[i]));
    return arguments;
}

}  // namespace winplat::shell
