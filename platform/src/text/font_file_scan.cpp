// Font files read through FreeType's public API: the name table for the family, the OS/2 table for
// weight and class, the cmaps for coverage.
#include "text/font_file_scan.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "text/ft_library.h"
#include "winplat/cp1250.h"

namespace winplat::text {
namespace {

constexpr FT_UShort kFamilyNameId = 1;
constexpr FT_UShort kEnglishUs = 0x0409;

// A UTF-16BE name as cp1250; nothing when a character does not fit. The name ends at a U+0000,
// as programs see it: a family they can only name up to there must be listed and found as that.
std::string fromUtf16Be(const FT_Byte* bytes, FT_UInt length) {
    std::string text;
    for (FT_UInt i = 0; i + 1 < length; i += 2) {
        const auto unit = static_cast<char32_t>((bytes[i] << 8) | bytes[i + 1]);
        if (unit == 0) break;
        uint8_t byte = 0;
        if (!cp1250::fromUnicode(unit, byte)) return {};
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

// How well a name record suits: Windows Unicode names in US English first, then other Windows
// names (symbol fonts use encoding 0), then anything else; -1 for a record that is no family.
int nameRank(const FT_SfntName& name) {
    if (name.name_id != kFamilyNameId || name.platform_id != TT_PLATFORM_MICROSOFT) return -1;
    if (name.encoding_id != TT_MS_ID_UNICODE_CS && name.encoding_id != TT_MS_ID_SYMBOL_CS) return -1;
    return name.language_id == kEnglishUs ? 2 : 1;
}

std::string familyOf(FT_Face face) {
    std::string best;
    int bestRank = 0;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name{};
        if (FT_Get_Sfnt_Name(face, i, &name) != 0) continue;
        const int rank = nameRank(name);
        if (rank <= bestRank) continue;
        std::string family = fromUtf16Be(name.string, name.string_len);
        if (family.empty()) continue;
        best = std::move(family);
        bestRank = rank;
    }
    if (best.empty() && face->family_name) best = cp1250::fromUtf8(face->family_name);
    return best;
}

bool hasSymbolCmap(FT_Face face) {
    for (FT_Int i = 0; i < face->num_charmaps; ++i) {
        if (face->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL) return true;
    }
    return false;
}

Coverage coverageOf(FT_Face face) {
    if (hasSymbolCmap(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return Coverage{false, false, false, true};
    return text::coverageOf([face](char32_t c) { return FT_Get_Char_Index(face, c) != 0; });
}

// The family class the PANOSE numbers of the OS/2 table give a Latin text face.
BYTE familyClass(const TT_OS2* os2, bool fixedPitch) {
    if (fixedPitch) return FF_MODERN;
    constexpr FT_Byte kLatinText = 2, kLatinDecorative = 4, kLatinSymbol = 5, kFirstSansSerif = 11, kLastSansSerif = 13;
    if (!os2) return FF_DONTCARE;
    const FT_Byte kind = os2->panose[0];
    const FT_Byte serif = os2->panose[1];
    if (kind == kLatinDecorative || kind == kLatinSymbol) return FF_DECORATIVE;
    if (kind != kLatinText || serif < 2) return FF_DONTCARE;
    return serif >= kFirstSansSerif && serif <= kLastSansSerif ? FF_SWISS : FF_ROMAN;
}

// Reads big-endian numbers of the whole font file (tag 0 is the file itself to FreeType).
std::optional<uint32_t> fileNumber(FT_Face face, FT_ULong offset, FT_ULong size) {
    std::array<FT_Byte, 4> bytes{};
    FT_ULong length = size;
    if (FT_Load_Sfnt_Table(face, 0, static_cast<FT_Long>(offset), bytes.data(), &length) != 0) return std::nullopt;
    uint32_t value = 0;
    for (FT_ULong i = 0; i < size; ++i) value = (value << 8) | bytes.at(i);
    return value;
}

// Whether every table of an sfnt face lies within the file. FreeType opens a cut file, shortening
// the tables that run past its end, and fails only later, on a glyph.
bool tablesComplete(FT_Face face) {
    if (!FT_IS_SFNT(face)) return true;
    constexpr uint32_t kCollection = 0x74746366;  // "ttcf"
    FT_ULong fileSize = 0;
    if (FT_Load_Sfnt_Table(face, 0, 0, nullptr, &fileSize) != 0) return false;
    const std::optional<uint32_t> signature = fileNumber(face, 0, 4);
    if (!signature) return false;
    std::optional<uint32_t> directory = 0;
    if (*signature == kCollection) directory = fileNumber(face, 12 + 4 * static_cast<FT_ULong>(face->face_index & 0xFFFF), 4);
    const std::optional<uint32_t> count = directory ? fileNumber(face, *directory + 4, 2) : std::nullopt;
    if (!count) return false;
    for (uint32_t i = 0; i < *count; ++i) {
        const FT_ULong record = *directory + 12 + 16 * FT_ULong{i};
        const std::optional<uint32_t> offset = fileNumber(face, record + 8, 4);
        const std::optional<uint32_t> length = fileNumber(face, record + 12, 4);
        if (!offset || !length || uint64_t{*offset} + *length > fileSize) return false;
    }
    return true;
}

int formatRank(FT_Face face) {
    const char* format = FT_Get_Font_Format(face);
    const std::string_view name = format ? format : "";
    if (name == "TrueType") return 0;
    return name == "CFF" ? 1 : 2;
}

CatalogueFace describe(FT_Face face, const std::string& hostPath, long index) {
    CatalogueFace described;
    described.file = hostPath;
    described.index = index;
    described.families.push_back(familyOf(face));
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    described.weight = os2 && os2->usWeightClass != 0 ? os2->usWeightClass : (bold ? FW_BOLD : FW_NORMAL);
    described.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    described.formatRank = formatRank(face);
    described.fixedPitch = FT_IS_FIXED_WIDTH(face);
    described.family = familyClass(os2, described.fixedPitch);
    described.coverage = coverageOf(face);
    return described;
}

}  // namespace

std::vector<CatalogueFace> scanFontFile(const std::string& hostPath) {
    // Face -1 tells how many faces the file holds without reading any.
    FT_Long count = 0;
    if (const FaceOwner probe = openFtFace(hostPath, -1)) count = probe->num_faces;
    std::vector<CatalogueFace> faces;
    for (FT_Long index = 0; index < count; ++index) {
        const FaceOwner face = openFtFace(hostPath, index);
        if (!face || !FT_IS_SCALABLE(face.get()) || !tablesComplete(face.get())) continue;
        CatalogueFace described = describe(face.get(), hostPath, index);
        if (!described.families.front().empty()) faces.push_back(std::move(described));
    }
    return faces;
}

}  // namespace winplat::text
