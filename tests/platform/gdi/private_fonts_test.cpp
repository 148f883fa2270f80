// Fonts a program adds itself: AddFontResourceA and RemoveFontResourceA with their counting,
// scalable font resource files (hidden fonts), files that are no fonts, and the order that puts
// them before every other font.
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../files/temp_drive.h"
#include "font_files.h"
#include "text/face_source.h"
#include "winplat/base.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

using winplat::text::FaceSource;
using winplat::text::findFace;

constexpr const char* kFamily = "Winplat Test Sans";

LOGFONTA logFont(const char* face, LONG weight = FW_NORMAL, bool italic = false) {
    LOGFONTA font{};
    font.lfHeight = -16;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

FaceSource sourceOf(const char* face, LONG weight = FW_NORMAL, bool italic = false) {
    const std::optional<FaceSource> source = findFace(logFont(face, weight, italic));
    return source ? *source : FaceSource{};
}

int collectFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM lParam) {
    reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(font->lfFaceName);
    return 1;
}

// The face names EnumFontFamiliesExA reports for the family.
std::vector<std::string> listed(const char* family) {
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTA font{};
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, family, LF_FACESIZE - 1);
    std::vector<std::string> names;
    EnumFontFamiliesExA(dc, &font, collectFamily, reinterpret_cast<LPARAM>(&names), 0);
    DeleteDC(dc);
    return names;
}

// Drive T: with "Winplat Test Sans" regular and bold in T:\fonts, made from Liberation Sans.
class PrivateFonts : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string missing = fonttest::missingFile({"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"});
            !missing.empty())
            GTEST_SKIP() << missing << " is not installed";
        drive_.folder("fonts");
        ASSERT_TRUE(fonttest::writeRenamedFont("LiberationSans-Regular.ttf", kFamily, "Regular", regular()));
        ASSERT_TRUE(fonttest::writeRenamedFont("LiberationSans-Bold.ttf", kFamily, "Bold", drive_.host("fonts/wtsansb.ttf")));
        ASSERT_EQ(sourceOf(kFamily).family, "Liberation Sans") << "no system font may have the test family";
    }
    std::string regular() const { return drive_.host("fonts/wtsans.ttf"); }

    filetest::TempDrive drive_;
};

TEST_F(PrivateFonts, ResolveOnlyWhileAdded) {
    ASSERT_EQ(AddFontResourceA("T:\\fonts\\wtsans.ttf"), 1);
    const FaceSource added = sourceOf("winplat TEST sans");
    EXPECT_EQ(added.file, regular());
    EXPECT_EQ(added.family, kFamily) << "the family as the name table spells it";
    EXPECT_EQ(added.charSet, EASTEUROPE_CHARSET);

    EXPECT_TRUE(RemoveFontResourceA("T:\\fonts\\wtsans.ttf"));
    const FaceSource removed = sourceOf(kFamily);
    EXPECT_EQ(fonttest::baseName(removed.file), "LiberationSans-Regular.ttf");
    EXPECT_EQ(removed.family, "Liberation Sans");
}

TEST_F(PrivateFonts, PrivateFlagAddsAndRemovesAsThePlainCalls) {
    const struct {
        DWORD flags;
        bool reserved;
    } refused[] = {{0, false}, {FR_NOT_ENUM, false}, {FR_PRIVATE | FR_NOT_ENUM, false}, {FR_PRIVATE, true}};
    int reserved = 0;
    for (const auto& c : refused) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << (c.reserved ? " with reserved" : ""));
        SetLastError(0);
        EXPECT_EQ(AddFontResourceExA("T:\\fonts\\wtsans.ttf", c.flags, c.reserved ? &reserved : nullptr), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_EQ(sourceOf(kFamily).family, "Liberation Sans") << "nothing was added";

    ASSERT_EQ(AddFontResourceExA("T:\\fonts\\wtsans.ttf", FR_PRIVATE, nullptr), 1);
    EXPECT_EQ(sourceOf(kFamily).file, regular());
    EXPECT_FALSE(RemoveFontResourceExA("T:\\fonts\\wtsans.ttf", FR_NOT_ENUM, nullptr));
    EXPECT_EQ(sourceOf(kFamily).file, regular()) << "a refused removal leaves the font";
    EXPECT_TRUE(RemoveFontResourceExA("T:\\fonts\\wtsans.ttf", FR_PRIVATE, nullptr));
    EXPECT_EQ(sourceOf(kFamily).family, "Liberation Sans");
}

TEST_F(PrivateFonts, PickTheStyleAmongTheAddedFiles) {
    ASSERT_EQ(AddFontResourceA("T:\\fonts\\wtsans.ttf"), 1);
    const FaceSource synthetic = sourceOf(kFamily, FW_BOLD, true);
    EXPECT_EQ(synthetic.file, regular());
    EXPECT_TRUE(synthetic.syntheticBold);
    EXPECT_TRUE(synthetic.syntheticItalic);

    ASSERT_EQ(AddFontResourceA("T:\\fonts\\wtsansb.ttf"), 1);
    const FaceSource bold = sourceOf(kFamily, FW_BOLD, true);
    EXPECT_EQ(bold.file, drive_.host("fonts/wtsansb.ttf"));
    EXPECT_FALSE(bold.syntheticBold);
    EXPECT_TRUE(bold.syntheticItalic);
    EXPECT_EQ(sourceOf(kFamily).file, regular()) << "the regular face still for a regular font";

    EXPECT_TRUE(RemoveFontResourceA("T:\\fonts\\wtsansb.ttf"));
    EXPECT_TRUE(RemoveFontResourceA("T:\\fonts\\wtsans.ttf"));
}

TEST_F(PrivateFonts, CountAddsAndRemovesByAnySpellingOfThePath) {
    ASSERT_EQ(AddFontResourceA("T:\\fonts\\wtsans.ttf"), 1);
    ASSERT_EQ(AddFontResourceA("t:/FONTS/WTSANS.TTF"), 1);
    EXPECT_TRUE(RemoveFontResourceA("T:\\Fonts\\.\\wtsans.ttf"));
    EXPECT_EQ(sourceOf(kFamily).file, regular()) << "added twice, removed once";
    EXPECT_TRUE(RemoveFontResourceA("T:\\fonts\\wtsans.ttf"));
    EXPECT_EQ(sourceOf(kFamily).family, "Liberation Sans");
    EXPECT_FALSE(RemoveFontResourceA("T:\\fonts\\wtsans.ttf")) << "no longer added";
}

TEST_F(PrivateFonts, ComeBeforeTheStandInsAndAreListed) {
    ASSERT_TRUE(fonttest::writeRenamedFont("LiberationSans-Regular.ttf", "Arial", "Regular", drive_.host("fonts/arial.ttf")));
    ASSERT_EQ(AddFontResourceA("T:\\fonts\\arial.ttf"), 1);
    ASSERT_EQ(AddFontResourceA("T:\\fonts\\wtsans.ttf"), 1);
    EXPECT_EQ(sourceOf("Arial").file, drive_.host("fonts/arial.ttf"));
    EXPECT_EQ(listed(kFamily), (std::vector<std::string>{kFamily, kFamily, kFamily})) << "ANSI, CE and Cyrillic";
    EXPECT_EQ(listed("Arial").size(), 3u) << "the added Arial, listed once per character set";
    EXPECT_TRUE(RemoveFontResourceA("T:\\fonts\\arial.ttf"));
    EXPECT_TRUE(RemoveFontResourceA("T:\\fonts\\wtsans.ttf"));
    EXPECT_EQ(fonttest::baseName(sourceOf("Arial").file), "LiberationSans-Regular.ttf");
    EXPECT_TRUE(listed(kFamily).empty());
}

TEST_F(PrivateFonts, RefuseFilesThatAreNoFonts) {
    const std::string font = fonttest::readFile(regular());
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"text", "This is not a font file at all.\n"},
        {"sfnt header only", font.substr(0, 12)},
        {"table directory only", font.substr(0, 12 + 16 * 16)},
        {"cut in half", font.substr(0, font.size() / 2)},
        {"last table cut short", font.substr(0, font.size() - 8)},
    };
    winplat::testing::DebugCapture capture;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        drive_.file("bad.ttf", c.bytes);
        EXPECT_EQ(AddFontResourceA("T:\\bad.ttf"), 0);
        EXPECT_FALSE(RemoveFontResourceA("T:\\bad.ttf")) << "nothing was added";
    }
    EXPECT_EQ(AddFontResourceA("T:\\fonts\\missing.ttf"), 0);
    EXPECT_EQ(AddFontResourceA(nullptr), 0);
    EXPECT_EQ(AddFontResourceA("T:\\fonts\\wtsans.ttf|T:\\fonts\\wtsansb.ttf"), 0);
    EXPECT_TRUE(capture.contains("AddFontResourceA: refused"));
    EXPECT_EQ(sourceOf(kFamily).family, "Liberation Sans");
}

// A name table's family holding a U+0000 is the name up to it, as a program can name it: listed
// and found as that, never as a name no LOGFONTA can hold.
// The metrics a new font of the family at 20 pixels reports, drawn with the system's fonts.
TEXTMETRICA metricsOf(const char* family) {
    const winplat::testing::ScopedFontSource source(winplat::testing::FontSource::System);
    LOGFONTA font = logFont(family);
    font.lfHeight = -20;
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    const winplat::GdiObject<HFONT> selectable(CreateFontIndirectA(&font));
    const winplat::Selection selected(dc.get(), selectable.get());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    return tm;
}

// A program that removes an embedded font and writes another one under the same name (as the
// reader does with the fonts of the documents it opens one after another) gets the new font's
// metrics, not those the layer read from the old file.
TEST_F(PrivateFonts, AFileWrittenAgainUnderTheSameNameIsANewFont) {
    if (const std::string missing = fonttest::missingFile({"LiberationSerif-Regular.ttf", "LiberationMono-Regular.ttf"});
        !missing.empty())
        GTEST_SKIP() << missing << " is not installed";
    const std::string path = drive_.host("fonts/embedded.ttf");
    ASSERT_TRUE(fonttest::writeRenamedFont("LiberationSerif-Regular.ttf", kFamily, "Regular", path));
    ASSERT_EQ(AddFontResourceA("T:\\fonts\\embedded.ttf"), 1);
    const TEXTMETRICA serif = metricsOf(kFamily);
    ASSERT_TRUE(RemoveFontResourceA("T:\\fonts\\embedded.ttf"));

    ASSERT_TRUE(fonttest::writeRenamedFont("LiberationMono-Regular.ttf", kFamily, "Regular", path));
    ASSERT_EQ(AddFontResourceA("T:\\fonts\\embedded.ttf"), 1);
    const TEXTMETRICA mono = metricsOf(kFamily);
    EXPECT_TRUE(RemoveFontResourceA("T:\\fonts\\embedded.ttf"));

    // Times New Roman's and Courier New's average widths (821 and 1229 of 2048 units) at 20 pixels.
    EXPECT_EQ(serif.tmAveCharWidth, 8);
    EXPECT_EQ(mono.tmAveCharWidth, 12);
    EXPECT_EQ(mono.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "fixed pitch: the bit is clear";
}

// A LOGFONTA holds 31 bytes of a face name: a longer family is listed by its first 31 and found by
// them, so what the listing reports can be handed back to CreateFontIndirectA.
TEST_F(PrivateFonts, ALongFamilyIsFoundByTheNameTheListingGives) {
    const std::string family = "Winplat Test Sans With A Very Long Name";  // 39 bytes
    ASSERT_TRUE(fonttest::writeRenamedFont("LiberationSans-Regular.ttf", family, "Regular", drive_.host("fonts/long.ttf")));
    ASSERT_EQ(AddFontResourceA("T:\\fonts\\long.ttf"), 1);
    const std::vector<std::string> names = listed(family.substr(0, 31).c_str());
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), family.substr(0, 31));
    EXPECT_EQ(sourceOf(names.front().c_str()).file, drive_.host("fonts/long.ttf"));
    EXPECT_NE(sourceOf(family.substr(0, 30).c_str()).file, drive_.host("fonts/long.ttf")) << "30 bytes are another name";
    EXPECT_TRUE(RemoveFontResourceA("T:\\fonts\\long.ttf"));
}

TEST_F(PrivateFonts, FamilyEndsAtANulCharacter) {
    const std::string family("Winplat Test\0Sans", 17);
    ASSERT_TRUE(fonttest::writeRenamedFont("LiberationSans-Regular.ttf", family, "Regular", drive_.host("fonts/nul.ttf")));
    ASSERT_EQ(AddFontResourceA("T:\\fonts\\nul.ttf"), 1);
    const FaceSource added = sourceOf("Winplat Test");
    EXPECT_EQ(added.file, drive_.host("fonts/nul.ttf"));
    EXPECT_EQ(added.family, "Winplat Test");
    EXPECT_EQ(listed("Winplat Test"), (std::vector<std::string>{"Winplat Test", "Winplat Test", "Winplat Test"}));
    EXPECT_TRUE(RemoveFontResourceA("T:\\fonts\\nul.ttf"));
}

TEST_F(PrivateFonts, HiddenResourceResolvesButIsNotListed) {
    ASSERT_TRUE(CreateScalableFontResourceA(1, "T:\\wtsans.fot", "wtsans.ttf", "T:\\fonts"));
    EXPECT_EQ(drive_.read("wtsans.fot"), "WINPLAT SCALABLE FONT RESOURCE 1\nhidden 1\nfont T:\\fonts\\wtsans.ttf\n");
    ASSERT_EQ(AddFontResourceA("T:\\wtsans.fot"), 1);
    EXPECT_EQ(sourceOf(kFamily).file, regular());
    EXPECT_TRUE(listed(kFamily).empty());
    EXPECT_TRUE(RemoveFontResourceA("T:\\WTSANS.FOT"));
    EXPECT_EQ(sourceOf(kFamily).family, "Liberation Sans");
}

TEST_F(PrivateFonts, VisibleResourceIsListed) {
    ASSERT_TRUE(CreateScalableFontResourceA(0, "T:\\wtsans.fot", "T:\\fonts\\wtsans.ttf", nullptr));
    ASSERT_EQ(AddFontResourceA("T:\\wtsans.fot"), 1);
    EXPECT_EQ(sourceOf(kFamily).file, regular());
    EXPECT_EQ(listed(kFamily).size(), 3u);
    EXPECT_TRUE(RemoveFontResourceA("T:\\wtsans.fot"));
    EXPECT_FALSE(RemoveFontResourceA("T:\\fonts\\wtsans.ttf")) << "the font file itself was never added";
}

TEST_F(PrivateFonts, CreateScalableFontResourceRefusals) {
    winplat::testing::DebugCapture capture;
    drive_.file("taken.fot", "something");
    SetLastError(0);
    EXPECT_FALSE(CreateScalableFontResourceA(0, "T:\\taken.fot", "T:\\fonts\\wtsans.ttf", nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_EXISTS});
    EXPECT_EQ(drive_.read("taken.fot"), "something");

    EXPECT_FALSE(CreateScalableFontResourceA(0, "T:\\a.fot", "missing.ttf", "T:\\fonts"));
    drive_.file("fonts/text.ttf", "not a font");
    EXPECT_FALSE(CreateScalableFontResourceA(0, "T:\\a.fot", "T:\\fonts\\text.ttf", nullptr));
    EXPECT_FALSE(CreateScalableFontResourceA(0, nullptr, "T:\\fonts\\wtsans.ttf", nullptr));
    EXPECT_FALSE(drive_.exists("a.fot")) << "nothing written for a refused font";
}

TEST_F(PrivateFonts, RefuseDamagedResourceFiles) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string font = "font T:\\fonts\\wtsans.ttf\n";
    const Case cases[] = {
        {"another version", "WINPLAT SCALABLE FONT RESOURCE 2\nhidden 0\n" + font},
        {"hidden neither 0 nor 1", "WINPLAT SCALABLE FONT RESOURCE 1\nhidden 2\n" + font},
        {"no hidden line", "WINPLAT SCALABLE FONT RESOURCE 1\n" + font},
        {"no font line", "WINPLAT SCALABLE FONT RESOURCE 1\nhidden 0\n"},
        {"empty font path", "WINPLAT SCALABLE FONT RESOURCE 1\nhidden 0\nfont \n"},
        {"last line unended", "WINPLAT SCALABLE FONT RESOURCE 1\nhidden 0\nfont T:\\fonts\\wtsans.ttf"},
        {"bytes after the end", "WINPLAT SCALABLE FONT RESOURCE 1\nhidden 0\n" + font + "x"},
        {"too long", "WINPLAT SCALABLE FONT RESOURCE 1\nhidden 0\nfont T:\\" + std::string(600, 'a') + "\n"},
        {"a missing font file", "WINPLAT SCALABLE FONT RESOURCE 1\nhidden 0\nfont T:\\fonts\\gone.ttf\n"},
    };
    winplat::testing::DebugCapture capture;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        drive_.file("bad.fot", c.bytes);
        EXPECT_EQ(AddFontResourceA("T:\\bad.fot"), 0);
    }
    EXPECT_EQ(sourceOf(kFamily).family, "Liberation Sans");
    drive_.file("good.fot", "WINPLAT SCALABLE FONT RESOURCE 1\nhidden 0\n" + font);
    EXPECT_EQ(AddFontResourceA("T:\\good.fot"), 1) << "the same lines undamaged";
    EXPECT_TRUE(RemoveFontResourceA("T:\\good.fot"));
}

}  // namespace
