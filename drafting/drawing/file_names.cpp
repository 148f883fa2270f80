#include "drawing/file_names.h"

#include "drawing/text_helpers.h"

namespace linework {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsRooted(std::string_view name) { return name.size() >= 2 && (IsSeparator(name[0]) || name[1] == ':'); }

// Where the extension's dot is, or npos when a separator comes first from the end.
size_t ExtensionDot(std::string_view name) {
    for (size_t i = name.size(); i-- > 0;) {
        if (name[i] == '.') return i;
        if (IsSeparator(name[i])) break;
    }
    return std::string_view::npos;
}

}  // namespace

std::string CompleteFileName(std::string_view defaultExtension, std::string_view name,
                             std::string_view programFolder) {
    std::string result(TrimBlanks(name));
    if (result.empty()) return result;
    if (!IsRooted(result)) result.insert(0, programFolder);
    std::string_view extension = TrimBlanks(defaultExtension);
    if (!extension.empty() && extension[0] == '.') {
        size_t dot = ExtensionDot(result);
        if (dot != std::string::npos) result.resize(dot);
        if (extension.size() > 1) result += extension;
    }
    if (result.size() > kShortStringMax) result.resize(kShortStringMax);
    return result;
}

std::string GetFileNamePart(bool directory, std::string_view name) {
    if (directory) {
        size_t at = name.find_last_of("\\/:");
        return at == std::string_view::npos ? std::string() : std::string(name.substr(0, at + 1));
    }
    size_t dot = ExtensionDot(name);
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

}  // namespace linework
