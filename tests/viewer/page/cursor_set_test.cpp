// The reader's cursor set: the built-in cursors, a document's own cursor files found beside the
// document or extracted from it, and the built-in cursor wherever a document cursor cannot be had.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cursor_file_bytes.h"
#include "page/cursor_set.h"
#include "page/embedded_files.h"
#include "store/document_paths.h"
#include "store/document_tables.h"
#include "vazazi_test_support.h"
#include "winplat/module.h"

namespace {

using lect32::CursorSet;

HINSTANCE reader() { return GetModuleHandleA("lect32.exe"); }
HCURSOR arrow() { return LoadCursorA(nullptr, IDC_ARROW); }
HCURSOR hand() { return LoadCursorA(reader(), "hand"); }
HCURSOR magnifier() { return LoadCursorA(reader(), "MAGNIFY_1"); }

struct Extraction {
    int kind;
    uint16_t id;
    int slot;
};

class CursorSetTest : public ::testing::Test {
protected:
    vazazi_test::ScratchFolder folder;
    std::vector<uint16_t> entries;
    std::vector<Extraction> extractions;

    void TearDown() override {
        lect32::SetMediaFileExtractor({});
        for (const uint16_t entry : entries) lect32::documentFileNames().ReleasePath(entry, 0);
    }
    // An entry of the document's file-name table naming 'name' in the scratch folder; the file is
    // written when there are bytes for it.
    int16_t entry(const std::string& name, const cursor_test::Bytes* bytes) {
        if (bytes) vazazi_test::putFileBytes(folder.host(name), *bytes);
        std::string path = folder.windows(name);
        const uint16_t index = lect32::documentFileNames().AddPath(path.data());
        EXPECT_NE(index, 0xFFFF);
        entries.push_back(index);
        return static_cast<int16_t>(index);
    }
    // Extractions write a good cursor file to 'name' in the scratch folder, or fail.
    void extractTo(const std::string& name, bool succeed) {
        lect32::SetMediaFileExtractor([this, name, succeed](int kind, uint16_t id, char* path, int slot) {
            extractions.push_back({kind, id, slot});
            if (!succeed) return 0;
            vazazi_test::putFileBytes(folder.host(name), cursor_test::CursorFile{}.bytes());
            std::strcpy(path, folder.windows(name).c_str());
            return 1;
        });
    }
};

TEST_F(CursorSetTest, InitLoadsTheBuiltInCursorsOnce) {
    CursorSet set;
    ASSERT_NE(hand(), nullptr) << "the reader's resources lack the hand";
    ASSERT_NE(magnifier(), nullptr) << "the reader's resources lack the magnifier";
    const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    EXPECT_EQ(set.Init(reader(), window), 1);
    EXPECT_EQ(set.Get(CursorSet::kLinkCursor), hand());
    EXPECT_EQ(set.Get(CursorSet::kNormalCursor), arrow());
    EXPECT_EQ(set.Get(CursorSet::kZoomCursor), magnifier());
    EXPECT_EQ(set.Get(CursorSet::kSecondNormalCursor), arrow());
    EXPECT_EQ(set.Get(CursorSet::kFirstFurtherCursor), nullptr);
    EXPECT_EQ(set.Init(nullptr, nullptr), 1);
    EXPECT_EQ(set.instance(), reader()) << "a second Init changes nothing";
    EXPECT_EQ(set.window(), window);
    EXPECT_EQ(set.Get(CursorSet::kLinkCursor), hand());
}

// The process's own set keeps what it holds until exit, when its owners destroy the cursors.
TEST_F(CursorSetTest, TheReadersSetIsOneForTheProcessAndLivesToItsEnd) {
    const cursor_test::Bytes cursor = cursor_test::CursorFile{}.bytes();
    const int16_t normal = entry("normal.cur", &cursor);
    EXPECT_EQ(&lect32::Cursors(), &lect32::Cursors());
    lect32::Cursors().Init(reader(), nullptr);
    lect32::Cursors().LoadDocumentCursors(normal, CursorSet::kNoCursorFile, CursorSet::kNoCursorFile);
    EXPECT_NE(lect32::Cursors().Get(CursorSet::kNormalCursor), arrow());
    EXPECT_EQ(lect32::Cursors().Get(CursorSet::kLinkCursor), hand());
}

TEST_F(CursorSetTest, ADocumentsCursorFilesBesideItReplaceTheBuiltInOnes) {
    const cursor_test::Bytes cursor = cursor_test::CursorFile{}.bytes();
    const int16_t normal = entry("normal.cur", &cursor);
    const int16_t link = entry("link.cur", &cursor);
    CursorSet set;
    set.Init(reader(), nullptr);
    ASSERT_EQ(set.LoadDocumentCursors(normal, link, CursorSet::kNoCursorFile), 1);
    const HCURSOR first = set.Get(CursorSet::kNormalCursor);
    const HCURSOR second = set.Get(CursorSet::kSecondNormalCursor);
    EXPECT_NE(first, nullptr);
    EXPECT_NE(first, arrow());
    EXPECT_NE(second, arrow());
    EXPECT_NE(first, second) << "each normal slot holds a cursor of its own";
    EXPECT_NE(set.Get(CursorSet::kLinkCursor), hand());
    EXPECT_EQ(set.Get(CursorSet::kZoomCursor), magnifier()) << "a cursor the document does not name";
    EXPECT_TRUE(extractions.empty());
}

TEST_F(CursorSetTest, ACursorFileMissingBesideTheDocumentIsExtractedAndTheCopyRemoved) {
    const int16_t zoom = entry("gone.cur", nullptr);
    extractTo("extracted.cur", true);
    CursorSet set;
    set.Init(reader(), nullptr);
    set.LoadDocumentCursors(CursorSet::kNoCursorFile, CursorSet::kNoCursorFile, zoom);
    ASSERT_EQ(extractions.size(), 1u);
    EXPECT_EQ(extractions[0].kind, lect32::kPictureFiles);
    EXPECT_EQ(extractions[0].id, static_cast<uint16_t>(zoom));
    EXPECT_EQ(extractions[0].slot, 0);
    EXPECT_NE(set.Get(CursorSet::kZoomCursor), magnifier());
    EXPECT_NE(set.Get(CursorSet::kZoomCursor), nullptr);
    EXPECT_FALSE(std::filesystem::exists(folder.host("extracted.cur"))) << "the temporary copy stays behind";
}

TEST_F(CursorSetTest, EachCursorThatCannotBeHadFallsBackToItsBuiltIn) {
    cursor_test::Bytes damaged = cursor_test::CursorFile{}.bytes();
    damaged.resize(30);
    const int16_t broken = entry("broken.cur", &damaged);
    const int16_t missing = entry("missing.cur", nullptr);
    struct Case {
        const char* what;
        bool extractor;
        bool extracts;
    };
    for (const Case c :
         {Case{"no store to extract from", false, false}, Case{"the extraction fails", true, false}}) {
        if (c.extractor) extractTo("never.cur", c.extracts);
        CursorSet set;
        set.Init(reader(), nullptr);
        set.LoadDocumentCursors(broken, missing, int16_t{999});
        EXPECT_EQ(set.Get(CursorSet::kNormalCursor), arrow()) << c.what;
        EXPECT_EQ(set.Get(CursorSet::kSecondNormalCursor), arrow()) << c.what;
        EXPECT_EQ(set.Get(CursorSet::kLinkCursor), hand()) << c.what;
        EXPECT_EQ(set.Get(CursorSet::kZoomCursor), magnifier()) << c.what << ": no entry 999";
    }
}

TEST_F(CursorSetTest, DestroyAllDestroysTheDocumentsCursorsAndEmptiesEverySlot) {
    const cursor_test::Bytes cursor = cursor_test::CursorFile{}.bytes();
    const int16_t normal = entry("normal.cur", &cursor);
    CursorSet set;
    set.Init(reader(), nullptr);
    set.LoadDocumentCursors(normal, CursorSet::kNoCursorFile, CursorSet::kNoCursorFile);
    const HCURSOR loaded = set.Get(CursorSet::kNormalCursor);
    const HCURSOR further = lect32::LoadDocumentCursor(normal);
    ASSERT_NE(further, nullptr);
    set.Set(CursorSet::kFirstFurtherCursor + 2, further);
    set.DestroyAll();
    for (size_t slot = 0; slot < CursorSet::kSlotCount; ++slot) EXPECT_EQ(set.Get(slot), nullptr) << slot;
    EXPECT_FALSE(DestroyCursor(loaded)) << "the document's cursor was left alive";
    EXPECT_FALSE(DestroyCursor(further)) << "a further slot's cursor was left alive";
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow()) << "shared cursors outlive it";
    EXPECT_EQ(hand(), LoadCursorA(reader(), "hand"));
}

TEST_F(CursorSetTest, LoadingAgainDestroysThePreviousDocumentsCursors) {
    const cursor_test::Bytes cursor = cursor_test::CursorFile{}.bytes();
    const int16_t link = entry("link.cur", &cursor);
    CursorSet set;
    set.Init(reader(), nullptr);
    set.LoadDocumentCursors(CursorSet::kNoCursorFile, link, CursorSet::kNoCursorFile);
    const HCURSOR previous = set.Get(CursorSet::kLinkCursor);
    set.LoadDocumentCursors(CursorSet::kNoCursorFile, CursorSet::kNoCursorFile, CursorSet::kNoCursorFile);
    EXPECT_EQ(set.Get(CursorSet::kLinkCursor), hand());
    EXPECT_FALSE(DestroyCursor(previous));
}

}  // namespace
