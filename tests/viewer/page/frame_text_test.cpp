// A text frame as plain text and on the clipboard: control codes and links dropped, tabs kept,
// CR LF between rows and none after the last; the clipboard holds the text with its terminator
// and the locale beside it.
#include <gtest/gtest.h>

#include <string>

#include "page/clipboard_view.h"
#include "page/object_text_frame.h"
#include "page/rich_text_object.h"
#include "page/table_row.h"
#include "table_test_support.h"
#include "winplat/clipboard.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace lect32 {
namespace {

using table_test::described;
using table_test::readTable;
using table_test::writtenTables;

// The frame of a table cell the document writer wrote with these paragraphs.
bool writtenFrame(RichTextObject& frame, const std::string& paragraphs) {
    const auto tables = writtenTables({described("1", "1", R"({"rows": )" + paragraphs + "}")});
    TableObject table;
    return !tables[0].empty() && readTable(table, tables[0]) && frame.Deserialize(table.CellText(0));
}

std::string contents(HANDLE data) {
    auto block = static_cast<HGLOBAL>(data);
    if (!block) return "(none)";
    const auto* bytes = static_cast<const char*>(GlobalLock(block));
    std::string text(bytes, GlobalSize(block));
    GlobalUnlock(block);
    return text;
}

TEST(FrameTextTest, PlainTextDropsCodesAndKeepsTabs) {
    REQUIRE_DOCUMENT_WRITER();
    struct Case {
        std::string paragraphs;
        std::string text;
    };
    const std::vector<Case> cases = {
        {R"([{"text": "a"}, {"text": "b"}])", "a\r\nb"},
        {R"([{"text": ["A", {"char": {"weight": 7}}, "bold", {"link": {"kind": 0, "page": 3}, "text": "lnk"}, "\tz"]}])",
         "Aboldlnk\tz"},
        {R"([{"text": ""}])", ""},
        {R"([{"text": ""}, {"text": ""}, {"text": "c"}])", "\r\n\r\nc"},
    };
    for (const Case& c : cases) {
        RichTextObject frame;
        ASSERT_TRUE(writtenFrame(frame, c.paragraphs)) << c.paragraphs;
        const std::vector<uint8_t> plain = frame.PlainText();
        EXPECT_EQ(std::string(plain.begin(), plain.end()), c.text) << c.paragraphs;
    }
}

TEST(FrameTextTest, TheClipboardGetsTheTextAndItsLocale) {
    REQUIRE_DOCUMENT_WRITER();
    winplat::testing::resetClipboard();
    RichTextObject frame;
    ASSERT_TRUE(writtenFrame(frame, R"([{"text": "prvn\u00ed"}, {"text": "x\ty"}])"));
    ASSERT_TRUE(frame.CopyToClipboard(nullptr));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(contents(GetClipboardData(CF_TEXT)), std::string("prvn\xED\r\nx\ty\0", 11));
    EXPECT_EQ(contents(GetClipboardData(CF_LOCALE)).size(), 4u);
    EXPECT_TRUE(CloseClipboard());
    winplat::testing::resetClipboard();
}

class SelectedFrame : public RichTextObject {
public:
    void select(uint16_t startRow, uint16_t startPos, uint16_t endRow, uint16_t endPos) {
        selection_ = Selection{true, true, startRow, startPos, endRow, endPos};
    }
};

TEST(FrameTextTest, ASelectionGoesToTheClipboardThroughTheClipboardView) {
    REQUIRE_DOCUMENT_WRITER();
    winplat::testing::resetClipboard();
    SelectedFrame frame;
    ASSERT_TRUE(writtenFrame(frame, R"([{"text": "ab"}, {"text": "cd"}])"));
    EXPECT_FALSE(frame.DoCommand(RichTextObject::kCopy, 1)) << "nothing selected";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)) << "and the clipboard untouched";
    EXPECT_TRUE(CloseClipboard());

    frame.select(0, 1, 1, 1);
    ASSERT_TRUE(frame.DoCommand(RichTextObject::kCopy, 1));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(contents(GetClipboardData(CF_TEXT)), std::string("b\r\nc\0", 5));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GetClipboardView().RowCount(), 1) << "the clipboard view is emptied after the copy";
    EXPECT_TRUE(GetClipboardView().Row(0).text.empty());
    winplat::testing::resetClipboard();
}

// A table row that reports the changes it is told to and counts how often it was asked.
class ReportingTable final : public TableRow {
public:
    ReportingTable(bool structural, bool any, int& asked) : structural_(structural), any_(any), asked_(asked) {}
    void Layout(HDC, TablePrinting*) override {}
    SIZE TotalSize() const override { return SIZE{0, 0}; }
    void SetOrigin(int16_t, int32_t) override {}
    int16_t OriginX() const override { return 0; }
    int32_t OriginY() const override { return 0; }
    void Paint(HDC, const RECT&, TablePrinting*, int32_t) override {}
    uint16_t LineCount() const override { return 1; }
    uint32_t SerializedSize() const override { return 0; }
    void SetScrollOffset(int16_t, int32_t) override {}
    void SetPageStyle(const PageStyle&) override {}
    void SetZoom(uint16_t, uint16_t) override {}
    bool HitTest(int grade) override {
        ++asked_;
        return grade == 1 ? structural_ : any_;
    }

private:
    bool structural_;
    bool any_;
    int& asked_;
};

TEST(FrameTextTest, TheChangeQueryAnswersForTheFrameAndItsTables) {
    REQUIRE_DOCUMENT_WRITER();
    RichTextObject frame;
    ASSERT_TRUE(writtenFrame(frame, R"([{"text": "ab"}, {"text": "cd"}, {"text": "ef"}])"));
    EXPECT_EQ(frame.HitTest(0), 0) << "a frame just read has no changes";
    EXPECT_EQ(frame.HitTest(1), 0);

    int asked = 0;
    frame.SetRowObject(0, std::make_unique<ReportingTable>(false, true, asked));
    frame.SetRowObject(2, std::make_unique<ReportingTable>(false, false, asked));
    EXPECT_EQ(frame.HitTest(1), 0) << "no table changed structurally";
    EXPECT_EQ(asked, 2);
    asked = 0;
    EXPECT_EQ(frame.HitTest(0), 1) << "the first row's table changed its content";
    EXPECT_EQ(asked, 2) << "every table is asked, so each stores its open cell";

    RichTextObject marked;
    ASSERT_TRUE(writtenFrame(marked, R"([{"text": "ab cd"}])"));
    marked.MarkFoundWords(FrameSearch{"cd", false, false});
    EXPECT_EQ(marked.HitTest(0), 1) << "marking hits changes the content";
    EXPECT_EQ(marked.HitTest(1), 0) << "but not the layout";
}

}  // namespace
}  // namespace lect32
