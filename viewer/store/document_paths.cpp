#include "store/document_paths.h"

#include <cstring>
#include <optional>
#include <string>

#include "store/disk_file.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"

namespace lect32 {
namespace {

std::string& documentPath() {
    static std::string path;
    return path;
}

// The folder of a path: up to its last backslash. Nothing when there is no backslash, so that a
// bare name never counts as a folder every path starts with.
std::optional<std::string> folderOf(const char* folder) {
    const char* source = folder ? folder : documentPath().c_str();
    const char* last = std::strrchr(source, '\\');
    if (!last) return std::nullopt;
    return std::string(source, last);
}

bool isDocumentRelative(const char* path) { return path[0] == '\\' && path[1] != '\\'; }

bool fits(const std::string& path) { return path.size() < kDocumentPathBuffer; }

bool opensForReading(const std::string& path) {
    DiskFile file;
    if (!file.Open(path.c_str(), DiskFile::kRead)) return false;
    file.Close();
    return true;
}

}  // namespace

void SetDocumentPathForPaths(const char* path) { documentPath() = path ? path : ""; }

const char* GetDocumentPathForPaths() { return documentPath().c_str(); }

int MakeDocumentRelativePath(char* path, const char* folder) {
    if (!path || documentPath().empty()) return 0;
    const size_t length = std::strlen(path);
    if (length > 2 && path[1] != ':' && path[1] != '\\') {
        if (path[0] == '\\' || path[0] == '$') return 0;
        if (!fits(std::string(path) + "\\")) return 0;
        std::memmove(path + 1, path, length + 1);
        path[0] = '\\';
        return 1;
    }
    CharLowerA(path);
    std::optional<std::string> base = folderOf(folder);
    if (!base || base->empty()) return 0;
    CharLowerA(base->data());
    // The folder must end at a separator of the path: "c:\doc" is not a folder of "c:\docs\x".
    if (std::strncmp(path, base->c_str(), base->size()) != 0 || path[base->size()] != '\\') return 0;
    std::memmove(path, path + base->size(), length - base->size() + 1);
    return 1;
}

int ExpandDocumentRelativePath(char* path, const char* folder) {
    if (!path || !isDocumentRelative(path)) return 0;
    std::optional<std::string> base = folderOf(folder);
    if (!base) return 0;
    const std::string expanded = *base + path;
    if (!fits(expanded)) return 0;
    std::memcpy(path, expanded.c_str(), expanded.size() + 1);
    return 1;
}

int ResolveDocumentFile(char* path, const char* folder) {
    if (!path || !*path) return 0;
    char candidate[kDocumentPathBuffer];
    if (std::strlen(path) >= sizeof candidate) return 0;
    std::strcpy(candidate, path);
    ExpandDocumentRelativePath(candidate, folder);
    std::string found;
    if (opensForReading(candidate)) {
        found = candidate;
    } else {
        std::optional<std::string> base = folderOf(folder);
        if (!base) return 0;
        const char* last = std::strrchr(candidate, '\\');
        const std::string beside = *base + "\\" + (last ? last + 1 : candidate);
        if (!fits(beside) || !opensForReading(beside)) return 0;
        found = beside;
    }
    std::memcpy(path, found.c_str(), found.size() + 1);
    return 1;
}

int GetMediaType(const char* fileName) {
    if (!fileName) return 0;
    const char* name = std::strrchr(fileName, '\\');
    const char* dot = std::strrchr(name ? name : fileName, '.');
    if (!dot) return 0;
    const std::string extension = winplat::cp1250::lowerAscii(dot + 1);
    if (extension.size() > 11) return 0;
    static constexpr struct {
        const char* extension;
        int type;
    } kTypes[] = {{"pcx", 1}, {"gif", 2}, {"tif", 3},   {"bmp", 4},   {"wpg", 5},   {"ico", 6},   {"mac", 7},
                  {"tga", 8}, {"jpg", 9}, {"png", 10}, {"wmf", 100}, {"avi", 201}, {"wav", 204}, {"mid", 205}};
    for (const auto& entry : kTypes) {
        if (extension == entry.extension) return entry.type;
    }
    return 0;
}

}  // namespace lect32
