#include "ui/program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "winplat/debug.h"
#include "winplat/paths.h"

namespace linework {

namespace fs = std::filesystem;

namespace {
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}
}  // namespace

std::string ProgramFolderHostPath() {
    if (std::string home = Environment("LINEWORK_HOME"); !home.empty()) return home;
    if (std::string data = Environment("XDG_DATA_HOME"); !data.empty()) return data + "/linework";
    if (std::string home = Environment("HOME"); !home.empty()) return home + "/.local/share/linework";
    return {};
}

std::string KitFolderHostPath() {
    if (std::string kit = Environment("LINEWORK_KIT"); !kit.empty()) return kit;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return (self.parent_path() / "linework-kit").string();
}

int InstallKit(const std::string& kitFolder, const std::string& programFolder) {
    std::error_code error;
    fs::create_directories(programFolder, error);
    if (error || !fs::is_directory(programFolder)) {
        OutputDebugStringA(("program folder: cannot make " + programFolder + ": " + error.message() + "\n").c_str());
        return -1;
    }
    if (kitFolder.empty() || !fs::is_directory(kitFolder)) {
        OutputDebugStringA(("program folder: no kit at '" + kitFolder + "'; starting without it\n").c_str());
        return 0;
    }
    int copied = 0;
    for (auto it = fs::recursive_directory_iterator(kitFolder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const fs::path relative = fs::relative(it->path(), kitFolder, error);
        if (error) break;
        const fs::path target = fs::path(programFolder) / relative;
        if (it->is_directory()) {
            fs::create_directories(target, error);
            continue;
        }
        if (fs::exists(target)) continue;
        if (fs::copy_file(it->path(), target, fs::copy_options::skip_existing, error)) ++copied;
        if (error) {
            OutputDebugStringA(("program folder: cannot copy " + relative.string() + ": " + error.message() + "\n").c_str());
            error.clear();
        }
    }
    return copied;
}

std::string WindowsFolder(const std::string& hostFolder) {
    std::string folder = winplat::files::toWindows(hostFolder);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace linework
