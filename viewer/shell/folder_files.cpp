#include "shell/folder_files.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/string_list.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/paths.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: folder listing");

bool SameLetter(char a, char b) {
    return winplat::cp1250::toLower(static_cast<uint8_t>(a)) == winplat::cp1250::toLower(static_cast<uint8_t>(b));
}

// Backtracks to the last '*' on a mismatch and lets it take one more character.
bool MatchesWildcard(std::string_view mask, std::string_view name) {
    size_t m = 0;
    size_t n = 0;
    size_t star = std::string_view::npos;
    size_t starTook = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            star = m++;
            starTook = n;
        } else if (m < mask.size() && (mask[m] == '?' || SameLetter(mask[m], name[n]))) {
            ++m;
            ++n;
        } else if (star != std::string_view::npos) {
            m = star + 1;
            n = ++starTook;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

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

bool MatchesFileMask(std::string_view mask, std::string_view name) {
    if (MatchesWildcard(mask, name)) return true;
    const bool anyExtension = mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*";
    return anyExtension && name.find('.') == std::string_view::npos && MatchesWildcard(mask.substr(0, mask.size() - 2), name);
}

uint16_t ListFilesInFolder(const char* folder, StringList& list, const char* mask, FileNaming naming) {
    std::string prefix = folder ? folder : "";
    if (!prefix.empty() && prefix.back() != '\\') prefix += '\\';
    const auto names = FileNamesIn(prefix.empty() ? std::string(".") : prefix);
    if (!names) return refuse(uint16_t{0}, "the folder cannot be read");
    uint16_t added = 0;
    for (const std::string& name : *names) {
        if (!MatchesFileMask(mask ? mask : "*", name)) continue;
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
