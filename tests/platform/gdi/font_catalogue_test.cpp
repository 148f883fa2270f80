// The font catalogue over the system's files: the stand-ins for the classic names, exact family
// matches through fontconfig, style choice with synthetic bold and italic, character sets and the
// fallback by pitch and family.
#include <cstring>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "font_files.h"
#include "text/face_source.h"
#include "winplat/text.h"

namespace {

using winplat::text::ByteMap;
using winplat::text::FaceSource;
using winplat::text::findFace;

LOGFONTA logFont(const char* face, LONG weight = FW_NORMAL, bool italic = false, BYTE charSet = EASTEUROPE_CHARSET,
                 LONG height = -16, BYTE pitchAndFamily = 0) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    font.lfCharSet = charSet;
    font.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

struct Expected {
    const char* file;  // base name
    const char* family;
    ByteMap bytes;
    BYTE charSet;
    bool syntheticBold;
    bool syntheticItalic;
    bool classic;
};

struct CatalogueCase {
    const char* name;
    LOGFONTA font;
    Expected expected;
};

void PrintTo(const CatalogueCase& c, std::ostream* out) {
    *out << c.name;
}

void expectSource(const LOGFONTA& font, const Expected& e) {
    if (const std::string missing = fonttest::missingFile({e.file}); !missing.empty())
        GTEST_SKIP() << missing << " is not installed";
    const std::optional<FaceSource> source = findFace(font);
    ASSERT_TRUE(source.has_value());
    EXPECT_EQ(fonttest::baseName(source->file), e.file);
    EXPECT_EQ(source->family, e.family);
    EXPECT_EQ(source->bytes, e.bytes);
    EXPECT_EQ(source->charSet, e.charSet);
    EXPECT_EQ(source->syntheticBold, e.syntheticBold);
    EXPECT_EQ(source->syntheticItalic, e.syntheticItalic);
    EXPECT_EQ(source->classicDialogMetrics, e.classic);
}

constexpr BYTE kAnsi = ANSI_CHARSET, kDefault = DEFAULT_CHARSET, kCe = EASTEUROPE_CHARSET, kCyr = RUSSIAN_CHARSET,
               kSym = SYMBOL_CHARSET;

// clang-format off
const CatalogueCase kSubstitutes[] = {
    {"Arial", logFont("Arial"), {"LiberationSans-Regular.ttf", "Arial", ByteMap::Cp1250, kCe, false, false, false}},
    {"arial bold, any case", logFont("aRIAL", FW_BOLD),
     {"LiberationSans-Bold.ttf", "Arial", ByteMap::Cp1250, kCe, false, false, false}},
    {"Arial bold italic ANSI", logFont("Arial", FW_BOLD, true, kAnsi),
     {"LiberationSans-BoldItalic.ttf", "Arial", ByteMap::Cp1252, kAnsi, false, false, false}},
    {"Arial default charset is Central European", logFont("Arial", FW_NORMAL, false, kDefault),
     {"LiberationSans-Regular.ttf", "Arial", ByteMap::Cp1250, kCe, false, false, false}},
    {"Arial CE whatever the charset", logFont("Arial CE", FW_NORMAL, false, kAnsi),
     {"LiberationSans-Regular.ttf", "Arial", ByteMap::Cp1250, kCe, false, false, false}},
    {"Arial Cyr", logFont("Arial Cyr", FW_NORMAL, true, kCe),
     {"LiberationSans-Italic.ttf", "Arial", ByteMap::Cp1251, kCyr, false, false, false}},
    {"Times New Roman italic Russian", logFont("Times New Roman", FW_NORMAL, true, kCyr),
     {"LiberationSerif-Italic.ttf", "Times New Roman", ByteMap::Cp1251, kCyr, false, false, false}},
    {"Times New Roman CE semibold is bold", logFont("Times New Roman CE", FW_SEMIBOLD),
     {"LiberationSerif-Bold.ttf", "Times New Roman", ByteMap::Cp1250, kCe, false, false, false}},
    {"Times New Roman medium is not", logFont("Times New Roman", FW_MEDIUM),
     {"LiberationSerif-Regular.ttf", "Times New Roman", ByteMap::Cp1250, kCe, false, false, false}},
    {"Courier New ANSI", logFont("Courier New", FW_NORMAL, false, kAnsi),
     {"LiberationMono-Regular.ttf", "Courier New", ByteMap::Cp1252, kAnsi, false, false, false}},
    {"Courier New Cyr bold italic", logFont("Courier New Cyr", FW_BOLD, true),
     {"LiberationMono-BoldItalic.ttf", "Courier New", ByteMap::Cp1251, kCyr, false, false, false}},
    {"Symbol asked as ANSI", logFont("Symbol", FW_NORMAL, false, kAnsi),
     {"StandardSymbolsPS.otf", "Symbol", ByteMap::Symbol, kSym, false, false, false}},
    {"Symbol has no bold or italic file", logFont("Symbol", FW_BOLD, true),
     {"StandardSymbolsPS.otf", "Symbol", ByteMap::Symbol, kSym, true, true, false}},
    {"Wingdings", logFont("Wingdings", FW_NORMAL, false, kCe),
     {"DejaVuSans.ttf", "Wingdings", ByteMap::Wingdings, kSym, false, false, false}},
    {"Wingdings italic", logFont("Wingdings", FW_NORMAL, true, kAnsi),
     {"DejaVuSans-Oblique.ttf", "Wingdings", ByteMap::Wingdings, kSym, false, false, false}},
    {"MS Sans Serif 8 pt as em", logFont("MS Sans Serif", FW_NORMAL, false, kCe, -11),
     {"LiberationSans-Regular.ttf", "MS Sans Serif", ByteMap::Cp1250, kCe, false, false, true}},
    {"MS Sans Serif 8 pt as cell", logFont("MS Sans Serif", FW_NORMAL, false, kCe, 13),
     {"LiberationSans-Regular.ttf", "MS Sans Serif", ByteMap::Cp1250, kCe, false, false, true}},
    {"MS Sans Serif one pixel larger", logFont("MS Sans Serif", FW_NORMAL, false, kCe, -12),
     {"LiberationSans-Regular.ttf", "MS Sans Serif", ByteMap::Cp1250, kCe, false, false, false}},
    {"MS Sans Serif one pixel smaller cell", logFont("MS Sans Serif", FW_NORMAL, false, kCe, 12),
     {"LiberationSans-Regular.ttf", "MS Sans Serif", ByteMap::Cp1250, kCe, false, false, false}},
    {"MS Shell Dlg bold 8 pt", logFont("MS Shell Dlg", FW_BOLD, false, kDefault, -11),
     {"LiberationSans-Bold.ttf", "MS Shell Dlg", ByteMap::Cp1250, kCe, false, false, true}},
    {"Helv", logFont("Helv", FW_NORMAL, false, kAnsi, 13),
     {"LiberationSans-Regular.ttf", "Helv", ByteMap::Cp1252, kAnsi, false, false, true}},
};

// Families the system has under their own names: exact matches only, the file of the asked style.
const CatalogueCase kInstalled[] = {
    {"DejaVu Serif bold", logFont("DejaVu Serif", FW_BOLD, false, kAnsi),
     {"DejaVuSerif-Bold.ttf", "DejaVu Serif", ByteMap::Cp1252, kAnsi, false, false, false}},
    {"dejavu sans mono, any case", logFont("dejavu sans MONO", FW_NORMAL, false, kDefault),
     {"DejaVuSansMono.ttf", "DejaVu Sans Mono", ByteMap::Cp1250, kCe, false, false, false}},
    {"DejaVu Sans is the normal width and weight", logFont("DejaVu Sans", FW_DONTCARE, false, kCyr),
     {"DejaVuSans.ttf", "DejaVu Sans", ByteMap::Cp1251, kCyr, false, false, false}},
    {"DejaVu Sans Condensed bold italic", logFont("DejaVu Sans Condensed", FW_BOLD, true),
     {"DejaVuSansCondensed-BoldOblique.ttf", "DejaVu Sans Condensed", ByteMap::Cp1250, kCe, false, false, false}},
    {"Liberation Sans by its own name", logFont("Liberation Sans", FW_NORMAL, true),
     {"LiberationSans-Italic.ttf", "Liberation Sans", ByteMap::Cp1250, kCe, false, false, false}},
    {"OpenType before Type 1", logFont("Nimbus Roman", FW_BOLD, true),
     {"NimbusRoman-BoldItalic.otf", "Nimbus Roman", ByteMap::Cp1250, kCe, false, false, false}},
    {"an italic-only family asked upright", logFont("Z003"),
     {"Z003-MediumItalic.otf", "Z003", ByteMap::Cp1250, kCe, false, false, false}},
    {"a symbol face is SYMBOL whatever was asked", logFont("Standard Symbols PS", FW_BOLD, false, kAnsi),
     {"StandardSymbolsPS.otf", "Standard Symbols PS", ByteMap::Symbol, kSym, true, false, false}},
    {"a family name's prefix is no match", logFont("DejaVu", FW_NORMAL, false, kAnsi),
     {"LiberationSans-Regular.ttf", "Liberation Sans", ByteMap::Cp1252, kAnsi, false, false, false}},
};

// Unknown names and the empty name by pitch and family: serif, mono or sans.
const CatalogueCase kFallbacks[] = {
    {"roman", logFont("No Such Family", FW_NORMAL, false, kCe, -16, VARIABLE_PITCH | FF_ROMAN),
     {"LiberationSerif-Regular.ttf", "Liberation Serif", ByteMap::Cp1250, kCe, false, false, false}},
    {"roman bold italic", logFont("No Such Family", FW_BOLD, true, kCe, -16, FF_ROMAN),
     {"LiberationSerif-BoldItalic.ttf", "Liberation Serif", ByteMap::Cp1250, kCe, false, false, false}},
    {"modern", logFont("No Such Family", FW_NORMAL, false, kCe, -16, FF_MODERN),
     {"LiberationMono-Regular.ttf", "Liberation Mono", ByteMap::Cp1250, kCe, false, false, false}},
    {"fixed pitch swiss", logFont("No Such Family", FW_NORMAL, false, kCe, -16, FIXED_PITCH | FF_SWISS),
     {"LiberationMono-Regular.ttf", "Liberation Mono", ByteMap::Cp1250, kCe, false, false, false}},
    {"variable pitch swiss", logFont("No Such Family", FW_NORMAL, false, kCe, -16, VARIABLE_PITCH | FF_SWISS),
     {"LiberationSans-Regular.ttf", "Liberation Sans", ByteMap::Cp1250, kCe, false, false, false}},
    {"decorative", logFont("No Such Family", FW_NORMAL, false, kAnsi, -16, FF_DECORATIVE),
     {"LiberationSans-Regular.ttf", "Liberation Sans", ByteMap::Cp1252, kAnsi, false, false, false}},
    {"empty name", logFont("", FW_NORMAL, false, kCyr),
     {"LiberationSans-Regular.ttf", "Liberation Sans", ByteMap::Cp1251, kCyr, false, false, false}},
    {"empty name roman", logFont("", FW_NORMAL, false, kDefault, -16, FF_ROMAN),
     {"LiberationSerif-Regular.ttf", "Liberation Serif", ByteMap::Cp1250, kCe, false, false, false}},
    {"empty name fixed pitch", logFont("", FW_BOLD, false, kCe, -16, FIXED_PITCH),
     {"LiberationMono-Bold.ttf", "Liberation Mono", ByteMap::Cp1250, kCe, false, false, false}},
};
// clang-format on

class Substitutes : public ::testing::TestWithParam<CatalogueCase> {};
TEST_P(Substitutes, StandInForTheClassicNames) {
    expectSource(GetParam().font, GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Catalogue, Substitutes, ::testing::ValuesIn(kSubstitutes));

class InstalledFamilies : public ::testing::TestWithParam<CatalogueCase> {};
TEST_P(InstalledFamilies, MatchExactlyAndPickTheStyle) {
    expectSource(GetParam().font, GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Catalogue, InstalledFamilies, ::testing::ValuesIn(kInstalled));

class Fallbacks : public ::testing::TestWithParam<CatalogueCase> {};
TEST_P(Fallbacks, GoByPitchAndFamily) {
    expectSource(GetParam().font, GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Catalogue, Fallbacks, ::testing::ValuesIn(kFallbacks));

}  // namespace
