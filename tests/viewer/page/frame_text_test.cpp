// A text frame as plain text and on the clipboard: control codes and links dropped, tabs kept,
// CR LF between rows and none after the last; the clipboard holds the text with its terminator
// and the locale beside it.
#include <gtest/gtest.h>

#include <string>

#include "page/clipboard_view.h"
#include "page/rich_text_object.h"
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

}  // namespace
}  // namespace lect32
