// Filter blocks and wildcard matching for the file dialogs.
#include "commdlg/file_patterns.h"

#include <algorithm>
#include <cstring>

#include "winplat/cp1250.h"

namespace winplat::commdlg {
namespace {

bool sameLetter(char a, char b) {
    return cp1250::toLower(static_cast<uint8_t>(a)) == cp1250::toLower(static_cast<uint8_t>(b));
}

// Iterative wildcard match: on a mismatch go back to the last '*' and let it take one more
// character, so no pattern costs more than length(pattern) * length(name) steps.
bool matches(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && sameLetter(pattern[p], name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool matchesOne(std::string_view pattern, std::string_view name) {
    if (matches(pattern, name)) return true;
    const bool anyExtension = pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*";
    return anyExtension && name.find('.') == std::string_view::npos &&
           matches(pattern.substr(0, pattern.size() - 2), name);
}

}  // namespace

std::vector<FileFilter> readFilters(const char* block, size_t limit) {
    std::vector<FileFilter> filters;
    if (!block) return filters;
    size_t at = 0;
    const auto next = [&](std::string& text) {
        const void* end = std::memchr(block + at, 0, limit - at);
        if (!end) return false;
        const size_t length = static_cast<size_t>(static_cast<const char*>(end) - (block + at));
        text.assign(block + at, length);
        at += length + 1;
        return true;
    };
    FileFilter filter;
    while (at < limit && next(filter.description) && !filter.description.empty()) {
        if (at >= limit || !next(filter.patterns) || filter.patterns.empty()) break;
        filters.push_back(filter);
    }
    return filters;
}

bool matchesAny(std::string_view patterns, std::string_view name) {
    size_t start = 0;
    while (start <= patterns.size()) {
        const size_t end = std::min(patterns.find(';', start), patterns.size());
        std::string_view one = patterns.substr(start, end - start);
        while (!one.empty() && one.front() == ' ') one.remove_prefix(1);
        while (!one.empty() && one.back() == ' ') one.remove_suffix(1);
        if (!one.empty() && matchesOne(one, name)) return true;
        start = end + 1;
    }
    return false;
}

bool isPattern(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

}  // namespace winplat::commdlg
