// Faces read by FreeType from the system's font files: metrics, styles, code pages, symbol fonts,
// damaged files, the shared glyph cache and drawing. Only properties are checked, never the
// pixels of a glyph: those belong to the font and to FreeType's version.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "gdi/objects.h"
#include "text/byte_maps.h"
#include "text/design_metrics.h"
#include "text/face_source.h"
#include "text/glyph_cache.h"
#include "text/ft_library.h"
#include "text_helpers.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

using texttest::logFont;
using winplat::text::ByteMap;
using winplat::text::Face;
using winplat::text::FaceSource;
using winplat::text::InkBox;
using winplat::text::openFreeTypeFace;

const std::string kFonts = "/usr/share/fonts/truetype/";
const std::string kSans = kFonts + "liberation2/LiberationSans-Regular.ttf";
const std::string kSansBold = kFonts + "liberation2/LiberationSans-Bold.ttf";
const std::string kSansItalic = kFonts + "liberation2/LiberationSans-Italic.ttf";
const std::string kSerif = kFonts + "liberation2/LiberationSerif-Regular.ttf";
const std::string kMono = kFonts + "liberation2/LiberationMono-Regular.ttf";
const std::string kDejaVu = kFonts + "dejavu/DejaVuSans.ttf";
const std::string kSymbol = "/usr/share/fonts/opentype/urw-base35/StandardSymbolsPS.otf";

#define REQUIRE_FONT(path)                                                                         \
    if (!std::filesystem::exists(path))                                                            \
    GTEST_SKIP() << (path) << " is missing: install fonts-liberation2, fonts-dejavu-core and "     \
                               "fonts-urw-base35 to test real faces"

FaceSource sourceOf(const std::string& file, ByteMap bytes = ByteMap::Cp1250, BYTE charSet = EASTEUROPE_CHARSET) {
    FaceSource source;
    source.file = file;
    source.family = "Arial";
    source.bytes = bytes;
    source.charSet = charSet;
    return source;
}

int inkTop(const Face& face, uint8_t byte) {
    int top = INT32_MAX;
    for (const InkBox& box : face.ink(byte)) top = std::min(top, box.top);
    return top;
}

std::vector<InkBox> inkOf(const Face& face, uint8_t byte) {
    auto ink = face.ink(byte);
    return {ink.begin(), ink.end()};
}

bool sameInk(const Face& a, uint8_t byteA, const Face& b, uint8_t byteB) {
    const std::vector<InkBox> x = inkOf(a, byteA);
    const std::vector<InkBox> y = inkOf(b, byteB);
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const InkBox& p, const InkBox& q) {
        return p.left == q.left && p.top == q.top && p.right == q.right && p.bottom == q.bottom;
    });
}

// Draws with a FreeType face through the DC calls: the font is made with the test face, then
// given the FreeType face (the catalogue that would find the file is not consulted).
void giveFace(HFONT font, std::shared_ptr<const Face> face) {
    std::lock_guard lock(winplat::gdi::gdiMutex());
    winplat::gdi::findFont(winplat::handleValue(font))->face = std::move(face);
}

TEST(FreeTypeFace, LiberationSansReportsArialMetrics) {
    REQUIRE_FONT(kSans);
    const auto face = openFreeTypeFace(sourceOf(kSans), logFont(-13));
    ASSERT_TRUE(face);
    const TEXTMETRICA& tm = face->metrics().text;
    EXPECT_EQ(tm.tmAscent, 12);
    EXPECT_EQ(tm.tmDescent, 3);
    EXPECT_EQ(tm.tmHeight, 15);
    EXPECT_EQ(tm.tmInternalLeading, 2);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
    EXPECT_EQ(tm.tmPitchAndFamily, FF_SWISS | TMPF_VECTOR | TMPF_TRUETYPE | TMPF_FIXED_PITCH);
    EXPECT_EQ(tm.tmCharSet, EASTEUROPE_CHARSET);
    EXPECT_EQ(face->name(), "Arial");
}

TEST(FreeTypeFace, AverageWidthIsTheClassicWeightedOne) {
    REQUIRE_FONT(kSans);
    REQUIRE_FONT(kDejaVu);
    // Liberation Sans has Arial's advances, so the weighted average of its letters is Arial's
    // xAvgCharWidth, not the all-glyph average its own (version 3) table holds.
    winplat::text::FaceOwner sans = winplat::text::openFtFace(kSans, 0);
    ASSERT_TRUE(sans);
    EXPECT_EQ(winplat::text::weightedAverageWidth(sans.get()), 904);
    EXPECT_EQ(winplat::text::designMetricsOf(*winplat::text::fontFileAt(kSans, 0))->averageWidth, 904);
    // DejaVu Sans's table is of version 1: its xAvgCharWidth is the weighted average already.
    EXPECT_EQ(winplat::text::designMetricsOf(*winplat::text::fontFileAt(kDejaVu, 0))->averageWidth, 1038);
}

TEST(FreeTypeFace, ACellHeightIsTheCellExactly) {
    REQUIRE_FONT(kSans);
    REQUIRE_FONT(kDejaVu);
    for (const std::string& file : {kSans, kDejaVu}) {
        for (LONG height : {8, 13, 16, 17, 25, 33, 64}) {
            const auto face = openFreeTypeFace(sourceOf(file), logFont(height));
            ASSERT_TRUE(face);
            EXPECT_EQ(face->metrics().text.tmHeight, height) << file;
        }
    }
}

TEST(FreeTypeFace, FamilyAndPitchComeFromTheFile) {
    REQUIRE_FONT(kSerif);
    REQUIRE_FONT(kMono);
    const std::pair<std::string, BYTE> cases[] = {
        {kSans, FF_SWISS | 7}, {kSerif, FF_ROMAN | 7}, {kMono, FF_MODERN | 6}};
    for (const auto& [file, expected] : cases) {
        const auto face = openFreeTypeFace(sourceOf(file), logFont(-13));
        ASSERT_TRUE(face);
        EXPECT_EQ(face->metrics().text.tmPitchAndFamily, expected) << file;
    }
}

TEST(FreeTypeFace, AbcWidthsAddUpToTheAdvance) {
    REQUIRE_FONT(kSans);
    FaceSource italic = sourceOf(kSans);
    italic.syntheticItalic = true;
    for (const FaceSource& source : {sourceOf(kSans), italic}) {
        const auto face = openFreeTypeFace(source, logFont(-20, FW_NORMAL, source.syntheticItalic));
        ASSERT_TRUE(face);
        for (int byte = 0; byte < 256; ++byte) {
            const auto b = static_cast<uint8_t>(byte);
            const ABC abc = face->abc(b);
            EXPECT_EQ(abc.abcA + static_cast<int>(abc.abcB) + abc.abcC, face->advance(b)) << byte;
            if (face->ink(b).empty()) {
                EXPECT_EQ(abc.abcA, 0) << byte;
                EXPECT_EQ(abc.abcC, 0) << byte;
            }
        }
        EXPECT_TRUE(face->ink(' ').empty());
        EXPECT_EQ(face->abc(' ').abcB, static_cast<UINT>(face->advance(' ')));
    }
}

TEST(FreeTypeFace, SyntheticBoldWidensEveryGlyphByAPixel) {
    REQUIRE_FONT(kSans);
    FaceSource bold = sourceOf(kSans);
    bold.syntheticBold = true;
    const auto regular = openFreeTypeFace(sourceOf(kSans), logFont(-20));
    const auto emboldened = openFreeTypeFace(bold, logFont(-20, FW_BOLD));
    ASSERT_TRUE(regular && emboldened);
    EXPECT_EQ(emboldened->metrics().text.tmWeight, FW_BOLD);
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(emboldened->advance(static_cast<uint8_t>(byte)), regular->advance(static_cast<uint8_t>(byte)) + 1)
            << byte;
    for (uint8_t byte : {'l', 'I', 'H', 'o'})
        EXPECT_GT(emboldened->abc(byte).abcB, regular->abc(byte).abcB) << byte;
}

TEST(FreeTypeFace, ABoldFileIsBoldWithoutSyntheticWidening) {
    REQUIRE_FONT(kSansBold);
    const auto regular = openFreeTypeFace(sourceOf(kSans), logFont(-40));
    const auto bold = openFreeTypeFace(sourceOf(kSansBold), logFont(-40, FW_BOLD));
    ASSERT_TRUE(regular && bold);
    EXPECT_EQ(bold->metrics().text.tmWeight, FW_BOLD);
    EXPECT_GT(bold->abc('l').abcB, regular->abc('l').abcB) << "a bolder stem";
    int same = 0;
    for (int byte = 'a'; byte <= 'z'; ++byte)
        same += bold->advance(static_cast<uint8_t>(byte)) == regular->advance(static_cast<uint8_t>(byte)) + 1;
    EXPECT_LT(same, 26) << "the bold file's own advances, not the regular ones plus a pixel";
}

// The glyph's ink per row span: an italic glyph's top rows start further right than its bottom.
bool leansRight(const Face& face, uint8_t byte) {
    const auto ink = face.ink(byte);
    if (ink.empty()) return false;
    const auto top = std::min_element(ink.begin(), ink.end(), [](auto& a, auto& b) { return a.top < b.top; });
    const auto bottom =
        std::max_element(ink.begin(), ink.end(), [](auto& a, auto& b) { return a.bottom < b.bottom; });
    return top->left > bottom->left;
}

TEST(FreeTypeFace, ItalicLeansPastTheAdvance) {
    REQUIRE_FONT(kSansItalic);
    FaceSource oblique = sourceOf(kSans);
    oblique.syntheticItalic = true;
    const auto regular = openFreeTypeFace(sourceOf(kSans), logFont(-40));
    const auto synthetic = openFreeTypeFace(oblique, logFont(-40, FW_NORMAL, true));
    const auto file = openFreeTypeFace(sourceOf(kSansItalic), logFont(-40, FW_NORMAL, true));
    ASSERT_TRUE(regular && synthetic && file);
    EXPECT_EQ(regular->metrics().text.tmItalic, 0);
    for (const auto& face : {synthetic, file}) {
        EXPECT_EQ(face->metrics().text.tmItalic, 1);
        EXPECT_LT(face->abc('l').abcC, 0) << "the top of the l reaches past its advance";
        EXPECT_TRUE(leansRight(*face, 'l'));
    }
    EXPECT_FALSE(leansRight(*regular, 'l'));
    EXPECT_GE(regular->abc('l').abcC, 0);
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(synthetic->advance(static_cast<uint8_t>(byte)), regular->advance(static_cast<uint8_t>(byte)));
}

TEST(FreeTypeFace, CzechLettersLieInsideTheirCells) {
    REQUIRE_FONT(kSans);
    for (LONG em : {-11, -13, -20, -33}) {
        const auto face = openFreeTypeFace(sourceOf(kSans), logFont(em));
        ASSERT_TRUE(face);
        const TEXTMETRICA& tm = face->metrics().text;
        // ř ů š Ž with their base letters
        const std::pair<uint8_t, uint8_t> letters[] = {{0xF8, 'r'}, {0xF9, 'u'}, {0x9A, 's'}, {0x8E, 'Z'}};
        for (const auto& [byte, base] : letters) {
            SCOPED_TRACE(std::to_string(em) + " byte " + std::to_string(byte));
            ASSERT_FALSE(face->ink(byte).empty());
            for (const InkBox& box : face->ink(byte)) {
                EXPECT_GE(box.left, 0);
                EXPECT_LE(box.right, face->advance(byte));
                EXPECT_GE(box.top, -tm.tmAscent);
                EXPECT_LE(box.bottom, tm.tmDescent);
            }
            EXPECT_LT(inkTop(*face, byte), inkTop(*face, base)) << "the accent rises above the letter";
        }
    }
}

// Hinting lifts some accents a row above the Windows ascent; glyphs are cut to the cell so an
// opaque background covers whatever was drawn before.
TEST(FreeTypeFace, NoGlyphLeavesTheCell) {
    REQUIRE_FONT(kSans);
    REQUIRE_FONT(kDejaVu);
    for (const std::string& file : {kSans, kDejaVu}) {
        for (LONG height : {-11, -13, -16, 16, 21}) {
            const auto face = openFreeTypeFace(sourceOf(file), logFont(height));
            ASSERT_TRUE(face);
            const TEXTMETRICA& tm = face->metrics().text;
            for (int byte = 0; byte < 256; ++byte) {
                for (const InkBox& box : face->ink(static_cast<uint8_t>(byte))) {
                    EXPECT_GE(box.top, -tm.tmAscent) << file << " " << height << " byte " << byte;
                    EXPECT_LE(box.bottom, tm.tmDescent) << file << " " << height << " byte " << byte;
                    EXPECT_LT(box.top, box.bottom);
                }
            }
        }
    }
}

TEST(FreeTypeFace, Cp1251AndCp1252DifferWhereTheCodePagesDo) {
    REQUIRE_FONT(kSans);
    const auto western = openFreeTypeFace(sourceOf(kSans, ByteMap::Cp1252, ANSI_CHARSET), logFont(-20));
    const auto cyrillic = openFreeTypeFace(sourceOf(kSans, ByteMap::Cp1251, RUSSIAN_CHARSET), logFont(-20));
    ASSERT_TRUE(western && cyrillic);
    EXPECT_EQ(western->metrics().text.tmCharSet, ANSI_CHARSET);
    EXPECT_EQ(cyrillic->metrics().text.tmCharSet, RUSSIAN_CHARSET);
    for (uint8_t byte : {'A', 'g', '1', ' '}) EXPECT_TRUE(sameInk(*western, byte, *cyrillic, byte)) << int{byte};
    // Æ / Ж, à / а, é / й, € / Ђ, Ÿ / џ
    for (uint8_t byte : {0xC6, 0xE0, 0xE9, 0x80, 0x9F}) EXPECT_FALSE(sameInk(*western, byte, *cyrillic, byte)) << int{byte};
    // Bytes a code page leaves undefined draw the face's missing-glyph box, with its advance.
    EXPECT_FALSE(western->ink(0x81).empty());
    EXPECT_TRUE(sameInk(*western, 0x81, *cyrillic, 0x98));
    EXPECT_EQ(western->advance(0x81), cyrillic->advance(0x98));
    EXPECT_FALSE(sameInk(*western, 0x81, *western, 0x80));
}

TEST(FreeTypeFace, WingdingsBulletsComeFromAUnicodeFace) {
    REQUIRE_FONT(kDejaVu);
    const auto face = openFreeTypeFace(sourceOf(kDejaVu, ByteMap::Wingdings, SYMBOL_CHARSET), logFont(-20));
    ASSERT_TRUE(face);
    EXPECT_EQ(face->metrics().text.tmPitchAndFamily & 0xF0, FF_DECORATIVE);
    const uint8_t unknown = 0x21;  // no entry in the table: the missing glyph
    ASSERT_FALSE(face->ink(unknown).empty());
    for (uint8_t byte : {0x6C, 0x6E, 0x9F, 0xA7, 0xD8, 0xFC, 0xFE}) {
        EXPECT_FALSE(face->ink(byte).empty()) << int{byte};
        EXPECT_FALSE(sameInk(*face, byte, *face, unknown)) << int{byte};
    }
    // Every character of the table is one DejaVu Sans draws.
    for (int byte = 0x21; byte < 256; ++byte) {
        const auto b = static_cast<uint8_t>(byte);
        if (winplat::text::characterOf(ByteMap::Wingdings, b) == 0) continue;
        EXPECT_FALSE(sameInk(*face, b, *face, unknown)) << "byte " << byte;
    }
}

TEST(FreeTypeFace, SymbolBytesUseTheFaceOwnEncoding) {
    REQUIRE_FONT(kSymbol);
    REQUIRE_FONT(kSans);
    const auto symbol = openFreeTypeFace(sourceOf(kSymbol, ByteMap::Symbol, SYMBOL_CHARSET), logFont(-20));
    const auto latin = openFreeTypeFace(sourceOf(kSans), logFont(-20));
    ASSERT_TRUE(symbol && latin);
    EXPECT_EQ(symbol->metrics().text.tmCharSet, SYMBOL_CHARSET);
    EXPECT_EQ(symbol->metrics().text.tmPitchAndFamily & 0xF0, FF_DECORATIVE);
    const uint8_t unused = 0x7F;  // no glyph in the Symbol encoding
    // α, ∑, the bullet and ∞ of the Symbol encoding
    for (uint8_t byte : {0x61, 0xE5, 0xB7, 0xA5}) {
        EXPECT_FALSE(symbol->ink(byte).empty()) << int{byte};
        EXPECT_FALSE(sameInk(*symbol, byte, *symbol, unused)) << int{byte};
    }
    EXPECT_NE(symbol->advance(0xA5), symbol->advance(unused));
}

class DamagedFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("winplat_ft_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string prefixOf(const std::string& file, size_t size) {
        std::ifstream in(file, std::ios::binary);
        std::string bytes(size, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(size));
        bytes.resize(static_cast<size_t>(in.gcount()));
        return bytes;
    }
    std::filesystem::path folder_;
};

TEST_F(DamagedFiles, GiveNoFace) {
    REQUIRE_FONT(kSans);
    std::string garbage(4096, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    const std::string files[] = {
        write("empty.ttf", ""),
        write("garbage.ttf", garbage),
        write("header.ttf", prefixOf(kSans, 12)),       // the sfnt header alone
        write("directory.ttf", prefixOf(kSans, 2000)),  // the table directory, no tables
        (folder_ / "missing.ttf").string(),
    };
    for (const std::string& file : files) EXPECT_FALSE(openFreeTypeFace(sourceOf(file), logFont(-13))) << file;
}

TEST_F(DamagedFiles, ATruncatedFontNeverCrashes) {
    REQUIRE_FONT(kSans);
    const auto size = static_cast<size_t>(std::filesystem::file_size(kSans));
    for (size_t cut : {size / 8, size / 2, size - 100}) {
        const std::string file = write("cut" + std::to_string(cut) + ".ttf", prefixOf(kSans, cut));
        const auto face = openFreeTypeFace(sourceOf(file), logFont(-13));
        if (!face) continue;  // refused: as good as any other answer
        for (int byte = 0; byte < 256; ++byte) {
            const auto b = static_cast<uint8_t>(byte);
            const ABC abc = face->abc(b);
            EXPECT_EQ(abc.abcA + static_cast<int>(abc.abcB) + abc.abcC, face->advance(b));
        }
    }
}

// The metrics read of a file are kept until faces are dropped: then they are read again.
TEST_F(DamagedFiles, DroppingUnusedFacesForgetsWhatWasReadOfAFile) {
    REQUIRE_FONT(kSans);
    const std::string copy = write("sans.ttf", prefixOf(kSans, std::filesystem::file_size(kSans)));
    const std::optional<winplat::text::FontFile> file = winplat::text::fontFileAt(copy, 0);
    ASSERT_TRUE(file);
    ASSERT_TRUE(winplat::text::designMetricsOf(*file));
    std::filesystem::remove(copy);
    EXPECT_TRUE(winplat::text::designMetricsOf(*file)) << "kept from the first read";
    winplat::testing::dropUnusedFaces();
    EXPECT_FALSE(winplat::text::designMetricsOf(*file)) << "read again, from a file that is gone";
}

TEST(FreeTypeFace, FontsOfOneFileSizeAndStyleShareTheCache) {
    REQUIRE_FONT(kSans);
    const FaceSource source = sourceOf(kSans);
    auto first = openFreeTypeFace(source, logFont(-17));
    auto second = openFreeTypeFace(source, logFont(-17));
    ASSERT_TRUE(first);
    EXPECT_EQ(first.get(), second.get()) << "the same font is the same face";
    for (int byte = 0; byte < 256; ++byte) first->ink(static_cast<uint8_t>(byte));
    const uint64_t loads = winplat::text::freeTypeGlyphLoads();

    LOGFONTA underlined = logFont(-17);
    underlined.lfUnderline = 1;
    underlined.lfStrikeOut = 1;
    const auto lined = openFreeTypeFace(source, underlined);
    ASSERT_TRUE(lined);
    EXPECT_NE(lined.get(), first.get());
    EXPECT_EQ(lined->metrics().text.tmUnderlined, 1);
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<uint8_t>(byte);
        EXPECT_TRUE(sameInk(*lined, b, *first, b));
        EXPECT_EQ(lined->advance(b), first->advance(b));
    }
    EXPECT_EQ(winplat::text::freeTypeGlyphLoads(), loads) << "a second font of the size loads no glyph";

    // Dropped by every font, the face stays ready for the next font that asks for it.
    const std::weak_ptr<const Face> dropped = first;
    first.reset();
    second.reset();
    EXPECT_FALSE(dropped.expired());
    EXPECT_EQ(openFreeTypeFace(source, logFont(-17)).get(), dropped.lock().get());
    EXPECT_EQ(winplat::text::freeTypeGlyphLoads(), loads);
}

// A page's first display makes many fonts and measures few of their characters: a face loads a
// glyph only when a character of it is first measured or drawn, once, and a character measured
// again or by a second font of the size loads nothing.
TEST(FreeTypeFace, GlyphsLoadWhenFirstMeasured) {
    REQUIRE_FONT(kSans);
    const FaceSource source = sourceOf(kSans);
    winplat::testing::dropUnusedFaces();  // no face of the size kept from another test
    const uint64_t before = winplat::text::freeTypeGlyphLoads();
    const auto face = openFreeTypeFace(source, logFont(-29));
    ASSERT_TRUE(face);
    EXPECT_EQ(winplat::text::freeTypeGlyphLoads(), before) << "making the font loads no glyph";

    const int width = face->advance('W');
    EXPECT_GT(width, face->advance('i'));
    EXPECT_EQ(winplat::text::freeTypeGlyphLoads(), before + 2) << "one load for each character measured";
    LOGFONTA underlined = logFont(-29);
    underlined.lfUnderline = 1;
    const auto lined = openFreeTypeFace(source, underlined);
    ASSERT_TRUE(lined);
    EXPECT_EQ(lined->advance('W'), width);
    EXPECT_EQ(face->advance('W'), width);
    EXPECT_EQ(winplat::text::freeTypeGlyphLoads(), before + 2) << "measured again: nothing loads";

    ASSERT_FALSE(face->ink('m').empty());
    EXPECT_GT(face->advance('m'), 0);
    EXPECT_EQ(winplat::text::freeTypeGlyphLoads(), before + 3) << "a glyph drawn first loads once";
}

// What a fuzzer ends each input with, so that an input frees what it allocated: the faces no font
// holds go at once, those a font holds stay shared.
TEST(FreeTypeFace, DroppingUnusedFacesLetsGoOfThoseNoFontHolds) {
    REQUIRE_FONT(kSans);
    const FaceSource source = sourceOf(kSans);
    auto held = openFreeTypeFace(source, logFont(-19));
    auto dropped = openFreeTypeFace(source, logFont(-23));
    ASSERT_TRUE(held && dropped);
    dropped->ink('A');
    const std::weak_ptr<const Face> unused = dropped;
    dropped.reset();
    ASSERT_FALSE(unused.expired()) << "kept ready for the next font";

    winplat::testing::dropUnusedFaces();
    EXPECT_TRUE(unused.expired());
    EXPECT_EQ(openFreeTypeFace(source, logFont(-19)).get(), held.get()) << "a held face stays shared";
    const uint64_t loads = winplat::text::freeTypeGlyphLoads();
    openFreeTypeFace(source, logFont(-23))->ink('A');
    EXPECT_GT(winplat::text::freeTypeGlyphLoads(), loads) << "the dropped size is made afresh";
}

TEST(FreeTypeFace, ClassicDialogMetricsGiveTheClassicBaseUnits) {
    REQUIRE_FONT(kSans);
    FaceSource source = sourceOf(kSans);
    source.family = "MS Sans Serif";
    source.classicDialogMetrics = true;
    for (LONG height : {-11, 13}) {
        const auto face = openFreeTypeFace(source, logFont(height, FW_NORMAL, false, 0, "MS Sans Serif"));
        ASSERT_TRUE(face);
        const TEXTMETRICA& tm = face->metrics().text;
        EXPECT_EQ((std::vector<LONG>{tm.tmHeight, tm.tmAscent, tm.tmDescent, tm.tmInternalLeading,
                                     tm.tmExternalLeading, tm.tmAveCharWidth, tm.tmMaxCharWidth}),
                  (std::vector<LONG>{13, 11, 2, 2, 0, 5, 11}));

        // The dialog base units as a dialog computes them, through the DC.
        HDC dc = CreateCompatibleDC(nullptr);
        texttest::SelectedFont font(dc, logFont(height, FW_NORMAL, false, 0, "MS Sans Serif"));
        giveFace(font.font(), face);
        const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32A(dc, alphabet, 52, &size));
        EXPECT_EQ((size.cx / 26 + 1) / 2, 6) << "width " << size.cx;
        EXPECT_EQ(size.cy, 13);
        DeleteDC(dc);
    }
}

// Black text on white through ExtTextOutA: every pixel of the canvas stays one of the two colours,
// and the black ones are exactly the face's ink boxes at each pen position, on the direct paths
// (32 and 24 bits) and the general one (16 bits) alike.
TEST(FreeTypeFace, DrawnGlyphsAreBiLevelAndExactlyTheirInk) {
    REQUIRE_FONT(kSans);
    FaceSource italic = sourceOf(kSans);
    italic.syntheticItalic = true;
    // "Příliš žluťoučký kůň" in cp1250
    const std::string text = "P\xF8\xEDli\x9A \x9Elu\x9Do\xE8k\xFD k\xF9\xF2";
    for (int bpp : {32, 24, 16}) {
        for (const FaceSource& source : {sourceOf(kSans), italic}) {
            SCOPED_TRACE("bpp " + std::to_string(bpp) + (source.syntheticItalic ? " italic" : ""));
            const auto face = openFreeTypeFace(source, logFont(-13));
            ASSERT_TRUE(face);
            texttest::TextCanvas canvas(200, 30, logFont(-13), bpp);
            ASSERT_TRUE(canvas.ok());
            giveFace(canvas.selected.font(), face);
            SetTextAlign(canvas.dc(), TA_BASELINE);
            ASSERT_TRUE(ExtTextOutA(canvas.dc(), 5, 20, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr));

            std::vector<std::string> expected(30, std::string(200, '.'));
            int pen = 5;
            for (char c : text) {
                const auto byte = static_cast<uint8_t>(c);
                for (const InkBox& box : face->ink(byte))
                    for (int y = 20 + box.top; y < 20 + box.bottom; ++y)
                        for (int x = pen + box.left; x < pen + box.right; ++x)
                            expected[static_cast<size_t>(y)][static_cast<size_t>(x)] = '#';
                pen += face->advance(byte);
            }
            EXPECT_EQ(canvas.art(), expected);
        }
    }
}

TEST(FreeTypeFace, DrawingStaysInsideTheClipRectangle) {
    REQUIRE_FONT(kSans);
    const auto face = openFreeTypeFace(sourceOf(kSans), logFont(-20));
    ASSERT_TRUE(face);
    texttest::TextCanvas canvas(60, 30, logFont(-20), 32);
    ASSERT_TRUE(canvas.ok());
    giveFace(canvas.selected.font(), face);
    const RECT clip{10, 8, 30, 18};
    ASSERT_TRUE(ExtTextOutA(canvas.dc(), 2, 0, ETO_CLIPPED, &clip, "WMWMWM", 6, nullptr));
    int inside = 0;
    const auto art = canvas.art();
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            const char c = art[static_cast<size_t>(y)][static_cast<size_t>(x)];
            const bool in = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
            if (!in) {
                EXPECT_EQ(c, '.') << x << "," << y;
            }
            inside += in && c == '#';
        }
    }
    EXPECT_GT(inside, 0);
}

}  // namespace
