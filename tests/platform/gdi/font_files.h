// Font files for the catalogue tests: the system's files by name, and copies of them renamed to a
// family no system font has, so that a test can tell a private font from everything else.
#ifndef WINPLAT_TESTS_GDI_FONT_FILES_H
#define WINPLAT_TESTS_GDI_FONT_FILES_H

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "support/sfnt_names.h"
#include "text/installed_fonts.h"

namespace fonttest {

// The host path of an installed font file by its base name ("LiberationSans-Regular.ttf"), or
// empty when the system does not have it.
inline std::string installedFile(const std::string& baseName) {
    for (const winplat::text::CatalogueFace& face : winplat::text::installedFaces()) {
        if (std::filesystem::path(face.file).filename() == baseName) return face.file;
    }
    return {};
}

// The first of the files the system lacks, or empty when it has them all.
inline std::string missingFile(std::initializer_list<const char*> baseNames) {
    for (const char* name : baseNames) {
        if (installedFile(name).empty()) return name;
    }
    return {};
}

inline std::string baseName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A copy of an installed TrueType file renamed to the family, written to 'path'; false when the
// system lacks the file.
inline bool writeRenamedFont(const std::string& installedBaseName, const std::string& family,
                             const std::string& subfamily, const std::string& path) {
    const std::string source = installedFile(installedBaseName);
    if (source.empty()) return false;
    writeFile(path, withNameTable(readFile(source), nameTable(family, subfamily)));
    return true;
}

}  // namespace fonttest

#endif
