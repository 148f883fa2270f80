// Reading the system's fonts from fontconfig: family names, style, file format, spacing and the
// code pages each face covers, all from fontconfig's cache without opening a font file.
//
// WINPLAT_FONTS naming folders (separated by ';') confines the catalogue to the font files in
// them and below, read with FreeType, so that what a run draws does not depend on the fonts a
// machine happens to have.
#include "text/installed_fonts.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/call_refusal.h"
#include "text/font_file_scan.h"
#include "text/fontconfig_owners.h"
#include "winplat/cp1250.h"

namespace winplat::text {
namespace {

constexpr Refuser refuse("winplat: fonts");

int intOf(const FcPattern* pattern, const char* object, int otherwise) {
    int value = otherwise;
    return FcPatternGetInteger(pattern, object, 0, &value) == FcResultMatch ? value : otherwise;
}

bool boolOf(const FcPattern* pattern, const char* object) {
    FcBool value = FcFalse;
    return FcPatternGetBool(pattern, object, 0, &value) == FcResultMatch && value;
}

// The family names cp1250 can hold exactly; the others could never be asked for.
std::vector<std::string> familiesOf(const FcPattern* pattern) {
    std::vector<std::string> families;
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        bool exact = false;
        std::string name = cp1250::fromUtf8(reinterpret_cast<const char*>(value), &exact);
        if (exact && !name.empty()) families.push_back(std::move(name));
    }
    return families;
}

int formatRank(const FcPattern* pattern) {
    FcChar8* format = nullptr;
    if (FcPatternGetString(pattern, FC_FONTFORMAT, 0, &format) != FcResultMatch) return 2;
    const char* name = reinterpret_cast<const char*>(format);
    if (std::strcmp(name, "TrueType") == 0) return 0;
    return std::strcmp(name, "CFF") == 0 ? 1 : 2;
}

Coverage coverageOf(const FcPattern* pattern) {
    FcCharSet* chars = nullptr;
    if (FcPatternGetCharSet(pattern, FC_CHARSET, 0, &chars) != FcResultMatch) return Coverage{false, false, false, true};
    return text::coverageOf([chars](char32_t c) { return FcCharSetHasChar(chars, c) != FcFalse; });
}

// The face a listed pattern describes; false for one the catalogue cannot use.
bool readFace(const FcPattern* pattern, CatalogueFace& face) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch) return false;
    if (!boolOf(pattern, FC_SCALABLE) || !boolOf(pattern, FC_OUTLINE)) return false;
    face.families = familiesOf(pattern);
    if (face.families.empty()) return false;
    face.file = reinterpret_cast<const char*>(file);
    face.index = intOf(pattern, FC_INDEX, 0);
    face.weight = FcWeightToOpenType(intOf(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR));
    face.italic = intOf(pattern, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
    face.width = intOf(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
    face.formatRank = formatRank(pattern);
    const int spacing = intOf(pattern, FC_SPACING, FC_PROPORTIONAL);
    face.fixedPitch = spacing == FC_MONO || spacing == FC_CHARCELL;
    face.family = face.fixedPitch ? FF_MODERN : FF_DONTCARE;
    face.coverage = coverageOf(pattern);
    return true;
}

// Files of the kinds FreeType reads as outline fonts; anything else in a font folder is passed over.
bool isFontFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* kind : {".ttf", ".ttc", ".otf", ".otc", ".pfb", ".pfa", ".t1"}) {
        if (extension == kind) return true;
    }
    return false;
}

// The faces of the font files in the folders and below, read with FreeType.
std::vector<CatalogueFace> scanFolders(const std::vector<std::string>& folders) {
    std::vector<CatalogueFace> faces;
    for (const std::string& folder : folders) {
        std::error_code error;
        std::filesystem::recursive_directory_iterator entry(folder, error), end;
        if (error) refuse.log("no fonts read from the folder " + folder + ": " + error.message());
        for (; !error && entry != end; entry.increment(error)) {
            if (!entry->is_regular_file(error) || !isFontFile(entry->path())) continue;
            for (CatalogueFace& face : scanFontFile(entry->path().string())) faces.push_back(std::move(face));
        }
    }
    return faces;
}

std::vector<CatalogueFace> readSystemFaces() {
    const FcConfigOwner config(FcInitLoadConfigAndFonts());
    if (!config) {
        refuse.log("fontconfig cannot load its configuration: no system fonts");
        return {};
    }

    const FcPatternOwner all(FcPatternCreate());
    const FcObjectSetOwner objects(FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, FC_WIDTH,
                                                    FC_SPACING, FC_FONTFORMAT, FC_SCALABLE, FC_OUTLINE, FC_CHARSET,
                                                    static_cast<char*>(nullptr)));
    if (!all || !objects) return {};
    const FcFontSetOwner set(FcFontList(config.get(), all.get(), objects.get()));
    if (!set) return {};
    std::vector<CatalogueFace> faces;
    for (int i = 0; i < set->nfont; ++i) {
        CatalogueFace face;
        if (readFace(set->fonts[i], face)) faces.push_back(std::move(face));
    }
    return faces;
}

}  // namespace

std::vector<std::string> fontFoldersOf(const char* setting) {
    std::vector<std::string> folders;
    if (!setting || std::strcmp(setting, "test") == 0) return folders;
    const std::string_view list(setting);
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(';', start), list.size());
        if (end > start) folders.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

std::vector<CatalogueFace> readInstalledFaces(const std::vector<std::string>& folders) {
    std::vector<CatalogueFace> faces = folders.empty() ? readSystemFaces() : scanFolders(folders);
    // Neither fontconfig nor a folder lists in a fixed order; the catalogue's answers must not
    // change between runs.
    std::sort(faces.begin(), faces.end(), [](const CatalogueFace& a, const CatalogueFace& b) {
        return a.file != b.file ? a.file < b.file : a.index < b.index;
    });
    return faces;
}

const std::vector<CatalogueFace>& installedFaces() {
    static const std::vector<CatalogueFace> faces = readInstalledFaces(fontFoldersOf(std::getenv("WINPLAT_FONTS")));
    return faces;
}

std::vector<const CatalogueFace*> installedFamily(std::string_view family) {
    std::vector<const CatalogueFace*> members;
    for (const CatalogueFace& face : installedFaces()) {
        if (isOfFamily(face, family)) members.push_back(&face);
    }
    return members;
}

}  // namespace winplat::text
