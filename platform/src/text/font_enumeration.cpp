// EnumFontFamiliesExA: the program's own fonts, the stand-in names and the system's families, each
// once per character set its cmap covers. The metrics are worked out from fixed proportions rather
// than read from each file, since listing every family must stay quick.
#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/call_refusal.h"
#include "gdi/objects.h"
#include "text/catalogue_face.h"
#include "text/font_substitutes.h"
#include "text/installed_fonts.h"
#include "text/private_fonts.h"
#include "winplat/cp1250.h"
#include "winplat/text.h"

namespace winplat::text {
namespace {

// One family as the enumeration reports it.
struct Listing {
    std::string name;  // cp1250
    CatalogueFace face;  // the family's regular face
    std::vector<BYTE> charSets;
    BYTE pitchAndFamily = 0;  // LOGFONTA form
};

BYTE pitchAndFamilyOf(const CatalogueFace& face) {
    return static_cast<BYTE>((face.fixedPitch ? FIXED_PITCH : VARIABLE_PITCH) | face.family);
}

const CatalogueFace* regularOf(const std::vector<const CatalogueFace*>& members) {
    return closestStyle(members, FW_NORMAL, false);
}

// Lists each family of the faces once, in the order the faces come, skipping names already seen.
void addFamilies(const std::vector<const CatalogueFace*>& faces, std::set<std::string>& seen,
                 std::vector<Listing>& listings) {
    for (const CatalogueFace* face : faces) {
        for (const std::string& family : face->families) {
            if (!seen.insert(cp1250::lower(family)).second) continue;
            std::vector<const CatalogueFace*> members;
            for (const CatalogueFace* other : faces) {
                if (isOfFamily(*other, family)) members.push_back(other);
            }
            const CatalogueFace* regular = regularOf(members);
            listings.push_back({family, *regular, charSetsOf(regular->coverage), pitchAndFamilyOf(*regular)});
        }
    }
}

std::vector<BYTE> substituteCharSets(const SubstituteName& name, const Coverage& coverage) {
    if (name.row->kind == SubstituteKind::Symbol || name.row->kind == SubstituteKind::Wingdings) return {SYMBOL_CHARSET};
    std::vector<BYTE> sets = charSetsOf(coverage);
    if (!name.charSet) return sets;
    if (std::find(sets.begin(), sets.end(), *name.charSet) == sets.end()) return {};
    return {*name.charSet};
}

// The stand-in names whose stand-in is installed.
void addSubstitutes(std::set<std::string>& seen, std::vector<Listing>& listings) {
    for (const SubstituteName& name : listedSubstitutes()) {
        for (const std::string_view family : name.row->families) {
            if (family.empty()) continue;
            const CatalogueFace* regular = regularOf(installedFamily(family));
            if (!regular) continue;
            std::vector<BYTE> sets = substituteCharSets(name, regular->coverage);
            if (!sets.empty() && seen.insert(cp1250::lower(name.name)).second)
                listings.push_back({name.name, *regular, std::move(sets), name.row->pitchAndFamily});
            break;
        }
    }
}

std::vector<Listing> allListings() {
    std::set<std::string> seen;
    std::vector<Listing> listings;
    const std::vector<CatalogueFace> privateFaces = listedPrivateFaces();
    std::vector<const CatalogueFace*> faces;
    for (const CatalogueFace& face : privateFaces) faces.push_back(&face);
    addFamilies(faces, seen, listings);
    addSubstitutes(seen, listings);
    faces.clear();
    for (const CatalogueFace& face : installedFaces()) faces.push_back(&face);
    addFamilies(faces, seen, listings);
    return listings;
}

// Proportions of a typical face in units of a 2048-unit em: ascent and descent as its Windows
// metrics give them, average and widest advance.
constexpr LONG kEmUnits = 2048;
constexpr LONG kAscentUnits = 1854;
constexpr LONG kDescentUnits = 434;
constexpr LONG kCellUnits = kAscentUnits + kDescentUnits;
constexpr LONG kCellPixels = 16;  // the size families are listed at

LONG pixels(LONG units) {
    return (units * kCellPixels + kCellUnits / 2) / kCellUnits;
}

void copyName(std::string_view name, BYTE* out, size_t size) {
    const size_t length = std::min(name.size(), size - 1);
    std::memcpy(out, name.data(), length);
    out[length] = 0;
}

std::string_view styleName(const CatalogueFace& face) {
    const bool bold = face.weight >= FW_SEMIBOLD;
    if (bold) return face.italic ? "Bold Italic" : "Bold";
    return face.italic ? "Italic" : "Regular";
}

std::string_view scriptName(BYTE charSet) {
    switch (charSet) {
    case EASTEUROPE_CHARSET:
        return "Central European";
    case RUSSIAN_CHARSET:
        return "Cyrillic";
    case SYMBOL_CHARSET:
        return "Symbol";
    default:
        return "Western";
    }
}

LONG averageUnits(const CatalogueFace& face) {
    return face.fixedPitch ? 1229 : 1000;
}

ENUMLOGFONTEXA logFontOf(const Listing& listing, BYTE charSet) {
    ENUMLOGFONTEXA font{};
    LOGFONTA& lf = font.elfLogFont;
    lf.lfHeight = kCellPixels;
    // No width: programs hand the LOGFONTA on to CreateFontIndirectA, which draws only natural widths.
    lf.lfWidth = 0;
    lf.lfWeight = listing.face.weight;
    lf.lfItalic = listing.face.italic ? 1 : 0;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfPitchAndFamily = listing.pitchAndFamily;
    copyName(listing.name, reinterpret_cast<BYTE*>(lf.lfFaceName), LF_FACESIZE);
    const std::string_view style = styleName(listing.face);
    const std::string fullName = style == "Regular" ? listing.name : listing.name + " " + std::string(style);
    copyName(fullName, font.elfFullName, LF_FULLFACESIZE);
    copyName(style, font.elfStyle, LF_FACESIZE);
    copyName(scriptName(charSet), font.elfScript, LF_FACESIZE);
    return font;
}

DWORD codePageBits(const Coverage& coverage, BYTE charSet) {
    if (charSet == SYMBOL_CHARSET) return 0x80000000u;
    return (coverage.ansi ? 0x1u : 0u) | (coverage.central ? 0x2u : 0u) | (coverage.russian ? 0x4u : 0u);
}

NEWTEXTMETRICEXA metricsOf(const Listing& listing, BYTE charSet) {
    NEWTEXTMETRICEXA metrics{};
    NEWTEXTMETRICA& tm = metrics.ntmTm;
    const CatalogueFace& face = listing.face;
    tm.tmHeight = kCellPixels;
    tm.tmAscent = pixels(kAscentUnits);
    tm.tmDescent = tm.tmHeight - tm.tmAscent;
    tm.tmInternalLeading = tm.tmHeight - pixels(kEmUnits);
    tm.tmAveCharWidth = pixels(averageUnits(face));
    tm.tmMaxCharWidth = face.fixedPitch ? tm.tmAveCharWidth : pixels(2 * averageUnits(face));
    tm.tmWeight = face.weight;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x1E;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = face.italic ? 1 : 0;
    // TMPF_FIXED_PITCH set means a variable pitch.
    tm.tmPitchAndFamily = static_cast<BYTE>((listing.pitchAndFamily & 0xF0) | TMPF_VECTOR | TMPF_TRUETYPE |
                                            (face.fixedPitch ? 0 : TMPF_FIXED_PITCH));
    tm.tmCharSet = charSet;
    tm.ntmFlags = face.italic ? NTM_ITALIC : 0;
    if (face.weight >= FW_SEMIBOLD) tm.ntmFlags |= NTM_BOLD;
    if (tm.ntmFlags == 0) tm.ntmFlags = NTM_REGULAR;
    tm.ntmSizeEM = kEmUnits;
    tm.ntmCellHeight = kCellUnits;
    tm.ntmAvgWidth = static_cast<UINT>(averageUnits(face));
    metrics.ntmFontSig.fsCsb[0] = codePageBits(face.coverage, charSet);
    return metrics;
}

// TrueType and OpenType files are what Windows calls TrueType; Type 1 outlines are vector fonts.
DWORD fontTypeOf(const CatalogueFace& face) {
    return face.formatRank <= 1 ? DWORD{TRUETYPE_FONTTYPE} : DWORD{0};
}

bool wanted(const Listing& listing, std::string_view faceName) {
    return faceName.empty() || namesFamily(faceName, listing.name);
}

bool isLiveDc(HDC dc) {
    return gdi::onDc(dc, false, [](gdi::DeviceContextObject&) { return true; });
}

}  // namespace
}  // namespace winplat::text

using namespace winplat;
using namespace winplat::text;

int EnumFontFamiliesExA(HDC dc, LPLOGFONTA font, FONTENUMPROCA proc, LPARAM lParam, DWORD flags) {
    constexpr CallRefuser refuse("winplat: EnumFontFamiliesExA");
    if (flags != 0) return refuse.unsupported(0, "flags " + std::to_string(flags));
    if (!font || !proc) return refuse(0, "no LOGFONTA or no callback");
    if (!std::memchr(font->lfFaceName, 0, LF_FACESIZE)) return refuse(0, "a face name without its terminating zero");
    if (!isLiveDc(dc)) {
        constexpr CallRefuser refuseHandle("winplat: EnumFontFamiliesExA", ERROR_INVALID_HANDLE);
        return refuseHandle(0, "no device context");
    }
    const std::string_view faceName = font->lfFaceName;
    const BYTE asked = font->lfCharSet;
    // The callback runs outside every lock: it may create fonts or add font files itself.
    int last = 1;
    for (const Listing& listing : allListings()) {
        if (!wanted(listing, faceName)) continue;
        for (const BYTE charSet : listing.charSets) {
            if (asked != DEFAULT_CHARSET && asked != charSet) continue;
            const ENUMLOGFONTEXA logFont = logFontOf(listing, charSet);
            const NEWTEXTMETRICEXA metrics = metricsOf(listing, charSet);
            last = proc(&logFont.elfLogFont, reinterpret_cast<const TEXTMETRICA*>(&metrics), fontTypeOf(listing.face),
                        lParam);
            if (last == 0) return 0;
        }
    }
    return last;
}
