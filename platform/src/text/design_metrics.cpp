// Where each design metric comes from: the OS/2 table for the Windows ascent, descent, average
// width and strike-out; hhea for the line gap and widest advance; post (through FreeType's face
// fields) for the underline. A face without an OS/2 table (a Type 1 or bare TrueType file) takes
// the hhea or overall numbers FreeType gives instead.
#include "text/design_metrics.h"

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <utility>

#include "winplat/refusal.h"

#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

namespace winplat::text {
namespace {

// The weights (per thousand) of the space and the letters a to z.
constexpr std::array<std::pair<char, int>, 27> kLetterWeights = {{
    {' ', 166}, {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14}, {'h', 42},
    {'i', 63},  {'j', 3},  {'k', 6},  {'l', 35}, {'m', 20}, {'n', 56},  {'o', 56}, {'p', 17}, {'q', 4},
    {'r', 49},  {'s', 56}, {'t', 71}, {'u', 31}, {'v', 10}, {'w', 18},  {'x', 3},  {'y', 18}, {'z', 2},
}};

// Latin text faces by their PANOSE serif style: 2 to 10 have serifs, 11 to 13 are sans.
constexpr uint8_t kPanoseLatinText = 2;
constexpr uint8_t kPanoseLatinPictorial = 5;
// IBM font classes of the OS/2 sFamilyClass high byte with serifs: oldstyle, transitional,
// modern, clarendon, slab and freeform serifs.
bool serifClass(int familyClass) {
    const int cls = (familyClass >> 8) & 0xFF;
    return (cls >= 1 && cls <= 5) || cls == 7;
}

bool hasCharmap(FT_Face face, FT_Encoding encoding) {
    for (FT_Int i = 0; i < face->num_charmaps; ++i)
        if (face->charmaps[i]->encoding == encoding) return true;
    return false;
}

BYTE familyOf(FT_Face face, const TT_OS2* os2, bool fixedPitch) {
    if (fixedPitch) return FF_MODERN;
    if (hasCharmap(face, FT_ENCODING_MS_SYMBOL)) return FF_DECORATIVE;
    if (!os2) return FF_SWISS;
    if (os2->panose[0] == kPanoseLatinPictorial) return FF_DECORATIVE;
    if (os2->panose[0] == kPanoseLatinText && os2->panose[1] >= 2) return os2->panose[1] <= 10 ? FF_ROMAN : FF_SWISS;
    return serifClass(os2->sFamilyClass) ? FF_ROMAN : FF_SWISS;
}

void readVertical(FT_Face face, const TT_OS2* os2, const TT_HoriHeader* hhea, DesignMetrics& d) {
    d.lineAscent = hhea ? hhea->Ascender : face->ascender;
    d.lineDescent = hhea ? hhea->Descender : face->descender;
    d.lineGap = hhea ? std::max<int>(0, hhea->Line_Gap) : std::max(0, face->height - (face->ascender - face->descender));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        d.winAscent = os2->usWinAscent;
        d.winDescent = os2->usWinDescent;
    } else if (d.lineAscent - d.lineDescent > 0) {
        d.winAscent = d.lineAscent;
        d.winDescent = -d.lineDescent;
    } else {
        d.winAscent = static_cast<int>(face->bbox.yMax);
        d.winDescent = static_cast<int>(-face->bbox.yMin);
    }
}

void readLines(FT_Face face, const TT_OS2* os2, DesignMetrics& d) {
    d.underlineThickness = face->underline_thickness > 0 ? face->underline_thickness : d.unitsPerEm / 20;
    d.underlineCentre = face->underline_thickness > 0 ? face->underline_position : -d.unitsPerEm / 10;
    if (os2 && os2->yStrikeoutSize > 0) {
        d.strikeOutTop = os2->yStrikeoutPosition;
        d.strikeOutThickness = os2->yStrikeoutSize;
    } else {
        // About half the height of a lowercase letter, as thick as the underline.
        d.strikeOutTop = d.unitsPerEm * 3 / 10;
        d.strikeOutThickness = d.underlineThickness;
    }
}

// Without a usable OS/2 average: the plain average of every glyph that advances at all.
int averageOfAllGlyphs(FT_Face face) {
    int64_t sum = 0;
    int64_t count = 0;
    for (FT_Long glyph = 0; glyph < face->num_glyphs; ++glyph) {
        FT_Fixed advance = 0;
        if (FT_Get_Advance(face, static_cast<FT_UInt>(glyph), FT_LOAD_NO_SCALE, &advance) != 0 || advance <= 0)
            continue;
        sum += advance;
        ++count;
    }
    return count > 0 ? static_cast<int>(sum / count) : face->max_advance_width / 2;
}

int averageWidthOf(FT_Face face, const TT_OS2* os2) {
    // xAvgCharWidth meant the weighted average only up to version 2; later versions average
    // every glyph, which would make a metric-compatible face report a different number.
    if (os2 && os2->version <= 2 && os2->xAvgCharWidth > 0) return os2->xAvgCharWidth;
    if (const std::optional<int> weighted = weightedAverageWidth(face)) return *weighted;
    if (os2 && os2->xAvgCharWidth > 0) return os2->xAvgCharWidth;
    return averageOfAllGlyphs(face);
}

}  // namespace

std::optional<int> weightedAverageWidth(FT_Face face) {
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return std::nullopt;
    int64_t sum = 0;
    for (const auto& [letter, weight] : kLetterWeights) {
        const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<FT_ULong>(letter));
        FT_Fixed advance = 0;
        if (glyph == 0 || FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) != 0) return std::nullopt;
        sum += advance * weight;
    }
    return static_cast<int>((sum + 500) / 1000);
}

std::optional<DesignMetrics> readDesignMetrics(FT_Face face) {
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return std::nullopt;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version == 0xFFFF) os2 = nullptr;  // FreeType's mark of a missing table
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    DesignMetrics d;
    d.unitsPerEm = face->units_per_EM;
    readVertical(face, os2, hhea, d);
    if (d.winAscent + d.winDescent <= 0) return std::nullopt;
    d.maxAdvance = hhea ? hhea->advance_Width_Max : face->max_advance_width;
    d.averageWidth = averageWidthOf(face, os2);
    readLines(face, os2, d);
    d.fixedPitch = FT_IS_FIXED_WIDTH(face);
    d.family = familyOf(face, os2, d.fixedPitch);
    return d;
}

// What was read of each font file.
struct KnownMetrics {
    std::mutex mutex;
    std::map<FontFile, std::optional<DesignMetrics>> files;
};

KnownMetrics& knownMetrics() {
    static KnownMetrics known;
    return known;
}

std::optional<DesignMetrics> designMetricsOf(const FontFile& file) {
    KnownMetrics& metrics = knownMetrics();
    std::lock_guard lock(metrics.mutex);
    auto& known = metrics.files;
    if (auto found = known.find(file); found != known.end()) return found->second;
    std::optional<DesignMetrics> design;
    if (FaceOwner face = openFtFace(file.path, file.index)) {
        design = readDesignMetrics(face.get());
        if (!design) {
            constexpr Refuser refuse("winplat: fonts");
            refuse.log(file.path + ": no scalable outlines, or no em or cell to scale them by");
        }
    }
    known.emplace(file, design);
    return design;
}

void forgetDesignMetrics() {
    KnownMetrics& metrics = knownMetrics();
    std::lock_guard lock(metrics.mutex);
    metrics.files.clear();
}

}  // namespace winplat::text
