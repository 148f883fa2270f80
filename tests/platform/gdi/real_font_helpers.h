// What the smoke tests of real fonts need to know beside the layer: where fontconfig has the
// Liberation files, their OS/2 numbers read with FreeType, and whether a font of the layer shows
// the synthetic test face instead of a real one (then there is nothing real to check).
#ifndef WINPLAT_TESTS_GDI_REAL_FONT_HELPERS_H
#define WINPLAT_TESTS_GDI_REAL_FONT_HELPERS_H

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace realfont {

struct FcPatternDestroyer {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using FcPatternOwner = std::unique_ptr<FcPattern, FcPatternDestroyer>;
struct FcConfigDestroyer {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
// A configuration of one's own: the library's default one keeps memory it frees only at FcFini.
using FcConfigOwner = std::unique_ptr<FcConfig, FcConfigDestroyer>;

// The regular style's file of the family, or "" when fontconfig has no such family (it answers
// every request with some font, so the family it matched must be the one asked for).
inline std::string regularFile(const std::string& family) {
    const std::string request = family + ":style=Regular";
    FcPatternOwner pattern(FcNameParse(reinterpret_cast<const FcChar8*>(request.c_str())));
    if (!pattern) return "";
    const FcConfigOwner config(FcInitLoadConfigAndFonts());
    if (!config) return "";
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    FcPatternOwner match(FcFontMatch(config.get(), pattern.get(), &result));
    FcChar8* matched = nullptr;
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &matched) != FcResultMatch ||
        FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch)
        return "";
    if (family != reinterpret_cast<const char*>(matched)) return "";
    return reinterpret_cast<const char*>(file);
}

// The numbers of a face's OS/2 and head tables the Windows metrics are made of.
struct Os2 {
    int unitsPerEm = 0;
    int winAscent = 0;
    int winDescent = 0;
    int avgCharWidth = 0;
};

struct LibraryDone {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDone {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

inline std::optional<Os2> readOs2(const std::string& file) {
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary)) return std::nullopt;
    const std::unique_ptr<FT_LibraryRec_, LibraryDone> library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), file.c_str(), 0, &rawFace)) return std::nullopt;
    const std::unique_ptr<FT_FaceRec_, FaceDone> face(rawFace);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face.get(), FT_SFNT_OS2));
    if (!os2) return std::nullopt;
    return Os2{face->units_per_EM, os2->usWinAscent, os2->usWinDescent, os2->xAvgCharWidth};
}

// A font selected into a DC for a scope, owned.
class ScopedFont {
  public:
    ScopedFont(HDC dc, const LOGFONTA& font)
        : font_(CreateFontIndirectA(&font)), selected_(dc, font_.get()) {}
    bool ok() const { return font_ && static_cast<bool>(selected_); }

  private:
    winplat::GdiObject<HFONT> font_;
    winplat::Selection selected_;
};

// Why the layer would not draw 'font' with a real face, or "" when it would: the synthetic test
// face stands in for every font while the layer has no catalogue or FreeType face (or cannot read
// any file). Its ascent and descent are exactly 9/10 and 3/10 of the em, 90 and 30 at 100 pixels,
// which none of the system's faces has (Liberation Sans: 91 and 21; DejaVu Sans: 93 and 24).
inline std::string whyNotReal(LOGFONTA font) {
    font.lfHeight = -100;
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    const ScopedFont selected(dc.get(), font);
    TEXTMETRICA metrics{};
    if (!selected.ok() || !GetTextMetricsA(dc.get(), &metrics)) return "";  // the test's own checks fail
    if (metrics.tmAscent == 90 && metrics.tmDescent == 30)
        return std::string("\"") + font.lfFaceName +
               "\" is drawn with the synthetic test face: this build has no font catalogue or FreeType "
               "face yet";
    return "";
}

// As whyNotReal, and first whether the Liberation family standing in for the font is installed.
inline std::string whyNotReal(const LOGFONTA& font, const std::string& liberationFamily) {
    if (regularFile(liberationFamily).empty())
        return liberationFamily + " is not installed (fonts-liberation2)";
    return whyNotReal(font);
}

}  // namespace realfont

#endif
