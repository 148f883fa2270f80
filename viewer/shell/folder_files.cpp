#include "shell/folder_files.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/string_list.h"
#include "winplat/base.h"
#include "winplat/paths.h"
#include "winplat/refusal.h"
#include "winplat/shell.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: folder listing");

// The cp1250 names of the folder's files, in name order; none when the folder cannot be read.
std::optional<std::vector<std::string>> FileNamesIn(const std::string& folder) {
    const std::optional<std::string> host = winplat::files::resolve(folder);
    if (!host) return std::nullopt;
    std::error_code error;
    std::filesystem::directory_iterator entries(*host, error);
    if (error) return std::nullopt;
    std::vector<std::string> names;
    for (const std::filesystem::directory_entry& entry : entries) {
        if (entry.is_directory(error)) continue;
        const std::string windows = winplat::files::toWindows(entry.path().string());
        const size_t slash = windows.rfind('\\');
        if (slash != std::string::npos) names.push_back(windows.substr(slash + 1));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return names;
}

}  // namespace

uint16_t ListFilesInFolder(const char* folder, StringList& list, const char* mask, FileNaming naming) {
    std::string prefix = folder ? folder : "";
    if (!prefix.empty() && prefix.back() != '\\') prefix += '\\';
    const auto names = FileNamesIn(prefix.empty() ? std::string(".") : prefix);
    if (!names) return refuse(uint16_t{0}, "the folder cannot be read");
    uint16_t added = 0;
    for (const std::string& name : *names) {
        if (!PathMatchSpecA(name.c_str(), mask ? mask : "*")) continue;
        const std::string entry = naming == FileNaming::FullPath ? prefix + name : name;
        if (entry.size() > StringList::kMaxLength) {
            refuse.log("a name longer than the list's entries is left out");
            continue;
        }
        if (StringList::IsAddFailure(list.AddString(entry.data(), static_cast<int>(entry.size())))) continue;
        ++added;
    }
    return added;
}

}  // namespace lect32
