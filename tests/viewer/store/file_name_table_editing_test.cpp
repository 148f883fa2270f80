#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "store/document_paths.h"
#include "store/document_tables.h"
#include "store/file_name_table.h"
#include "vazazi_test_support.h"

namespace {

using lect32::FileNameTable;
using lect32::StringPool;

uint16_t add(FileNameTable& table, std::string path) { return table.AddPath(path.data()); }
uint16_t addNew(FileNameTable& table, std::string path) { return table.AddPathNew(path.data()); }
uint16_t find(FileNameTable& table, std::string path) { return table.FindPath(path.data()); }

std::string pathOf(FileNameTable& table, int i) {
    char buffer[FileNameTable::kPathBuffer];
    table.GetPath(i, buffer);
    return buffer;
}

TEST(FileNameTableEditing, AddPathNewKeepsEqualPathsApartAndFindGivesTheFirst) {
    StringPool folders;
    FileNameTable table(folders);
    ASSERT_EQ(add(table, "c:\\p\\a.gif"), 0);
    EXPECT_EQ(addNew(table, "C:\\P\\A.GIF"), 1);
    EXPECT_EQ(add(table, "c:\\p\\a.gif"), 0) << "sharing finds the first";
    EXPECT_EQ(find(table, "c:\\p\\a.gif"), 0);
    EXPECT_EQ(table.GetUseCount(0), 2);
    EXPECT_EQ(table.GetUseCount(1), 1);
    EXPECT_EQ(folders.GetCount(), 1);
    EXPECT_EQ(folders.GetUseCount(0), 3) << "one folder use per reference";
    EXPECT_EQ(addNew(table, ""), 0xFFFF);
    EXPECT_EQ(addNew(table, "c:\\p\\"), 0xFFFF);
    EXPECT_EQ(table.GetCount(), 2);
}

TEST(FileNameTableEditing, CountsFolderEntriesAndClearsTagsAndUses) {
    StringPool folders;
    FileNameTable table(folders);
    add(table, "\\a\\1.gif");
    add(table, "\\b\\2.gif");
    add(table, "\\a\\3.gif");
    const uint16_t gone = add(table, "\\a\\4.gif");
    table.ReleasePath(gone, 0);
    const uint16_t a = table.GetFolderIndex(0);
    const uint16_t b = table.GetFolderIndex(1);
    EXPECT_EQ(table.CountFolderEntries(a), 2) << "a free slot does not count";
    EXPECT_EQ(table.CountFolderEntries(b), 1);
    EXPECT_EQ(table.CountFolderEntries(0x7777), 0);

    for (uint16_t i = 0; i < 3; ++i) table.SetTag(i, static_cast<uint16_t>(0x100 + i));
    table.ClearTags();
    table.ClearUseCounts();
    for (uint16_t i = 0; i < 3; ++i) {
        EXPECT_EQ(table.GetTag(i), 0) << i;
        EXPECT_EQ(table.GetUseCount(i), 0) << i;
        EXPECT_EQ(pathOf(table, i).empty(), false) << "entries stay";
    }
}

TEST(FileNameTableEditing, RecountSetsEachFolderToItsEntriesUses) {
    StringPool folders;
    FileNameTable table(folders);
    add(table, "\\two\\x.gif");
    add(table, "\\two\\x.gif");
    add(table, "\\two\\y.gif");
    const uint16_t pinned = add(table, "\\pinned\\z.gif");
    table.AddUses(pinned, 0xFFFF);
    const uint16_t cleared = add(table, "\\cleared\\w.gif");
    char stray[] = "\\stray\\";
    const uint16_t strayFolder = folders.Acquire(stray);
    const uint16_t two = table.GetFolderIndex(0);
    // Counts out of step on purpose.
    folders.AddUses(two, 40);
    table.ClearUseCounts();
    table.AddUses(0, 2);
    table.AddUses(1, 1);
    table.AddUses(pinned, 0xFFFF);

    table.RecountFolders();
    EXPECT_EQ(folders.GetUseCount(two), 3);
    EXPECT_EQ(folders.GetUseCount(table.GetFolderIndex(pinned)), 0xFFFF);
    const uint16_t clearedFolder = table.GetFolderIndex(cleared);
    EXPECT_EQ(folders.GetUseCount(clearedFolder), 0);
    char name[256];
    EXPECT_EQ(folders.GetString(clearedFolder, name), 9) << "still named by an entry: kept";
    EXPECT_EQ(folders.GetString(strayFolder, name), 0) << "named by nothing: a free slot";
    EXPECT_EQ(folders.GetCount(), 4) << "indexes of the others stay";
    EXPECT_EQ(pathOf(table, 1), "\\two\\y.gif");
}

TEST(FileNameTableEditing, PurgeFreesUnusedEntriesAndTheirFolders) {
    StringPool folders;
    FileNameTable table(folders);
    add(table, "\\kept\\a.gif");
    add(table, "\\kept\\b.gif");
    add(table, "\\lost\\c.gif");
    add(table, "\\kept\\d.gif");
    table.ClearUseCounts();
    table.AddUses(0, 1);
    table.AddUses(3, 5);
    EXPECT_EQ(table.PurgeUnused(), 2);
    EXPECT_EQ(table.GetCount(), 4);
    EXPECT_EQ(pathOf(table, 0), "\\kept\\a.gif");
    EXPECT_EQ(pathOf(table, 1), "");
    EXPECT_EQ(pathOf(table, 2), "");
    EXPECT_EQ(pathOf(table, 3), "\\kept\\d.gif");
    EXPECT_EQ(folders.GetUseCount(table.GetFolderIndex(0)), 6);
    EXPECT_EQ(folders.GetFreeCount(), 1) << "the folder of c went with it";
    EXPECT_EQ(find(table, "\\kept\\b.gif"), 0xFFFF);
    EXPECT_EQ(add(table, "\\kept\\e.gif"), 1) << "free slots are reused";
    EXPECT_EQ(table.PurgeUnused(), 0);
}

TEST(FileNameTableEditing, HandsOverEachPathInUseWithItsIndex) {
    StringPool folders;
    FileNameTable table(folders);
    add(table, "first.gif");
    add(table, "\\d\\second.gif");
    add(table, "\\d\\third.gif");
    table.ReleasePath(1, 0);
    std::vector<std::pair<std::string, uint16_t>> seen;
    table.ForEachPathInUse([&](const char* path, uint16_t index) { seen.emplace_back(path, index); });
    const std::vector<std::pair<std::string, uint16_t>> expected = {{"first.gif", 0}, {"\\d\\third.gif", 2}};
    EXPECT_EQ(seen, expected);
}

TEST(FileNameTableEditing, LongFormNamesTheFileOnDiskRelativeToTheDocument) {
    vazazi_test::ScratchFolder scratch;
    for (const char* file : {"Doc/Pictures/Photo.JPG", "Doc/Beside.Gif", "Other/Away.wav"}) {
        std::filesystem::create_directories(scratch.host(file).parent_path());
        std::ofstream(scratch.host(file)) << "x";
    }
    const std::string doc = scratch.windows("Doc");
    const std::string other = scratch.windows("Other");
    lect32::SetDocumentPathForPaths((doc + "\\Book.vzz").c_str());
    StringPool folders;
    FileNameTable table(folders);
    struct Case {
        std::string stored;
        std::string expected;
    };
    const Case cases[] = {
        {"\\pictures\\extra\\..\\photo.jpg", "\\pictures\\photo.jpg"},
        {doc + "\\PICTURES\\.\\photo.jpg", "\\pictures\\photo.jpg"},
        {doc + "\\beside.gif", "\\beside.gif"},
        {other + "\\sub\\..\\away.wav", other + "\\away.wav"},
        {"\\pictures\\..\\missing.gif", "\\pictures\\..\\missing.gif"},
        {doc + "\\gone\\..\\x.gif", doc + "\\gone\\..\\x.gif"},
    };
    std::vector<uint16_t> entries;
    for (const Case& c : cases) entries.push_back(add(table, c.stored));
    table.AddUses(entries[0], 2);
    EXPECT_EQ(table.ConvertToLongPaths((doc + "\\").c_str()), 4);
    lect32::SetDocumentPathForPaths(nullptr);
    for (size_t i = 0; i < std::size(cases); ++i) {
        std::string expected = cases[i].expected;
        for (char& ch : expected) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(pathOf(table, entries[i]), expected) << cases[i].stored;
    }
    // The two moved into \pictures\ hold 3 + 1 uses of it.
    EXPECT_EQ(folders.GetUseCount(table.GetFolderIndex(entries[0])), 4);
    EXPECT_EQ(table.GetFolderIndex(entries[0]), table.GetFolderIndex(entries[1]));
    EXPECT_EQ(find(table, "\\pictures\\photo.jpg"), entries[0]);
}

TEST(FileNameTableEditing, EntryHeaderOnlyWhileLocked) {
    StringPool folders;
    FileNameTable table(folders);
    EXPECT_EQ(table.EntryHeader(0), nullptr);
    add(table, "\\a\\one.gif");
    add(table, "\\a\\two.png");
    EXPECT_EQ(table.EntryHeader(1), nullptr) << "not locked";
    ASSERT_EQ(table.Lock(), 1);
    uint8_t* first = table.EntryHeader(0);
    uint8_t* second = table.EntryHeader(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(second - first, 9);
    EXPECT_EQ(second[6], 10) << "media type of png";
    EXPECT_EQ(table.EntryHeader(2), nullptr);
    second[6] = 2;  // a direct write is what a lookup then sees
    table.Unlock();
    EXPECT_EQ(find(table, "\\a\\two.png"), 0xFFFF);
}

TEST(DocumentTablesEntry, PointsAtEntryNOfEachTable) {
    char picture[] = "\\obr\\a.gif";
    char document[] = "\\txt\\b.lcn";
    const uint16_t p = lect32::pictureCache().AddPath(picture);
    const uint16_t d = lect32::documentFileNames().AddPath(document);
    ASSERT_LT(p, 0xFFFD);
    ASSERT_LT(d, 0xFFFD);
    EXPECT_EQ(lect32::pictureCacheEntry(p), nullptr);
    ASSERT_EQ(lect32::pictureCache().Lock(), 1);
    ASSERT_EQ(lect32::documentFileNames().Lock(), 1);
    uint8_t* image = lect32::pictureCacheEntry(p);
    uint8_t* file = lect32::documentFileNameEntry(d);
    ASSERT_NE(image, nullptr);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(image[1], 5) << "name length";
    EXPECT_EQ(file[1], 5);
    if (p > 0) {
        EXPECT_EQ(image - lect32::pictureCacheEntry(static_cast<uint16_t>(p - 1)), 13);
    }
    EXPECT_EQ(lect32::documentFileNameEntry(lect32::documentFileNames().GetCount()), nullptr);
    lect32::pictureCache().Unlock();
    lect32::documentFileNames().Unlock();
    lect32::pictureCache().ReleasePath(p, 1);
    lect32::documentFileNames().ReleasePath(d, 1);
}

// 100 names in each of 200 folders: every name is in many folders, so only the folder tells the
// entries apart. Short names keep 20,000 entries inside one block.
TEST(FileNameTableEditing, TwentyThousandPathsEachFoundAtItsFirstEntry) {
    StringPool folders;
    FileNameTable table(folders);
    auto pathAt = [](int folder, int name) {
        return "\\" + std::to_string(folder) + "\\" + char('a' + name / 10) + char('a' + name % 10) + ".g";
    };
    std::map<std::string, uint16_t> first;
    for (int f = 0; f < 200; ++f) {
        for (int n = 0; n < 100; ++n) {
            const std::string path = pathAt(f, n);
            const uint16_t entry = add(table, path);
            ASSERT_LT(entry, 0xFFFD) << path;
            first.emplace(path, entry);
        }
    }
    ASSERT_EQ(table.GetCount(), 20000);
    // Free slots, one re-added elsewhere, an equal path added apart and a shared add.
    table.ReleasePath(first[pathAt(3, 7)], 0);
    const uint16_t freed = first[pathAt(150, 99)];
    table.ReleasePath(freed, 0);
    EXPECT_EQ(add(table, pathAt(3, 7) + "x"), first[pathAt(3, 7)]);
    first[pathAt(3, 7) + "x"] = first[pathAt(3, 7)];
    first.erase(pathAt(3, 7));
    first.erase(pathAt(150, 99));
    EXPECT_EQ(addNew(table, pathAt(9, 9)), freed) << "the other free slot";
    EXPECT_EQ(add(table, pathAt(9, 9)), first[pathAt(9, 9)]);
    for (int f = 0; f < 200; ++f) {
        for (int n = 0; n < 100; ++n) {
            const std::string path = pathAt(f, n);
            const auto it = first.find(path);
            EXPECT_EQ(find(table, path), it == first.end() ? 0xFFFF : it->second) << path;
        }
    }
    EXPECT_EQ(find(table, pathAt(3, 7) + "x"), first[pathAt(3, 7) + "x"]);
    EXPECT_EQ(find(table, "\\200\\aa.g"), 0xFFFF) << "unknown folder";
    EXPECT_EQ(add(table, "\\0\\zz.g"), 20000);
    EXPECT_EQ(find(table, "\\0\\zz.g"), 20000);
    // Removing shifts every later entry; lookups follow.
    table.ReleasePath(0, 1);
    EXPECT_EQ(find(table, pathAt(199, 99)), first[pathAt(199, 99)] - 1);
    EXPECT_EQ(find(table, pathAt(0, 0)), 0xFFFF);
}

}  // namespace
