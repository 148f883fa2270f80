#include "files/state_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace winplat::files {

namespace {

std::string_view variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

std::string_view withoutTrailingSlash(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    return path;
}

// The state folder's name in two parts: a folder the environment names, and what follows it.
struct FolderName {
    std::string_view base;
    std::string_view rest;
};

FolderName stateFolderName() {
    if (auto state = variable("WINPLAT_STATE"); !state.empty()) return {withoutTrailingSlash(state), ""};
    if (auto config = variable("XDG_CONFIG_HOME"); !config.empty()) return {withoutTrailingSlash(config), "/winplat"};
    return {withoutTrailingSlash(variable("HOME")), "/.config/winplat"};
}

}  // namespace

std::string stateFolder() {
    const FolderName name = stateFolderName();
    return std::string(name.base) + std::string(name.rest);
}

bool isStateFolder(std::string_view folder) {
    const FolderName name = stateFolderName();
    return folder.size() == name.base.size() + name.rest.size() && folder.starts_with(name.base) &&
           folder.ends_with(name.rest);
}

std::string windowsFolder() { return stateFolder() + "/windows"; }

bool ensureFolder(const std::string& hostPath) {
    std::error_code error;
    std::filesystem::create_directories(hostPath, error);
    return !error && std::filesystem::is_directory(hostPath, error);
}

}  // namespace winplat::files
