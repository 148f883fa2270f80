// Copying a range of one text frame into another: the first row opens with the format and link in
// force at its start, a range ending inside a link is closed with 21, 21, copied rows lose their
// anchor numbers, and all four positions 0 copy everything.
#include <gtest/gtest.h>

#include <string>

#include "page/rich_text_object.h"
#include "table_test_support.h"

namespace lect32 {
namespace {

using Bytes = std::vector<uint8_t>;

bool writtenFrame(RichTextObject& frame, const std::string& paragraphs) {
    const auto tables = table_test::writtenTables({table_test::described("1", "1", R"({"rows": )" + paragraphs + "}")});
    TableObject table;
    return !tables[0].empty() && table_test::readTable(table, tables[0]) && frame.Deserialize(table.CellText(0));
}

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes slice(const Bytes& b, size_t from, size_t to) { return Bytes(b.begin() + long(from), b.begin() + long(to)); }

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Row 0: "ab", a bold format code (7 bytes), "boldcd". Row 1: "x", a link around "link", "y".
class FrameCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer to test with";
        ASSERT_TRUE(writtenFrame(source_, R"([{"text": ["ab", {"char": {"weight": 7}}, "boldcd"]},
            {"text": ["x", {"link": {"kind": 0, "page": 3}, "text": "link"}, "y"]}])"));
        row0_ = source_.Row(0).text;
        row1_ = source_.Row(1).text;
        ASSERT_EQ(row0_[2], 1);
        ASSERT_EQ(row1_[1], 20);
        linkLength_ = row1_.size() - 1 - 4 - 2 - 1;
    }
    Bytes bold() const { return slice(row0_, 2, 9); }
    Bytes linkOpen() const { return slice(row1_, 1, 1 + linkLength_); }
    uint16_t inLink(size_t letters) const { return static_cast<uint16_t>(1 + linkLength_ + letters); }

    RichTextObject source_;
    Bytes row0_, row1_;
    size_t linkLength_ = 0;
};

TEST_F(FrameCopyTest, ARangeFromTheMiddleOfABoldRunStartsBold) {
    RichTextObject copy;
    ASSERT_TRUE(copy.CopyRangeFrom(source_, 0, 11, 0, 13));
    ASSERT_EQ(copy.RowCount(), 1);
    EXPECT_EQ(copy.Row(0).text, join({bold(), bytesOf("ld")}));
}

TEST_F(FrameCopyTest, AtTheRowStartNoCodesAreAdded) {
    RichTextObject copy;
    ASSERT_TRUE(copy.CopyRangeFrom(source_, 0, 0, 0, 2));
    EXPECT_EQ(copy.Row(0).text, bytesOf("ab"));
    ASSERT_TRUE(copy.CopyRangeFrom(source_, 0, 1, 0, 2));
    EXPECT_EQ(copy.Row(0).text, bytesOf("b")) << "no code before the start: nothing to add";
}

TEST_F(FrameCopyTest, ARangeEndingInsideALinkIsClosed) {
    RichTextObject copy;
    ASSERT_TRUE(copy.CopyRangeFrom(source_, 0, 11, 1, inLink(2)));
    ASSERT_EQ(copy.RowCount(), 2);
    EXPECT_EQ(copy.Row(1).text, join({bytesOf("x"), linkOpen(), bytesOf("li"), {21, 21}}));
    ASSERT_TRUE(copy.CopyRangeFrom(source_, 1, 0, 1, 1));
    EXPECT_EQ(copy.Row(0).text, bytesOf("x")) << "ending before the link: nothing to close";
    ASSERT_TRUE(copy.CopyRangeFrom(source_, 1, 0, 1, static_cast<uint16_t>(row1_.size() - 1)));
    EXPECT_EQ(copy.Row(0).text, slice(row1_, 0, row1_.size() - 1)) << "ending after the link's end";
}

TEST_F(FrameCopyTest, ARangeStartingInsideALinkReopensIt) {
    RichTextObject copy;
    ASSERT_TRUE(copy.CopyRangeFrom(source_, 1, inLink(2), 1, static_cast<uint16_t>(row1_.size())));
    EXPECT_EQ(copy.Row(0).text, join({linkOpen(), bytesOf("nk"), {21, 21}, bytesOf("y")}));
}

TEST_F(FrameCopyTest, AllPositionsZeroCopiesEverything) {
    RichTextObject copy;
    ASSERT_TRUE(copy.CopyRangeFrom(source_, 0, 0, 0, 0));
    ASSERT_EQ(copy.RowCount(), 2);
    EXPECT_EQ(copy.Row(0).text, row0_);
    EXPECT_EQ(copy.Row(1).text, row1_);
    EXPECT_EQ(copy.PlainText(), bytesOf("abboldcd\r\nxlinky"));
}

TEST(FrameCopyAnchors, CopiedRowsLoseTheirAnchorNumber) {
    REQUIRE_DOCUMENT_WRITER();
    RichTextObject source;
    ASSERT_TRUE(writtenFrame(source, R"([{"text": "a", "anchor": 513, "format": {"colours": [3, 4]}}, {"text": "b"}])"));
    const RowRecord& anchored = source.Row(0).record;
    ASSERT_TRUE(anchored.Flags() & RowRecord::kAnchorBit);
    ASSERT_EQ(anchored.AnchorNumber(), 513);
    RichTextObject copy;
    ASSERT_TRUE(copy.CopyRangeFrom(source, 0, 0, 0, 0));
    const RowRecord& copied = copy.Row(0).record;
    EXPECT_FALSE(copied.Flags() & RowRecord::kAnchorBit);
    ASSERT_EQ(copied.bytes.size(), anchored.bytes.size() - 2);
    EXPECT_EQ(slice(copied.bytes, 7, copied.bytes.size()), slice(anchored.bytes, 9, anchored.bytes.size()))
        << "the parts behind the anchor move down";
    EXPECT_EQ(copy.Row(1).record.bytes, source.Row(1).record.bytes);
}

// A frame whose caret can be put where a paste goes.
class CaretFrame : public RichTextObject {
public:
    void caretAt(uint16_t row, uint16_t pos) { SetCaret(row, pos); }
};

TEST(FrameAppend, ContentGoesInAtTheCaret) {
    REQUIRE_DOCUMENT_WRITER();
    RichTextObject pasted;
    ASSERT_TRUE(writtenFrame(pasted, R"([{"text": "big "}, {"text": "new", "style": 2}])"));
    struct Case {
        uint16_t row, pos;
        std::vector<std::string> rows;
        uint16_t caretRow, caretPos;
    };
    const std::vector<Case> cases = {
        {0, 6, {"Hello big world", "new", "end"}, 1, 3},
        {1, 3, {"Hello world", "endbig ", "new"}, 2, 3},
        {1, 0, {"Hello world", "big end", "new"}, 2, 3},
        {0, 400, {"Hello worldbig ", "new", "end"}, 1, 3},  // a caret past the row's end: at its end
    };
    for (const Case& c : cases) {
        CaretFrame target;
        ASSERT_TRUE(writtenFrame(target, R"([{"text": "Hello world"}, {"text": "end", "style": 1}])"));
        target.caretAt(c.row, c.pos);
        EXPECT_EQ(pasted.AppendContentTo(target), 2);
        std::vector<std::string> rows;
        for (uint16_t r = 0; r < target.RowCount(); ++r) rows.emplace_back(target.Row(r).text.begin(), target.Row(r).text.end());
        EXPECT_EQ(rows, c.rows) << c.row << "," << c.pos;
        EXPECT_EQ(target.CaretRow(), c.caretRow);
        EXPECT_EQ(target.CaretPos(), c.caretPos);
        const uint16_t joined = c.row;
        EXPECT_EQ(target.Row(joined).record.Style(), c.pos == 0 ? 0 : (c.row == 1 ? 1 : 0))
            << "the record comes along only into the start of a row";
        EXPECT_EQ(target.Row(uint16_t(joined + 1)).record.Style(), 2);
    }
}

}  // namespace
}  // namespace lect32
