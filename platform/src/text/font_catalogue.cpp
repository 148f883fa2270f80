// The font catalogue: which file draws a logical font. In order: the program's own fonts
// (AddFontResourceA), the stand-ins for the classic Windows names, the system's fonts of exactly
// the asked family, and last a serif, mono or sans face chosen by the font's pitch and family.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/catalogue_face.h"
#include "text/face_source.h"
#include "text/font_substitutes.h"
#include "text/installed_fonts.h"
#include "text/private_fonts.h"
#include "winplat/cp1250.h"

namespace winplat::text {
namespace {

struct Style {
    int weight = FW_NORMAL;
    bool italic = false;
};

Style styleOf(const LOGFONTA& font) {
    return {font.lfWeight == FW_DONTCARE ? FW_NORMAL : static_cast<int>(font.lfWeight), font.lfItalic != 0};
}

struct CharSetChoice {
    ByteMap bytes;
    BYTE charSet;
};

CharSetChoice charSetFor(BYTE asked) {
    switch (asked) {
    case ANSI_CHARSET:
        return {ByteMap::Cp1252, ANSI_CHARSET};
    case RUSSIAN_CHARSET:
        return {ByteMap::Cp1251, RUSSIAN_CHARSET};
    case SYMBOL_CHARSET:
        return {ByteMap::Symbol, SYMBOL_CHARSET};
    case EASTEUROPE_CHARSET:
        return {ByteMap::Cp1250, EASTEUROPE_CHARSET};
    default:  // DEFAULT_CHARSET: the system's
        return {ByteMap::Cp1250, kSystemCharSet};
    }
}

// The face's spelling of the asked family, or its first family when it was not asked by name.
std::string reportedFamily(const CatalogueFace& face, std::string_view asked) {
    for (const std::string& family : face.families) {
        if (!asked.empty() && cp1250::lower(family) == cp1250::lower(asked)) return family;
    }
    return face.families.front();
}

// The source for the member of the family closest to the style, in the asked character set
// (a symbol face in its own), reporting the family as the face spells it.
std::optional<FaceSource> sourceFrom(const std::vector<const CatalogueFace*>& members, const LOGFONTA& font,
                                     std::string_view asked = {}) {
    const Style style = styleOf(font);
    const CatalogueFace* face = closestStyle(members, style.weight, style.italic);
    if (!face) return std::nullopt;
    FaceSource source;
    source.file = face->file;
    source.index = face->index;
    source.family = reportedFamily(*face, asked);
    const CharSetChoice choice = face->coverage.symbol ? CharSetChoice{ByteMap::Symbol, SYMBOL_CHARSET}
                                                       : charSetFor(font.lfCharSet);
    source.bytes = choice.bytes;
    source.charSet = choice.charSet;
    source.syntheticBold = style.weight >= FW_SEMIBOLD && face->weight < FW_SEMIBOLD;
    source.syntheticItalic = style.italic && !face->italic;
    return source;
}

std::vector<const CatalogueFace*> pointersTo(const std::vector<CatalogueFace>& faces) {
    std::vector<const CatalogueFace*> pointers;
    for (const CatalogueFace& face : faces) pointers.push_back(&face);
    return pointers;
}

std::optional<FaceSource> fromPrivateFonts(const LOGFONTA& font) {
    const std::vector<CatalogueFace> faces = privateFamily(font.lfFaceName);
    return sourceFrom(pointersTo(faces), font, font.lfFaceName);
}

// The classic dialog font's 8-point size at 96 DPI: an em of 11 pixels, a cell of 13.
bool isClassicDialogSize(LONG height) {
    return height == -11 || height == 13;
}

void applySubstitute(const SubstituteName& name, const LOGFONTA& font, FaceSource& source) {
    source.family = name.row->name;
    switch (name.row->kind) {
    case SubstituteKind::Symbol:
        source.bytes = ByteMap::Symbol;
        source.charSet = SYMBOL_CHARSET;
        break;
    case SubstituteKind::Wingdings:
        source.bytes = ByteMap::Wingdings;
        source.charSet = SYMBOL_CHARSET;
        break;
    case SubstituteKind::ClassicDialog:
        source.classicDialogMetrics = isClassicDialogSize(font.lfHeight);
        break;
    case SubstituteKind::Text:
        break;
    }
    if (name.charSet) {
        const CharSetChoice choice = charSetFor(*name.charSet);
        source.bytes = choice.bytes;
        source.charSet = choice.charSet;
    }
}

std::optional<FaceSource> fromSubstitutes(const LOGFONTA& font) {
    const std::optional<SubstituteName> name = findSubstitute(font.lfFaceName);
    if (!name) return std::nullopt;
    for (const std::string_view family : name->row->families) {
        if (family.empty()) continue;
        std::optional<FaceSource> source = sourceFrom(installedFamily(family), font);
        if (!source) continue;
        applySubstitute(*name, font, *source);
        return source;
    }
    return std::nullopt;
}

std::optional<FaceSource> fromInstalledFonts(const LOGFONTA& font) {
    if (font.lfFaceName[0] == '\0') return std::nullopt;
    return sourceFrom(installedFamily(font.lfFaceName), font, font.lfFaceName);
}

// The families a font without a known name falls back to, Liberation first, DejaVu last.
std::vector<std::string_view> fallbackFamilies(BYTE pitchAndFamily) {
    const BYTE family = pitchAndFamily & 0xF0;
    // A fixed pitch is asked of columns of text: it matters more than the serifs.
    if (family == FF_MODERN || (pitchAndFamily & 0x0F) == FIXED_PITCH) return {"Liberation Mono", "DejaVu Sans Mono"};
    if (family == FF_ROMAN) return {"Liberation Serif", "DejaVu Serif"};
    return {"Liberation Sans", "DejaVu Sans"};
}

std::optional<FaceSource> fromFallback(const LOGFONTA& font) {
    for (const std::string_view family : fallbackFamilies(font.lfPitchAndFamily)) {
        if (std::optional<FaceSource> source = sourceFrom(installedFamily(family), font)) return source;
    }
    // Whatever the system or the program has rather than no text at all.
    if (std::optional<FaceSource> source = sourceFrom(pointersTo(installedFaces()), font)) return source;
    const std::vector<CatalogueFace> added = allPrivateFaces();
    return sourceFrom(pointersTo(added), font);
}

}  // namespace

std::optional<FaceSource> findFace(const LOGFONTA& font) {
    if (font.lfFaceName[0] != '\0') {
        if (std::optional<FaceSource> source = fromPrivateFonts(font)) return source;
        if (std::optional<FaceSource> source = fromSubstitutes(font)) return source;
        if (std::optional<FaceSource> source = fromInstalledFonts(font)) return source;
    }
    return fromFallback(font);
}

}  // namespace winplat::text
