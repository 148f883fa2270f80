// A table's stored form: read from what the document writer writes, refused whole when damaged
// (cut short, lengths past the stream, records that are not 36 bytes, more cells than a table
// holds, cell texts whose rows run past them), and mended where a reader can stand the grid
// (spans cut at the edge, owners that do not cover their cell dropped, negative sizes raised to
// 0). Copies carry every byte.
#include <gtest/gtest.h>

#include "page/table_object.h"
#include "store/mem_reader.h"
#include "winplat/testing.h"
#include "table_test_support.h"

namespace lect32 {
namespace {

using table_test::Bytes;
using table_test::described;
using table_test::readTable;
using table_test::writtenTables;

const std::string kTwoByTwo = described("2", "2", R"(
    {"text": "a", "width": 30, "contentHeight": 12, "borders": [[1, 2], [3, 4], [5, 6], [7, 8]]},
    {"text": "b", "width": 50, "valign": 1, "margins": [4, 5, 6, 7], "background": 9, "picture": 3},
    {"text": "c"}, {"text": "d", "height": 40})");

TEST(TableReadTest, ReadsTheWritersGridCellByCell) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({kTwoByTwo})[0];
    ASSERT_FALSE(stored.empty());
    TableObject table;
    winplat::ByteReader in(stored);
    ASSERT_TRUE(table.Read(in));
    EXPECT_EQ(in.position(), stored.size()) << "the table is read to its end and no further";
    EXPECT_EQ(table.Rows(), 2);
    EXPECT_EQ(table.Columns(), 2);
    const TableCell a = table.Cell(0);
    EXPECT_EQ(a.width, 30);
    EXPECT_EQ(a.contentHeight, 12);
    EXPECT_EQ(a.borders[kSideLeft], (CellBorder{1, 2}));
    EXPECT_EQ(a.borders[kSideBottom], (CellBorder{7, 8}));
    const TableCell b = table.Cell(1);
    EXPECT_EQ(b.alignment, 1);
    EXPECT_EQ(b.margins, (std::array<int16_t, 4>{4, 5, 6, 7}));
    EXPECT_EQ(b.background, 9);
    EXPECT_EQ(b.picture, 3);
    EXPECT_EQ(table.Cell(3).height, 40);
    EXPECT_FALSE(table.Cell(2).Covered());
    EXPECT_NE(table.CellText(0), table.CellText(1)) << "each cell keeps its own text record";
}

TEST(TableReadTest, AMemReaderMovesOnByTheTable) {
    REQUIRE_DOCUMENT_WRITER();
    Bytes stored = writtenTables({kTwoByTwo})[0];
    ASSERT_FALSE(stored.empty());
    stored.push_back(0x5A);  // what follows the table in a page record
    MemReader reader;
    ASSERT_TRUE(reader.LoadFromMemory(stored.data(), static_cast<uint32_t>(stored.size())));
    TableObject table;
    ASSERT_TRUE(table.Read(reader));
    uint8_t next = 0;
    reader.ReadByte(next);
    EXPECT_EQ(next, 0x5A);
}

// Each damage on its own; every one refuses the whole table, leaves it empty and says why.
TEST(TableReadTest, DamagedStreamsAreRefusedWhole) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes whole = writtenTables({kTwoByTwo})[0];
    ASSERT_FALSE(whole.empty());
    const size_t n = whole.size();
    struct Case {
        std::string what;
        std::string more;
        std::string why;
        bool extraByte = false;  // one byte more after the table, as a page record goes on
    };
    const std::vector<Case> cases = {
        {"cut inside the size", R"("cut": 3)", "the stream ends before the table's size"},
        {"cut before the first cell", R"("cut": 5)", "more cells than the stream holds"},
        {"cut inside the first cell's text", R"("cut": 9)", "more cells than the stream holds"},
        {"cut inside the last record", R"("cut": )" + std::to_string(n - 1), "a cell's record runs past the stream"},
        {"a text length past the stream", R"("patch": [["cell3.text.length", 65535]])", "a cell's text runs past the stream"},
        {"a record of 35 bytes", R"("patch": [["cell0.record.length", 35]])", "a cell record that is not 36 bytes"},
        {"a record of 37 bytes", R"("patch": [["cell2.record.length", 37]])", "a cell record that is not 36 bytes"},
        {"the last record of 37 bytes, with a byte to take", R"("patch": [["cell3.record.length", 37]])",
         "a cell record that is not 36 bytes", true},
        {"no rows", R"("patch": [["rows", 0]])", "a table without cells"},
        {"no columns", R"("patch": [["columns", 0]])", "a table without cells"},
        {"rows as a signed -1", R"("patch": [["rows", 65535]])", "more cells than a table holds"},
        {"a row more than the stream holds", R"("patch": [["rows", 3]])", "a cell's text runs past the stream"},
        {"a cell text whose row runs past it", R"("patch": [["cell1.text.row0.text.length", 4000]])",
         "a cell's text record is damaged"},
    };
    std::vector<std::string> descriptions;
    for (const Case& c : cases) descriptions.push_back(kTwoByTwo.substr(0, kTwoByTwo.size() - 1) + ", " + c.more + "}");
    const std::vector<Bytes> damaged = writtenTables(descriptions);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        ASSERT_FALSE(damaged[i].empty()) << "the writer made no fixture";
        ASSERT_NE(damaged[i], whole);
        Bytes stream = damaged[i];
        if (cases[i].extraByte) stream.push_back(0);
        winplat::testing::DebugCapture log;
        TableObject table;
        EXPECT_FALSE(readTable(table, stream));
        EXPECT_TRUE(log.contains("refused: " + cases[i].why)) << log.text();
        EXPECT_EQ(table.CellCount(), 0);
        const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
        EXPECT_EQ(table.Layout(dc.get()), 0) << "an empty table lays out to nothing";
        EXPECT_EQ(table.GetTotalSize(true), (TableSize{0, 0}));
    }
}

// A refused table read over a good one leaves nothing of the good one.
TEST(TableReadTest, ARefusedReadEmptiesATableThatHeldCells) {
    REQUIRE_DOCUMENT_WRITER();
    const std::vector<Bytes> stored = writtenTables({kTwoByTwo, kTwoByTwo.substr(0, kTwoByTwo.size() - 1) + R"(, "cut": 60})"});
    TableObject table;
    ASSERT_TRUE(readTable(table, stored[0]));
    EXPECT_FALSE(readTable(table, stored[1]));
    EXPECT_EQ(table.CellCount(), 0);
    EXPECT_TRUE(table.CellText(0).empty());
}

// Cell counts around the most a table holds, with empty cell texts: 16,383 cells read, 16,384
// do not, however the product is made.
TEST(TableReadTest, CellCountBoundIsTheItemStoresSize) {
    auto stream = [](int rows, int columns) {
        page_test::Fields f;
        f.u8(0).u16(rows).u16(columns);
        const auto record = TableCell{}.Encode();
        for (int n = 0; n < rows * columns; ++n) f.u16(0).u16(TableCell::kSize).raw(Bytes(record.begin(), record.end()));
        return f.bytes;
    };
    struct Case {
        int rows, columns;
        bool reads;
    };
    for (const Case c : {Case{1, 16383, true}, Case{3, 5461, true}, Case{1, 16384, false}, Case{128, 128, false}}) {
        SCOPED_TRACE(std::to_string(c.rows) + " x " + std::to_string(c.columns));
        winplat::testing::DebugCapture log;
        TableObject table;
        EXPECT_EQ(readTable(table, stream(c.rows, c.columns)), c.reads);
        EXPECT_EQ(table.CellCount(), c.reads ? c.rows * c.columns : 0);
        // The table's own bound refuses, before its stores are filled to theirs.
        EXPECT_EQ(log.contains("refused: more cells than a table holds"), !c.reads) << log.text();
        EXPECT_FALSE(log.contains("the most a store holds")) << log.text();
    }
}

// Records a grid cannot stand are mended as the table reads them.
TEST(TableReadTest, SpansOwnersAndNegativeSizesAreMended) {
    REQUIRE_DOCUMENT_WRITER();
    // A 3 x 3 grid; each case patches fields of the plain one.
    const std::string plain = described("3", "3", R"({}, {}, {}, {}, {}, {}, {}, {}, {})");
    struct Expect {
        int cell;
        uint16_t columnSpan, rowSpan, owner;
    };
    struct Case {
        std::string what;
        std::string patch;
        std::vector<Expect> expect;
    };
    constexpr uint16_t none = TableCell::kNoOwner;
    const std::vector<Case> cases = {
        {"a span past the right edge is cut to it", R"([["cell1.colspan", 5]])", {{1, 2, 1, none}}},
        {"a span reaching the edge stays", R"([["cell1.colspan", 2]])", {{1, 2, 1, none}}},
        {"a span past the bottom is cut to it", R"([["cell4.rowspan", 40]])", {{4, 1, 2, none}}},
        {"a span of 0 is one cell", R"([["cell0.colspan", 0], ["cell0.rowspan", 0]])", {{0, 1, 1, none}}},
        {"an owner covering the cell stays", R"([["cell0.colspan", 2], ["cell1.owner", 0]])", {{1, 1, 1, 0}}},
        {"an owner past the grid is dropped", R"([["cell1.owner", 9], ["cell1.colspan", 3]])", {{1, 1, 1, none}}},
        {"an owner that does not span the cell is dropped", R"([["cell1.owner", 0]])", {{1, 1, 1, none}}},
        {"an owner whose rows end above the cell is dropped", R"([["cell0.colspan", 2], ["cell4.owner", 0]])",
         {{4, 1, 1, none}}},
        {"an owner spanning down to the cell stays", R"([["cell0.rowspan", 2], ["cell3.owner", 0]])", {{3, 1, 1, 0}}},
        {"an owner of itself is dropped", R"([["cell4.owner", 4]])", {{4, 1, 1, none}}},
        {"an owner that is covered is dropped",
         R"([["cell0.colspan", 3], ["cell1.owner", 0], ["cell2.owner", 1]])", {{1, 1, 1, 0}, {2, 1, 1, none}}},
        {"an owner above and left covering the cell stays",
         R"([["cell0.colspan", 2], ["cell0.rowspan", 2], ["cell4.owner", 0]])", {{0, 2, 2, none}, {4, 1, 1, 0}}},
        {"an owner left of the span's columns is dropped",
         R"([["cell1.colspan", 2], ["cell1.rowspan", 2], ["cell3.owner", 1]])", {{3, 1, 1, none}}},
    };
    std::vector<std::string> descriptions;
    for (const Case& c : cases) descriptions.push_back(plain.substr(0, plain.size() - 1) + R"(, "patch": )" + c.patch + "}");
    const std::vector<Bytes> stored = writtenTables(descriptions);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        ASSERT_FALSE(stored[i].empty());
        TableObject table;
        ASSERT_TRUE(readTable(table, stored[i]));
        for (const Expect& e : cases[i].expect) {
            const TableCell c = table.Cell(e.cell);
            EXPECT_EQ(c.columnSpan, e.columnSpan) << "cell " << e.cell;
            EXPECT_EQ(c.rowSpan, e.rowSpan) << "cell " << e.cell;
            EXPECT_EQ(c.owner, e.owner) << "cell " << e.cell;
        }
    }
}

TEST(TableReadTest, NegativeSizesBecomeZero) {
    REQUIRE_DOCUMENT_WRITER();
    const std::string plain = described("1", "2", R"({"width": -7, "height": -1, "contentHeight": -30}, {"width": 0, "height": 5})");
    const Bytes stored = writtenTables({plain})[0];
    TableObject table;
    ASSERT_TRUE(readTable(table, stored));
    EXPECT_EQ(table.Cell(0).width, 0);
    EXPECT_EQ(table.Cell(0).height, 0);
    EXPECT_EQ(table.Cell(0).contentHeight, 0);
    EXPECT_EQ(table.Cell(1).height, 5) << "a positive size is kept";
    EXPECT_EQ(table.GetTotalSize(false), (TableSize{0, 0}));
}

// Feature bits come from the page objects embedded in the cells' texts: 1 any object, 4 a
// button, 8 a sound or video.
TEST(TableReadTest, FeatureFlagsGatherTheCellsObjectKinds) {
    REQUIRE_DOCUMENT_WRITER();
    const std::string sound = R"({"kind": "sound", "picture": 0, "width": 32, "height": 32, "media": [1, 0, 0]})";
    const std::string button = R"({"kind": "button", "width": 20, "height": 20, "states": [1, 2]})";
    struct Case {
        std::string what;
        std::string cells;
        uint32_t flags;
    };
    const std::vector<Case> cases = {
        {"no objects", R"({"text": "x"}, {"text": "y"})", 0},
        {"a sound in one cell", R"({"text": "x"}, {"objects": [)" + sound + "]}", 1 | 8},
        {"a sound and a button in two", R"({"objects": [)" + button + R"(]}, {"objects": [)" + sound + "]}", 1 | 4 | 8},
    };
    std::vector<std::string> descriptions;
    for (const Case& c : cases) descriptions.push_back(described("1", "2", c.cells));
    const std::vector<Bytes> stored = writtenTables(descriptions);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        TableObject table;
        ASSERT_TRUE(readTable(table, stored[i]));
        EXPECT_EQ(table.FeatureFlags(), cases[i].flags);
    }
    TableObject table;
    ASSERT_TRUE(readTable(table, stored[2]));
    ASSERT_TRUE(readTable(table, stored[0]));
    EXPECT_EQ(table.FeatureFlags(), 0u) << "a new read starts from no features";
}

TEST(TableReadTest, CopiesCarryEveryByteAndTheGrid) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({kTwoByTwo})[0];
    TableObject source;
    ASSERT_TRUE(readTable(source, stored));
    TableObject target;
    ASSERT_TRUE(target.CopyFrom(source));
    ASSERT_EQ(target.Rows(), 2);
    ASSERT_EQ(target.Columns(), 2);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(target.CellText(n), source.CellText(n)) << n;
        EXPECT_EQ(target.Cell(n).Encode(), source.Cell(n).Encode()) << n;
    }
    TableObject third;
    ASSERT_TRUE(target.CopyTo(third));
    EXPECT_EQ(third.CellText(3), source.CellText(3));
    uint32_t texts = 0;
    for (int n = 0; n < 4; ++n) texts += static_cast<uint32_t>(source.CellText(n).size());
    EXPECT_EQ(source.GetSerializedSize(), texts);
}

}  // namespace
}  // namespace lect32
