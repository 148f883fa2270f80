// Searching text frames and the cells of a table: the next hit selected, every hit marked and
// kept with the record's highlights, whole words and case as asked.
#include <gtest/gtest.h>

#include "document_view_support.h"
#include "page/object_text_frame.h"
#include "page/rich_text_object.h"
#include "page/table_cell_text.h"
#include "page/table_object.h"
#include "table_test_support.h"

namespace lect32 {
namespace {

using Ranges = std::vector<std::pair<uint16_t, uint16_t>>;

bool writtenFrame(RichTextObject& frame, const std::string& paragraphs) {
    const auto tables = table_test::writtenTables({table_test::described("1", "1", R"({"rows": )" + paragraphs + "}")});
    TableObject table;
    return !tables[0].empty() && table_test::readTable(table, tables[0]) && frame.Deserialize(table.CellText(0));
}

TEST(FrameSearchTest, FindTextSelectsTheNextHit) {
    REQUIRE_DOCUMENT_WRITER();
    RichTextObject frame;
    ASSERT_TRUE(writtenFrame(frame, R"([{"text": "Ahoj, ahoj"}, {"text": ["x ", {"char": {"weight": 7}}, "AHOJ"]}])"));
    const FrameSearch search{"ahoj", false, false};
    ASSERT_TRUE(frame.FindText(search));
    EXPECT_EQ(frame.GetSelection().startRow, 0);
    EXPECT_EQ(frame.GetSelection().startPos, 0);
    EXPECT_EQ(frame.GetSelection().endPos, 4);
    ASSERT_TRUE(frame.FindText(search));
    EXPECT_EQ(frame.GetSelection().startPos, 6);
    ASSERT_TRUE(frame.FindText(search));
    EXPECT_EQ(frame.GetSelection().startRow, 1);
    EXPECT_EQ(frame.GetSelection().startPos, 2 + 7) << "past the format code";
    EXPECT_FALSE(frame.FindText(search)) << "no fourth hit";
    EXPECT_FALSE(RichTextObject{}.FindText(search)) << "an empty frame";
}

TEST(FrameSearchTest, MarkFoundWordsAsCaseAndWholeWordsSay) {
    REQUIRE_DOCUMENT_WRITER();
    RichTextObject frame;
    ASSERT_TRUE(writtenFrame(frame, R"([{"text": "Ahoj, ahojky ahoj"}, {"text": ""}, {"text": "ahoj"}])"));
    struct Case {
        FrameSearch search;
        Ranges row0, row2;
    };
    const std::vector<Case> cases = {
        {{"ahoj", false, false}, {{0, 4}, {6, 10}, {13, 17}}, {{0, 4}}},
        {{"ahoj", true, false}, {{6, 10}, {13, 17}}, {{0, 4}}},
        {{"ahoj", false, true}, {{0, 4}, {13, 17}}, {{0, 4}}},
        {{"nic", false, false}, {}, {}},
    };
    for (const Case& c : cases) {
        frame.MarkFoundWords(c.search);
        EXPECT_EQ(frame.Row(0).marked, c.row0) << c.search.text << c.search.matchCase << c.search.wholeWords;
        EXPECT_TRUE(frame.Row(1).marked.empty());
        EXPECT_EQ(frame.Row(2).marked, c.row2) << c.search.text << c.search.matchCase << c.search.wholeWords;
    }
}

TEST(FrameSearchTest, ATablesCellsAreSearchedAndKeepTheirMarks) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = table_test::writtenTables({table_test::described("1", "3", R"(
        {"text": "jedna"}, {"text": "dva"}, {"text": "dva a dva"})")});
    ASSERT_FALSE(stored[0].empty());
    TableObject table(nullptr, std::make_unique<TableCellText>());
    ASSERT_TRUE(table_test::readTable(table, stored[0]));
    EXPECT_TRUE(table.FindText({"dva", false, false}));
    EXPECT_FALSE(table.FindText({"tri", false, false}));
    table.MarkFoundWords({"dva", false, false});
    RichTextObject third;
    ASSERT_TRUE(third.Deserialize(table.CellText(2)));
    EXPECT_EQ(third.Row(0).marked, (Ranges{{0, 3}, {6, 9}}));
    RichTextObject first;
    ASSERT_TRUE(first.Deserialize(table.CellText(0)));
    EXPECT_TRUE(first.Row(0).marked.empty());
}

}  // namespace
}  // namespace lect32
