// The file dialogs' filters and the Windows wildcards they hold.
#ifndef WINPLAT_SRC_COMMDLG_FILE_PATTERNS_H
#define WINPLAT_SRC_COMMDLG_FILE_PATTERNS_H

#include <string>
#include <string_view>
#include <vector>

namespace winplat::commdlg {

struct FileFilter {
    std::string description;  // cp1250, as the type list shows it
    std::string patterns;     // "*.txt;*.602"
};

// The pairs of a filter block: zero-terminated description and patterns, one after the other,
// up to the first empty text. The block has no stated size, so reading stops after 'limit'
// bytes; a pair cut off there, or a description without patterns, is left out.
std::vector<FileFilter> readFilters(const char* block, size_t limit = 32768);

// Whether a name matches one of the ';'-separated wildcards of 'patterns': '*' any run, '?' one
// character, letters matched case-insensitively (cp1250), and a trailing ".*" also matching a
// name without an extension, as Windows matches it.
bool matchesAny(std::string_view patterns, std::string_view name);

// Whether a text typed as a name is a pattern ('*' or '?' in it).
bool isPattern(std::string_view text);

}  // namespace winplat::commdlg

#endif
