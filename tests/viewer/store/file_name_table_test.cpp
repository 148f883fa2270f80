#include "store/file_name_table.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "store_test_support.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"

namespace {

using Bytes = std::vector<uint8_t>;
using lect32::FileNameTable;
using lect32::ImageFileTable;
using lect32::MemReader;
using lect32::MemWriter;
using lect32::StringPool;
using lect32::VazaziFile;
using winplat::testing::GlobalAllocFailure;

uint16_t add(FileNameTable& table, std::string path) { return table.AddPath(path.data()); }
uint16_t find(FileNameTable& table, std::string path) { return table.FindPath(path.data()); }
int replace(FileNameTable& table, uint16_t i, std::string path, int keepFolder) {
    return table.ReplacePath(i, path.data(), keepFolder);
}

std::string pathOf(FileNameTable& table, int i) {
    char buffer[FileNameTable::kPathBuffer];
    const uint16_t length = table.GetPath(i, buffer);
    EXPECT_EQ(length, std::strlen(buffer));
    return buffer;
}

std::string folderOf(StringPool& pool, uint16_t i) {
    char buffer[256];
    return pool.GetString(i, buffer) ? buffer : "";
}

// Both lists' stored forms, for "nothing changed" checks.
Bytes saved(FileNameTable& table) {
    return store_test::savedBy([&](MemWriter& writer) { return table.SaveToDocument(1, &writer); });
}

int load(FileNameTable& table, const Bytes& bytes) {
    return store_test::loadedBy(bytes, [&](MemReader& reader) { return table.LoadFromDocument(1, &reader); });
}

TEST(FileNameTableTest, AnUpperCasePathAddedTwiceIsOneEntryWithTwoUses) {
    StringPool folders;
    FileNameTable table(folders);
    char path[] = "C:\\Pictures\\Title.GIF";
    ASSERT_EQ(table.AddPath(path), 0);
    EXPECT_STREQ(path, "c:\\pictures\\title.gif") << "lower-cased in the caller's buffer";
    EXPECT_EQ(add(table, "c:\\PICTURES\\title.gif"), 0);
    EXPECT_EQ(table.GetCount(), 1);
    EXPECT_EQ(table.GetUseCount(0), 2);
    ASSERT_EQ(folders.GetCount(), 1);
    EXPECT_EQ(folders.GetUseCount(0), 2);
    EXPECT_EQ(folderOf(folders, 0), "c:\\pictures\\");
    EXPECT_EQ(pathOf(table, 0), "c:\\pictures\\title.gif");
    EXPECT_EQ(table.GetTag(0), 0);
    table.SetTag(0, 0xBEEF);
    EXPECT_EQ(table.GetTag(0), 0xBEEF);

    StringPool keptFolders;
    keptFolders.SetKeepCase(1);
    FileNameTable keeping(keptFolders);
    keeping.SetKeepCase(1);
    EXPECT_EQ(add(keeping, "Pics\\A.JPG"), 0);
    EXPECT_EQ(add(keeping, "pics\\a.jpg"), 1) << "with keep-case the case tells files apart";
    EXPECT_EQ(pathOf(keeping, 0), "Pics\\A.JPG");
    EXPECT_EQ(keeping.GetMediaType(0), 1) << "an upper-case extension matches no row";
    EXPECT_EQ(keeping.GetMediaType(1), 9);
}

TEST(FileNameTableTest, SplitsFolderNameAndMediaType) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
        uint8_t type;
    };
    const Case cases[] = {
        {"x.gif", "", "x.gif", 2},                          // no backslash: the empty folder
        {"a\\b\\c.pcx", "a\\b\\", "c.pcx", 1},
        {"d\\f.TIF", "d\\", "f.tif", 3},
        {"f.bmp", "", "f.bmp", 4},
        {"f.wpg", "", "f.wpg", 5},
        {"f.ico", "", "f.ico", 6},
        {"f.mac", "", "f.mac", 7},
        {"f.tga", "", "f.tga", 8},
        {"f.jpg", "", "f.jpg", 9},
        {"f.jpeg", "", "f.jpeg", 1},                        // any other extension
        {"f.tar.png", "", "f.tar.png", 10},                 // the last dot counts
        {"f.wmf", "", "f.wmf", 100},
        {"my.dir\\readme", "my.dir\\", "readme", 0},        // a dot in the folder does not
        {"f.", "", "f.", 1},                                // an empty extension is another one
        {"\\\\srv\\share\\s.Wav", "\\\\srv\\share\\", "s.wav", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        StringPool folders;
        FileNameTable table(folders);
        ASSERT_EQ(add(table, c.path), 0);
        EXPECT_EQ(pathOf(table, 0), std::string(c.folder) + c.name);
        EXPECT_EQ(folderOf(folders, table.GetFolderIndex(0)), c.folder);
        EXPECT_EQ(table.GetMediaType(0), c.type);
        EXPECT_EQ(FileNameTable::MediaTypeOf(c.name, static_cast<int>(std::strlen(c.name))), c.type);
    }
}

TEST(FileNameTableTest, RefusesPathsItCannotKeepAndIndexesOutOfRange) {
    StringPool folders;
    FileNameTable table(folders);
    EXPECT_EQ(add(table, ""), 0xFFFF);
    EXPECT_EQ(table.AddPath(nullptr), 0xFFFF);
    EXPECT_EQ(add(table, "c:\\pictures\\"), 0xFFFF) << "no file name";
    EXPECT_EQ(add(table, "d\\" + std::string(256, 'n')), 0xFFFF) << "a cut name would be another file";
    EXPECT_EQ(add(table, std::string(255, 'd') + "\\n.gif"), 0xFFFF) << "folder of 256 bytes";
    EXPECT_EQ(add(table, std::string(254, 'd') + "\\" + std::string(255, 'n')), 0) << "both at the limit";
    EXPECT_EQ(pathOf(table, 0).size(), 510u);
    EXPECT_EQ(folders.GetCount(), 1) << "refused paths leave no folder behind";

    EXPECT_EQ(pathOf(table, -1), "");
    EXPECT_EQ(pathOf(table, 1), "");
    EXPECT_EQ(table.ReleasePath(1, 0), 0);
    EXPECT_EQ(table.GetTag(1), 0xFFFF);
    EXPECT_EQ(table.AddUses(1, 1), 0);
    EXPECT_EQ(replace(table, 1, "a.gif", 0), 0);
    EXPECT_EQ(replace(table, 0, "", 0), 0);
    EXPECT_EQ(replace(table, 0, "dir\\", 0), 0);
}

TEST(FileNameTableTest, FindsOnlyNamesWithAnExtensionInAKnownFolder) {
    StringPool folders;
    FileNameTable table(folders);
    ASSERT_EQ(add(table, "d\\readme"), 0);
    ASSERT_EQ(add(table, "d\\a.gif"), 1);
    ASSERT_EQ(add(table, "e\\a.gif"), 2);
    ASSERT_EQ(add(table, "top.bmp"), 3);
    EXPECT_EQ(find(table, "d\\readme"), 0xFFFF) << "stored, yet not found: no media type";
    EXPECT_EQ(find(table, "D\\A.GIF"), 1);
    EXPECT_EQ(find(table, "e\\a.gif"), 2) << "the same name in another folder";
    EXPECT_EQ(find(table, "top.bmp"), 3) << "the empty folder is a folder like any other";
    EXPECT_EQ(find(table, "x\\a.gif"), 0xFFFF) << "unknown folder";
    EXPECT_EQ(find(table, "d\\b.gif"), 0xFFFF);
    EXPECT_EQ(find(table, ""), 0xFFFF);
    EXPECT_EQ(find(table, "d\\"), 0xFFFF);
    EXPECT_EQ(folders.GetCount(), 3) << "finding adds no folder";
}

TEST(FileNameTableTest, ReleasingTheLastUseDropsTheEntryAndItsFolderUse) {
    StringPool folders;
    FileNameTable table(folders);
    ASSERT_EQ(add(table, "d\\a.gif"), 0);
    ASSERT_EQ(add(table, "d\\a.gif"), 0);
    ASSERT_EQ(add(table, "d\\b.gif"), 1);
    EXPECT_EQ(folders.GetUseCount(0), 3);
    EXPECT_EQ(table.ReleasePath(0, 0), 1);
    EXPECT_EQ(folders.GetUseCount(0), 2) << "each reference gives up its folder use too";
    EXPECT_EQ(table.ReleasePath(0, 0), 0);
    EXPECT_EQ(table.GetCount(), 2);
    EXPECT_EQ(table.GetFreeCount(), 1);
    EXPECT_EQ(folders.GetUseCount(0), 1) << "only b.gif holds the folder now";
    EXPECT_EQ(table.ReleasePath(0, 0), 0xFFFF) << "already a free slot";
    EXPECT_EQ(folders.GetUseCount(0), 1) << "a free slot gives up nothing";
    EXPECT_EQ(pathOf(table, 0), "");
    EXPECT_EQ(add(table, "e\\new.png"), 0) << "the free slot is reused";
    EXPECT_EQ(table.GetTag(0), 0);
    EXPECT_EQ(table.GetMediaType(0), 10);
    EXPECT_EQ(pathOf(table, 1), "d\\b.gif");

    // Removal shifts the table's indexes; the folder goes with its last file but leaves a free
    // slot, so other entries keep their folder index.
    EXPECT_EQ(table.ReleasePath(1, 1), 0);
    EXPECT_EQ(table.GetCount(), 1);
    EXPECT_EQ(folders.GetUseCount(0), 0);
    EXPECT_EQ(folders.GetCount(), 2);
    EXPECT_EQ(folders.GetFreeCount(), 1);
    EXPECT_EQ(pathOf(table, 0), "e\\new.png");
    ASSERT_EQ(add(table, "f\\only.gif"), 1);
    EXPECT_EQ(folders.GetFreeCount(), 0) << "the new folder takes the free slot";
    EXPECT_EQ(table.ReleasePath(1, 1), 0);
    EXPECT_EQ(folders.GetCount(), 2);
    EXPECT_EQ(folders.GetFreeCount(), 1);
    EXPECT_EQ(pathOf(table, 0), "e\\new.png");

    // A saturated count pins the entry for good.
    EXPECT_EQ(table.AddUses(0, 0xFFFE), 0xFFFF);
    EXPECT_EQ(table.ReleasePath(0, 1), 0xFFFF);
    EXPECT_EQ(table.GetUseCount(0), 0xFFFF);
}

TEST(FileNameTableTest, ReplacingMovesTheEntryAndFollowsTheExtension) {
    StringPool folders;
    FileNameTable table(folders);
    ASSERT_EQ(add(table, "old\\a.gif"), 0);
    ASSERT_EQ(add(table, "keep\\b.gif"), 1);
    table.SetTag(0, 7);
    EXPECT_EQ(replace(table, 0, "New\\A.PNG", 0), 1);
    EXPECT_EQ(pathOf(table, 0), "new\\a.png");
    EXPECT_EQ(table.GetMediaType(0), 10);
    EXPECT_EQ(table.GetTag(0), 7);
    EXPECT_EQ(find(table, "new\\a.png"), 0);
    EXPECT_EQ(folders.GetUseCount(0), 0) << "the old folder's use is given up";
    EXPECT_EQ(folderOf(folders, 0), "") << "and with its last file it goes";
    EXPECT_EQ(folders.GetUseCount(table.GetFolderIndex(0)), 1);

    // Within the same folder nothing moves in the pool.
    EXPECT_EQ(replace(table, 1, "keep\\c.bmp", 0), 1);
    EXPECT_EQ(folders.GetUseCount(table.GetFolderIndex(1)), 1);
    EXPECT_EQ(replace(table, 5, "x.gif", 0), 0);
}

TEST(FileNameTableTest, RenamingAFolderTakesItsEntriesAndNeverDuplicatesAFolder) {
    StringPool folders;
    FileNameTable table(folders);
    ASSERT_EQ(add(table, "a\\one.gif"), 0);
    ASSERT_EQ(add(table, "a\\two.gif"), 1);
    ASSERT_EQ(add(table, "b\\three.gif"), 2);
    EXPECT_EQ(replace(table, 0, "c\\uno.gif", 1), 1);
    EXPECT_EQ(pathOf(table, 0), "c\\uno.gif");
    EXPECT_EQ(pathOf(table, 1), "c\\two.gif") << "a sibling follows its folder";
    EXPECT_EQ(folders.GetCount(), 2);

    // Renaming to a folder already in the pool merges the two.
    EXPECT_EQ(replace(table, 1, "b\\two.gif", 1), 1);
    EXPECT_EQ(pathOf(table, 0), "b\\uno.gif");
    EXPECT_EQ(pathOf(table, 1), "b\\two.gif");
    EXPECT_EQ(pathOf(table, 2), "b\\three.gif");
    const uint16_t b = table.GetFolderIndex(2);
    EXPECT_EQ(table.GetFolderIndex(0), b);
    EXPECT_EQ(folders.GetUseCount(b), 3);
    int named = 0;
    for (uint16_t j = 0; j < folders.GetCount(); ++j) named += folderOf(folders, j) == "b\\";
    EXPECT_EQ(named, 1);
    EXPECT_EQ(find(table, "b\\uno.gif"), 0);
}

TEST(FileNameTableTest, AFailedAddLeavesTheTableAndTheFolderPoolUnchanged) {
    for (int failing : {1, 2}) {  // 1: the new folder's block, 2: the table's block
        SCOPED_TRACE(failing);
        StringPool folders;
        FileNameTable table(folders);
        ASSERT_EQ(add(table, "first.gif"), 0);
        const Bytes before = saved(table);
        uint16_t result = 0;
        {
            GlobalAllocFailure refuse(failing);
            result = add(table, "some\\long\\folder\\" + std::string(200, 'n') + ".gif");
            EXPECT_EQ(refuse.failures(), 1);
        }
        EXPECT_EQ(result, 0xFFFE);
        EXPECT_EQ(saved(table), before);
        EXPECT_EQ(add(table, "some\\x.gif"), 1) << "usable afterwards";
    }
}

TEST(FileNameTableTest, RoundTripsThroughTheDocumentRecords) {
    vazazi_test::ScratchFolder scratch;
    const std::string path = scratch.windows("doc.lcn");
    StringPool folders;
    FileNameTable table(folders);
    for (const char* p : {"pictures\\a.gif", "pictures\\b.jpg", "sounds\\z.wav", "top.bmp"}) add(table, p);
    add(table, "top.bmp");
    table.SetTag(2, 0x1234);
    table.ReleasePath(1, 0);
    const Bytes expected = saved(table);
    EXPECT_EQ(table.SaveToDocument(1, nullptr, nullptr), 0) << "no open document";
    {
        VazaziFile file;
        ASSERT_EQ(file.Create(path.c_str(), 1), 0);
        for (int kind : {1, 3, 4}) ASSERT_EQ(table.SaveToDocument(kind, nullptr, &file), 1);
        EXPECT_EQ(table.SaveToDocument(2, nullptr, &file), 0) << "no record for kind 2";
    }
    VazaziFile file;
    ASSERT_EQ(file.Open(path.c_str(), false), 1);
    EXPECT_EQ(FileNameTable::RecordTypeOfKind(3), 10);
    for (int kind : {1, 3, 4}) {
        SCOPED_TRACE(kind);
        StringPool backFolders;
        FileNameTable back(backFolders);
        ASSERT_EQ(back.LoadFromDocument(kind, nullptr, &file), 1);
        EXPECT_EQ(saved(back), expected);
        EXPECT_EQ(pathOf(back, 3), "top.bmp");
        EXPECT_EQ(back.GetUseCount(3), 2);
        EXPECT_EQ(back.GetTag(2), 0x1234);
        EXPECT_EQ(find(back, "sounds\\z.wav"), 2);
        EXPECT_EQ(add(back, "pictures\\c.png"), 1) << "the freed slot is known after loading";
    }
    StringPool otherFolders;
    FileNameTable other(otherFolders);
    EXPECT_EQ(other.LoadFromDocument(2, nullptr, &file), 0);
}

// A folder pool {"d\"} followed by a table {"a.gif" in folder 0, media type 2}.
const Bytes kStored = {
    0x01, 0x00, 0x00, 0x00, 0x06, 0x00,        // pool: count 1, free 0, size 6
    0x01, 0x02, 0x01, 0x00, 'd', '\\',         //   used, length 2, uses 1; "d\"
    0x01, 0x00, 0x00, 0x00, 0x0E, 0x00,        // table: count 1, free 0, size 14
    0x01, 0x05, 0x01, 0x00, 0x00, 0x00, 0x02,  //   used, length 5, uses 1, folder 0, type 2
    0x00, 0x00, 'a', '.', 'g', 'i', 'f',       //   tag 0; "a.gif"
};

TEST(FileNameTableTest, RefusesDamagedStoredForms) {
    {
        StringPool folders;
        FileNameTable table(folders);
        ASSERT_EQ(load(table, kStored), 1);
        EXPECT_EQ(pathOf(table, 0), "d\\a.gif");
    }
    struct Damage {
        const char* what;
        size_t at;
        uint8_t value;
    };
    const Damage damages[] = {
        {"folder index past the pool", 22, 0x01},
        {"folder index far past the pool", 23, 0xFF},
        {"table count makes headers outgrow the block", 12, 0x02},
        {"table name longer than the block", 19, 0x06},
        {"table used byte neither 0 nor 1", 18, 0x02},
        {"free table entry with a length", 18, 0x00},
        {"pool size past the data", 4, 0x40},
        {"pool count makes headers outgrow the block", 0, 0x02},
        {"pool string shorter than its block", 7, 0x01},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        Bytes bytes = kStored;
        bytes[d.at] = d.value;
        StringPool folders;
        FileNameTable table(folders);
        add(table, "stale.gif");
        EXPECT_EQ(load(table, bytes), 0);
        EXPECT_EQ(table.GetCount(), 0);
        EXPECT_EQ(folders.GetCount(), 0);
    }
    for (size_t cut = 0; cut < kStored.size(); ++cut) {
        StringPool folders;
        FileNameTable table(folders);
        EXPECT_EQ(load(table, Bytes(kStored.begin(), kStored.begin() + cut)), 0) << "cut at " << cut;
    }
}

TEST(FileNameTableTest, ImageTablesKeepAHandleBesideEachEntry) {
    StringPool folders;
    ImageFileTable images(folders);
    EXPECT_EQ(images.GetHeaderSize(), 13);
    ASSERT_EQ(add(images, "p\\a.gif"), 0);
    ASSERT_EQ(add(images, "p\\b.gif"), 1);
    EXPECT_EQ(images.GetImage(0), 0u);
    images.SetImage(0, 0xA1B2C3D4u);
    images.SetTag(0, 0x0102);
    images.SetTag(2, 9);  // ignored
    EXPECT_EQ(images.GetImage(0), 0xA1B2C3D4u);
    EXPECT_EQ(images.GetImage(1), 0u);
    EXPECT_EQ(images.GetImage(-1), 0u);
    EXPECT_EQ(images.GetImage(2), 0u);
    EXPECT_EQ(images.GetTag(0), 0x0102);
    EXPECT_EQ(images.GetUseCount(0), 1);
    EXPECT_EQ(images.GetUseCount(2), 0);
    EXPECT_EQ(pathOf(images, 1), "p\\b.gif") << "strings start after the longer headers";
    EXPECT_EQ(images.ReleasePath(0, 1), 0);
    EXPECT_EQ(images.GetImage(0), 0u) << "entry 1 moved down with its own handle";
}

}  // namespace
