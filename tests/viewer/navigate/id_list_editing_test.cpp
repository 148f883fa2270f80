// Editing the open document's id list: every change is stored at once in its properties record,
// which a fresh reader of the file then sees; names are found among the listed pages only.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "winplat/byte_reader.h"
#include "written_documents.h"

namespace {

using lect32::IdList;
using lect32::VazaziFile;

struct StoredList {
    std::vector<uint16_t> ids;
    int16_t current = 0;
    int16_t startPage = 0;
    bool operator==(const StoredList&) const = default;
};

class IdListEditingTest : public LinkedSetTest {
protected:
    IdListEditingTest() { openWritable = true; }

    // The list as the record in the file holds it, read field by field from the layout (the list
    // begins at 229), apart from the objects under test.
    StoredList stored() {
        VazaziFile file;
        EXPECT_EQ(file.Open(path("alfa").c_str(), false), 1);
        lect32::MemReader reader;
        EXPECT_EQ(file.ReadRecordByType(3, 0, reader), 1);
        winplat::ByteReader in(reader.data(), reader.size());
        StoredList list;
        list.startPage = static_cast<int16_t>(in.u16());
        in.skip(227);
        const uint16_t count = in.u16();
        list.current = static_cast<int16_t>(in.u16());
        for (uint16_t i = 0; i < count; ++i) list.ids.push_back(in.u16());
        EXPECT_TRUE(in.ok());
        return list;
    }

    IdList& ids() { return objects.idList; }
};

TEST_F(IdListEditingTest, AddingAListedIdGivesItsIndexAndStoresNothing) {
    ASSERT_EQ((stored()), (StoredList{{3, 7}, 7, 2}));
    objects.properties.StartPage = 40;  // would reach the file with any store
    EXPECT_EQ(ids().Add(3), 0);
    EXPECT_EQ(ids().Add(7), 1);
    EXPECT_EQ((stored()), (StoredList{{3, 7}, 7, 2}));
}

TEST_F(IdListEditingTest, AddingANewIdStoresTheRecord) {
    EXPECT_EQ(ids().Add(0), 1);
    EXPECT_EQ(ids().Add(32767), 1);
    EXPECT_EQ((stored()), (StoredList{{3, 7, 0, 32767}, 7, 2}));
    EXPECT_EQ(ids().Add(-1), -1);
    EXPECT_EQ(ids().GetCount(), 4);
}

TEST_F(IdListEditingTest, RemovingStoresTheRecordAndAnAbsentIdGivesMinusOne) {
    EXPECT_EQ(ids().Remove(5), -1);
    EXPECT_EQ(ids().Remove(3), 1);
    EXPECT_EQ((stored()), (StoredList{{7}, 7, 2}));
    EXPECT_EQ(ids().Remove(3), -1);
}

TEST_F(IdListEditingTest, CurrentIdIsStoredEvenOutsideTheList) {
    EXPECT_EQ(ids().SetCurrent(4), 1);
    EXPECT_EQ((stored()), (StoredList{{3, 7}, 4, 2}));
    EXPECT_EQ(ids().SetCurrent(-1), 1);
    EXPECT_EQ(stored().current, -1);
}

TEST_F(IdListEditingTest, NameMustMatchExactlyAmongTheListedPages) {
    const std::vector<std::pair<std::string, int16_t>> cases{
        {"Sedm\xE1", 7}, {"T\xF8" "et\xED", 3},
        {"Sedm", -1},         // a prefix
        {"sedm\xE1", -1},     // other case
        {"Sedm\xE1 ", -1},    // longer
        {"Alfa", -1},         // a page that is not listed
        {"", -1}};
    for (const auto& [name, id] : cases) EXPECT_EQ(ids().FindByName(name.c_str()), id) << name;
}

TEST_F(IdListEditingTest, ReadOnlyDocumentRefusesTheChange) {
    ASSERT_EQ(objects.openDocument.Open(path("alfa").c_str(), false), 1);
    EXPECT_EQ(ids().Add(9), 0);
    EXPECT_EQ((stored()), (StoredList{{3, 7}, 7, 2}));
}

}  // namespace
