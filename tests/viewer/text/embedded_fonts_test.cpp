// The fonts a document carries: the table's bounds, installing into a private folder, the font
// cache resolving a keyed format to the embedded file, and removal leaving nothing behind.
#include "text/embedded_fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/record_flags.h"
#include "store/vazazi_file.h"
#include "support/sfnt_names.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "viewer/store/vazazi_test_support.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

using lect32::CharFormat;
using lect32::EmbeddedFontEntry;
using lect32::EmbeddedFontTable;
using lect32::EmbeddedFonts;
using Bytes = std::vector<uint8_t>;

constexpr const char* kFamily = "Lnf Embedded Sans";
constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct Font {
    EmbeddedFontEntry entry;
    uint8_t flags = 0;
};

// The table record's body: count, the 8-byte entries, then (version 2 and later) the flags.
Bytes tableBody(const std::vector<Font>& fonts, bool withFlags = true) {
    Bytes body{static_cast<uint8_t>(fonts.size() & 0xFF), static_cast<uint8_t>(fonts.size() >> 8)};
    for (const Font& f : fonts) {
        const EmbeddedFontEntry& e = f.entry;
        body.insert(body.end(), {e.weightTenths, e.italic, e.charset, e.outPrecision, e.pitchAndFamily, e.font,
                                 e.weightClass, e.keyItalic});
    }
    if (withFlags)
        for (const Font& f : fonts) body.push_back(f.flags);
    return body;
}

Font keyed(uint8_t font, uint8_t weightClass, uint8_t italic, uint8_t flags = 0) {
    return {EmbeddedFontEntry{70, italic, 238, 7, 0x22, font, weightClass, italic}, flags};
}

bool readTable(EmbeddedFontTable& table, const Bytes& body, uint8_t version) {
    lect32::MemReader reader;
    reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size()));
    return table.Read(reader, version);
}

TEST(EmbeddedFontTable, BoundsTheCountAndTheBody) {
    winplat::testing::DebugCapture quiet;
    const struct {
        size_t fonts;
        int cut;  // bytes taken off the end of the body
        bool taken;
    } cases[] = {{0, 0, true}, {1, 0, true}, {128, 0, true}, {129, 0, false}, {3, 1, false}, {1, 9, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fonts << " fonts, " << c.cut << " bytes cut");
        Bytes body = tableBody(std::vector<Font>(c.fonts, keyed(1, 3, 0, 2)));
        body.resize(body.size() - c.cut);
        EmbeddedFontTable table;
        EXPECT_EQ(readTable(table, body, 2), c.taken);
        EXPECT_EQ(table.count(), c.taken ? c.fonts : 0);
    }
}

TEST(EmbeddedFontTable, KeepsSixtyFourEntriesAndEveryFlag) {
    std::vector<Font> fonts;
    for (int n = 0; n < 100; ++n) fonts.push_back(keyed(static_cast<uint8_t>(n), 3, 0, n == 99 ? 2 : 0));
    EmbeddedFontTable table;
    ASSERT_TRUE(readTable(table, tableBody(fonts), 2));
    EXPECT_EQ(table.count(), 100);
    ASSERT_NE(table.Entry(63), nullptr);
    EXPECT_EQ(table.Entry(63)->font, 63);
    EXPECT_EQ(table.Entry(64), nullptr) << "entries past the 64th are read and dropped";
    EXPECT_NE(table.Find(63, 3, false), nullptr);
    EXPECT_EQ(table.Find(64, 3, false), nullptr);
    EXPECT_EQ(table.Flags(99), 2);
    EXPECT_EQ(table.Flags(98), 0);
    EXPECT_EQ(table.Flags(100), 0) << "past the table";
}

TEST(EmbeddedFontTable, OlderVersionsHaveNoFlags) {
    EmbeddedFontTable table;
    ASSERT_TRUE(readTable(table, tableBody({keyed(0, 3, 0, 2)}, false), 1));
    EXPECT_EQ(table.Flags(0), 0);
    ASSERT_TRUE(readTable(table, tableBody({keyed(0, 3, 0, 2)}), 2));
    EXPECT_EQ(table.Flags(0), 2);
}

TEST(EmbeddedFontTable, FindsByTheWholeKeyAndSkipsFontsNotInstalled) {
    EmbeddedFontTable table;
    ASSERT_TRUE(readTable(table, tableBody({keyed(2, 3, 0), keyed(2, 6, 1), keyed(255, 3, 0)}), 2));
    EXPECT_EQ(table.Find(2, 3, false), table.Entry(0));
    EXPECT_EQ(table.Find(2, 6, true), table.Entry(1));
    EXPECT_EQ(table.Find(2, 6, false), nullptr);
    EXPECT_EQ(table.Find(2, 4, false), nullptr);
    EXPECT_EQ(table.Find(3, 3, false), nullptr);
    EXPECT_EQ(table.Find(255, 3, false), nullptr) << "an unset font is never embedded";
    table.MarkNotInstalled(0);
    EXPECT_EQ(table.Find(2, 3, false), nullptr);
}

std::string readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A host path of a file the reader names by its Windows path ("C:\tmp\x" is "/tmp/x").
std::filesystem::path hostOf(std::string windows) {
    std::replace(windows.begin(), windows.end(), '\\', '/');
    return windows.substr(2);
}

// A document "book.lcn" in a scratch folder, whose temporary folder is the scratch's "tmp";
// the companion "book.lnf" is written by each test. The main face list names the made-up family.
class EmbeddedFontsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kDejaVu)) GTEST_SKIP() << kDejaVu << " is not installed (fonts-dejavu-core)";
        font_ = fonttest::withNameTable(readHostFile(kDejaVu), fonttest::nameTable(kFamily, "Book"));
        std::filesystem::create_directories(scratch_.host("tmp"));
        if (const char* old = std::getenv("TMPDIR")) oldTemp_ = old;
        setenv("TMPDIR", scratch_.host("tmp").c_str(), 1);
        lect32::GetDocumentFonts().main.Clear();
        lect32::GetDocumentFonts().main.Append(kFamily, 0);
        lect32::GetTextFontCache().Clear();
    }
    void TearDown() override {
        fonts_.Remove();
        lect32::GetTextFontCache().Clear();
        lect32::GetDocumentFonts().main.Clear();
        if (oldTemp_) setenv("TMPDIR", oldTemp_->c_str(), 1);
        else unsetenv("TMPDIR");
    }

    // The companion with the table (of the given record version) and the font records; a null
    // record leaves its slot empty.
    void writeCompanion(const std::vector<Font>& fonts, const std::vector<const std::string*>& records,
                        uint8_t version = 2) {
        lect32::VazaziFile companion;
        ASSERT_EQ(companion.Create(scratch_.windows("book.lnf").c_str(), 1), 0);
        lect32::MemWriter table;
        vazazi_test::fill(table, tableBody(fonts, version >= 2));
        const lect32::RecordFlags flags{0, version};
        ASSERT_EQ(companion.WriteRecordByType(EmbeddedFontTable::kRecordType, 0, table, &flags), 1);
        for (size_t n = 0; n < records.size(); ++n) {
            if (!records[n]) continue;
            lect32::MemWriter record;
            vazazi_test::fill(record, Bytes(records[n]->begin(), records[n]->end()));
            ASSERT_EQ(companion.WriteRecord(2, static_cast<int16_t>(n), record), 1);
        }
        companion.Close();
    }

    int install() { return fonts_.Install(scratch_.windows("book.lcn").c_str()); }

    // The face the text cache's font for the format draws with.
    std::string faceOf(const CharFormat& format) {
        lect32::FontRef font = lect32::GetTextFontCache().GetFont(dc_.get(), format);
        if (!font) return {};
        const winplat::Selection selected(dc_.get(), font->get());
        char face[LF_FACESIZE] = {};
        GetTextFaceA(dc_.get(), LF_FACESIZE, face);
        return face;
    }

    std::vector<std::filesystem::path> tempFiles() const {
        std::vector<std::filesystem::path> files;
        for (const auto& item : std::filesystem::recursive_directory_iterator(scratch_.host("tmp")))
            files.push_back(item.path());
        return files;
    }

    vazazi_test::ScratchFolder scratch_;
    std::string font_;
    // The cache asks the process-wide fonts.
    EmbeddedFonts& fonts_ = lect32::GetEmbeddedFonts();
    winplat::MemoryDc dc_{CreateCompatibleDC(nullptr)};
    winplat::testing::ScopedFontSource system_{winplat::testing::FontSource::System};
    std::optional<std::string> oldTemp_;
};

TEST_F(EmbeddedFontsTest, KeyedFormatResolvesToTheEmbeddedFileUntilRemoved) {
    for (const uint8_t flags : {uint8_t{0}, EmbeddedFontTable::kInstallDirectly}) {
        SCOPED_TRACE(flags ? "added directly" : "added through a resource file");
        writeCompanion({keyed(0, 3, 0, flags)}, {&font_});
        const CharFormat format{0, 12, 3, 0};
        ASSERT_NE(faceOf(format), kFamily) << "no system font may have the made-up family";
        lect32::GetTextFontCache().Clear();

        ASSERT_EQ(install(), 1);
        EXPECT_EQ(fonts_.installedCount(), 1);
        ASSERT_EQ(fonts_.installedFiles().size(), 1u);
        const std::filesystem::path fontFile =
            hostOf(flags ? fonts_.installedFiles()[0] : fonts_.extraFiles().at(0));
        EXPECT_EQ(readHostFile(fontFile), font_) << "the record's bytes, written whole";
        EXPECT_EQ(fontFile.parent_path().parent_path(), scratch_.host("tmp")) << "a folder of its own in the temporary folder";
        ASSERT_NE(fonts_.Find(format), nullptr);
        lect32::GetTextFontCache().Clear();
        EXPECT_EQ(faceOf(format), kFamily);
        const LOGFONTA request = lect32::GetTextFontCache().GetFont(dc_.get(), format)->request();
        EXPECT_EQ(request.lfWeight, 700) << "the table's weight / 10";
        EXPECT_EQ(request.lfClipPrecision, 128);
        EXPECT_EQ(request.lfQuality, PROOF_QUALITY);
        EXPECT_EQ(request.lfOutPrecision, 7);
        EXPECT_EQ(request.lfPitchAndFamily, 0x22);

        fonts_.Remove();
        lect32::GetTextFontCache().Clear();
        EXPECT_EQ(fonts_.Find(format), nullptr);
        EXPECT_NE(faceOf(format), kFamily) << "the face no longer resolves";
        EXPECT_TRUE(tempFiles().empty()) << "files and folder are gone";
    }
}

TEST_F(EmbeddedFontsTest, NoCompanionInstallsNothing) {
    EXPECT_EQ(install(), 0);
    EXPECT_EQ(fonts_.installedCount(), 0);
    EXPECT_TRUE(fonts_.folder().empty());
    EXPECT_TRUE(tempFiles().empty());
    EXPECT_EQ(fonts_.Install(nullptr), 0);
}

TEST_F(EmbeddedFontsTest, TwelfthFontGetsItsNumberInBothNames) {
    std::vector<Font> fonts;
    for (uint8_t n = 0; n < 12; ++n) fonts.push_back(keyed(0, n, 0));
    writeCompanion(fonts, std::vector<const std::string*>(12, &font_));
    ASSERT_EQ(install(), 1);
    EXPECT_EQ(fonts_.installedCount(), 12);
    ASSERT_EQ(fonts_.installedFiles().size(), 12u);
    ASSERT_EQ(fonts_.extraFiles().size(), 12u);
    const std::string folder = fonts_.folder();
    EXPECT_EQ(fonts_.installedFiles()[11], folder + "\\lnef0012.for");
    EXPECT_EQ(fonts_.extraFiles()[11], folder + "\\lnef0012.ttr");
    EXPECT_EQ(fonts_.installedFiles()[0], folder + "\\lnef0001.for");
    EXPECT_TRUE(std::filesystem::exists(hostOf(fonts_.installedFiles()[11])));
    fonts_.Remove();
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(EmbeddedFontsTest, DamagedFontIsDroppedAndTheOthersInstall) {
    const std::string damaged = font_.substr(0, 200);
    const std::string notAFont = "not a font at all";
    writeCompanion({keyed(0, 3, 0, 2), keyed(0, 6, 0, 0), keyed(0, 3, 1, 2)}, {&damaged, &notAFont, &font_});
    {
        winplat::testing::DebugCapture quiet;
        ASSERT_EQ(install(), 1);
    }
    EXPECT_EQ(fonts_.Find(CharFormat{0, 12, 3, 0}), nullptr);
    EXPECT_EQ(fonts_.Find(CharFormat{0, 12, 6, 0}), nullptr);
    EXPECT_NE(fonts_.Find(CharFormat{0, 12, 3, CharFormat::kItalic}), nullptr);
    ASSERT_EQ(fonts_.installedFiles().size(), 1u);
    EXPECT_EQ(tempFiles().size(), 2u) << "the folder and the one font that installed";
}

TEST_F(EmbeddedFontsTest, UnreadableRecordLeavesNothingInstalled) {
    writeCompanion({keyed(0, 3, 0, 2), keyed(0, 3, 1, 2), keyed(0, 6, 0, 2)}, {&font_, nullptr, &font_});
    {
        winplat::testing::DebugCapture quiet;
        EXPECT_EQ(install(), 0);
    }
    EXPECT_EQ(fonts_.installedCount(), 0);
    EXPECT_TRUE(fonts_.installedFiles().empty());
    EXPECT_EQ(fonts_.Find(CharFormat{0, 12, 3, 0}), nullptr);
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(EmbeddedFontsTest, FilesAlreadyInTheTemporaryFolderAreNotTouched) {
    // What another user could leave under the old fixed names.
    std::ofstream(scratch_.host("tmp/lnef0001.ttr")) << "victim";
    std::ofstream(scratch_.host("tmp/lnef0001.for")) << "victim";
    writeCompanion({keyed(0, 3, 0, 0)}, {&font_});
    ASSERT_EQ(install(), 1);
    EXPECT_NE(fonts_.Find(CharFormat{0, 12, 3, 0}), nullptr);
    fonts_.Remove();
    EXPECT_EQ(readHostFile(scratch_.host("tmp/lnef0001.ttr")), "victim");
    EXPECT_EQ(readHostFile(scratch_.host("tmp/lnef0001.for")), "victim");
    EXPECT_EQ(tempFiles().size(), 2u);
}

}  // namespace
