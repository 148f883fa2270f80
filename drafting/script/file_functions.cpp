// Functions over files and folders: existence, the directory search of "name file", and the
// current directory of a drive. Names are completed against the program folder as every file
// name of the program is; the folder's files are found through the platform's drive table.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "drawing/file_names.h"
#include "drawing/text_helpers.h"
#include "script/day_numbers.h"
#include "script/script_functions.h"
#include "winplat/files.h"
#include "winplat/paths.h"

namespace linework {

namespace {

constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrHidden = 0x02;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;

char Folded(char c) { return static_cast<char>(UpperCaseShortString(std::string_view(&c, 1))[0]); }

// A file-name mask with * and ?, without regard to case; "*.*" takes names without a dot too.
bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*") mask = "*";
    size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || Folded(mask[m]) == Folded(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

std::string LastComponent(std::string_view windowsPath) {
    size_t cut = windowsPath.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? windowsPath : windowsPath.substr(cut + 1));
}

struct FoundFile {
    std::string name;  // cp1250
    uint32_t attributes = 0;
    double size = 0;
    double day = 0;
};

std::optional<FoundFile> Describe(const std::string& hostPath) {
    struct stat info {};
    if (stat(hostPath.c_str(), &info) != 0) return std::nullopt;
    FoundFile file;
    file.name = LastComponent(winplat::files::toWindows(hostPath));
    bool folder = S_ISDIR(info.st_mode);
    file.attributes = folder ? kAttrDirectory : kAttrArchive;
    if (access(hostPath.c_str(), W_OK) != 0) file.attributes |= kAttrReadOnly;
    if (!file.name.empty() && file.name[0] == '.') file.attributes |= kAttrHidden;
    file.size = folder ? 0 : static_cast<double>(info.st_size);
    file.day = DayNumberOfTime(info.st_mtime);
    return file;
}

// The files of the pattern's folder that match its mask and the attribute mask (folders and
// hidden files only when asked for), in name order, as host paths last first.
std::vector<std::string> StartSearch(const std::string& pattern, uint32_t mask) {
    std::vector<std::string> found;
    auto folder = winplat::files::resolve(GetFileNamePart(true, pattern));
    std::string fileMask = pattern.substr(GetFileNamePart(true, pattern).size());
    if (!folder || fileMask.empty()) return found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(*folder, error)) {
        auto file = Describe(entry.path().string());
        if (!file || !MatchesMask(file->name, fileMask)) continue;
        if ((file->attributes & kAttrDirectory) && !(mask & kAttrDirectory)) continue;
        if ((file->attributes & kAttrHidden) && !(mask & kAttrHidden)) continue;
        found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) { return a > b; });
    return found;
}

// Word 4 holds the attribute mask as the search starts and takes the found file's attributes;
// words 5 and 6 take its size and date-time; the pattern is words 7 on.
constexpr int kFirstPatternWord = 7;

std::optional<double> Exist(FunctionContext& c) {
    bool folder = c.RawText(3) == "dir";
    std::string name = CompleteFileName("", c.FileName(folder ? 4 : 3), c.engine.ProgramFolder());
    if (name.empty()) return 0.0;
    DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0.0;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == (folder ? FILE_ATTRIBUTE_DIRECTORY : 0u) ? 1.0 : 0.0;
}

constexpr NumericFunctionEntry kFileNumbers[] = {{"exist", Exist}};

}  // namespace

std::optional<std::string> SearchDirectory(FunctionContext& c) {
    DirSearch& search = c.engine.runtime.Search();
    if (c.Last() >= kFirstPatternWord) {
        c.engine.runtime.CloseDirSearch();
        std::string pattern = CompleteFileName("", c.FileName(kFirstPatternWord), c.engine.ProgramFolder());
        search.pending = StartSearch(pattern, static_cast<uint32_t>(c.Num(4)));
        search.open = true;
    }
    while (search.open && !search.pending.empty()) {
        std::string next = std::move(search.pending.back());
        search.pending.pop_back();
        auto file = Describe(next);  // gone since the search started: the next one
        if (!file) continue;
        if (!c.engine.StoreTarget(4, file->attributes) || !c.engine.StoreTarget(5, file->size) ||
            !c.engine.StoreTarget(6, file->day))
            return std::nullopt;
        return file->name;
    }
    c.engine.runtime.CloseDirSearch();
    return std::string();
}

std::span<const NumericFunctionEntry> FileNumberFunctions() { return kFileNumbers; }

}  // namespace linework
