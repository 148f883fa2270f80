// Where the glyphs of a logical font come from: the catalogue matches a LOGFONTA to a font file
// (private fonts first, then the substitutions for the classic Windows names, then fontconfig),
// and a FreeType face is opened over that file at the font's size and style.
#ifndef WINPLAT_SRC_TEXT_FACE_SOURCE_H
#define WINPLAT_SRC_TEXT_FACE_SOURCE_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "text/face.h"
#include "winplat/text.h"

namespace winplat::gdi {
struct FontObject;  // gdi/objects.h
}

namespace winplat::text {

// How the bytes of a string become characters of the face.
enum class ByteMap : uint8_t {
    Cp1250,     // EASTEUROPE_CHARSET, and DEFAULT_CHARSET on this Central European system
    Cp1251,     // RUSSIAN_CHARSET
    Cp1252,     // ANSI_CHARSET
    Symbol,     // SYMBOL_CHARSET: the face's symbol cmap at U+F000 + byte, else its own encoding
    Wingdings,  // the few Wingdings glyphs documents use, through a table onto a Unicode face
};

struct FaceSource {
    std::string file;  // the font file on disk (UTF-8 path)
    long index = 0;    // the face within a collection
    // The family GetTextFaceA reports: the name asked for when a substitution stands in for it,
    // else the family the file names.
    std::string family;
    ByteMap bytes = ByteMap::Cp1250;
    BYTE charSet = EASTEUROPE_CHARSET;  // as GetTextMetricsA reports it
    bool syntheticBold = false;         // asked bold, the file is not
    bool syntheticItalic = false;       // asked italic, the file is upright
    // "MS Sans Serif" at its classic 8-point size reports the classic bitmap font's metrics, so
    // dialog base units come out 6 x 13 as the dialog layouts expect.
    bool classicDialogMetrics = false;
};

// The character set a logical font asking for DEFAULT_CHARSET gets: the system's, Central European.
constexpr BYTE kSystemCharSet = EASTEUROPE_CHARSET;

// The catalogue's match for a logical font already checked by CreateFontIndirectA; nullopt only
// when no usable font file is known at all. Falls back by pitch and family (roman to serif,
// modern or fixed pitch to mono, else sans) when the family is not found.
std::optional<FaceSource> findFace(const LOGFONTA& font);

// A FreeType face over the source at the font's size and style; null when FreeType cannot read
// the file (the caller falls back).
std::shared_ptr<const Face> openFreeTypeFace(const FaceSource& source, const LOGFONTA& font);

// The face a logical font is drawn with: the synthetic test face when fonts are set to the test
// face (WINPLAT_FONTS=test, or a test's ScopedFontSource), else the catalogue's file through
// FreeType; the test face stands in when no font file can be used, so creating a font never fails
// for want of fonts.
std::shared_ptr<const Face> makeFace(const LOGFONTA& font);

// The face a font object is drawn with, made from its LOGFONTA on first use for the stock font
// (which GDI makes without one). The caller holds the GDI lock.
const Face& fontFace(gdi::FontObject& font);

}  // namespace winplat::text

#endif
