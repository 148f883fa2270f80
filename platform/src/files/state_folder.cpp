#include "files/state_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace winplat::files {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string stateFolder() {
    if (auto state = variable("WINPLAT_STATE"); !state.empty()) return withoutTrailingSlash(state);
    if (auto config = variable("XDG_CONFIG_HOME"); !config.empty()) return withoutTrailingSlash(config) + "/winplat";
    return withoutTrailingSlash(variable("HOME")) + "/.config/winplat";
}

std::string windowsFolder() { return stateFolder() + "/windows"; }

bool ensureFolder(const std::string& hostPath) {
    std::error_code error;
    std::filesystem::create_directories(hostPath, error);
    return !error && std::filesystem::is_directory(hostPath, error);
}

}  // namespace winplat::files
