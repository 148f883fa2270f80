// A page's text object shown through a real text frame: its record read into rows, laid out to a
// height, and handed back to the object unchanged when the frame did not change it.
#include <gtest/gtest.h>

#include "document_view_support.h"
#include "page/text_object_frame.h"
#include "page_test_support.h"
#include "picture_test_support.h"
#include "table_test_support.h"
#include "store/mem_writer.h"

namespace lect32 {
namespace {

using Bytes = std::vector<uint8_t>;

// A version 3 record of the rows' texts, no sections, an empty object block.
Bytes frameRecord(const std::vector<std::string>& texts) {
    page_test::Fields f;
    f.u8(3).u16(uint16_t(texts.size()));
    for (const std::string& t : texts) {
        f.u16(7).u32(0).u8(0).u16(0).u16(0).u16(uint16_t(t.size()));
        for (const char c : t) f.u8(uint8_t(c));
        f.u16(0);
    }
    f.u8(0);
    Page empty;
    MemWriter out;
    out.Begin();
    const uint32_t n = empty.SaveObjects(out);
    return f.raw(Bytes(out.data(), out.data() + n)).bytes;
}

class TextObjectFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        PageServices services = test_.services();
        services.makeFrame = MakeTextObjectFrames();
        page_ = std::make_unique<Page>(services);
        record_ = frameRecord({"first row", "second"});
        page_->InsertObject(page_test::object(0, 0, 120, 60, ObjectKind::TextFrame),
                            page_test::slot(2, page_test::Fields().u16(120).u16(60).u8(4).u16(-1).u16(2).u16(2).u16(2).u16(2).bytes),
                            record_);
    }
    TextObjectFrame& frame() { return static_cast<TextObjectFrame&>(*page_->GetTextFrame()); }

    page_test::TestPage test_;
    std::unique_ptr<Page> page_;
    Bytes record_;
};

TEST_F(TextObjectFrameTest, TheObjectsRecordBecomesRows) {
    page_->ActivateTextObject(0, true, false);
    ASSERT_EQ(page_->GetActiveTextObject(), 0);
    const RichTextObject& rows = frame().Frame();
    ASSERT_EQ(rows.RowCount(), 2);
    EXPECT_EQ(std::string(rows.Row(1).text.begin(), rows.Row(1).text.end()), "second");
    EXPECT_EQ(rows.Style().width, 120) << "the object's frame style";
    EXPECT_EQ(rows.Style().LeftMargin(), 2);
}

TEST_F(TextObjectFrameTest, LayoutGivesTheContentHeightAndLeavesTheRecord) {
    EXPECT_GT(page_->LayoutTextObject(0), 0);
    EXPECT_EQ(frame().Changed(), ObjectTextFrame::Change::None);
    page_->LayOutTextFrames();
    EXPECT_EQ(page_->CopySecondText(0), record_) << "an unchanged frame commits the bytes it was given";
    EXPECT_EQ(page_->GetTextFramesSize(), record_.size());
}

TEST_F(TextObjectFrameTest, ADamagedRecordShowsOneEmptyRow) {
    ASSERT_TRUE(page_->SetSecondText(0, Bytes{3, 1, 0, 40}));
    page_->ActivateTextObject(0, true, false);
    ASSERT_EQ(frame().Frame().RowCount(), 1);
    EXPECT_TRUE(frame().Frame().Row(0).text.empty());
    EXPECT_EQ(page_->CopySecondText(0), (Bytes{3, 1, 0, 40})) << "the object keeps what it had";
}

// A text object whose text runs past its box, painted with the page's objects onto a canvas.
class TextObjectPaintTest : public document_view_test::WindowedView {};

TEST_F(TextObjectPaintTest, TheTextStaysInsideTheObjectsBox) {
    REQUIRE_DOCUMENT_WRITER();
    using document_view_test::row;
    const std::string paragraphs = "[" + row("WWW WWW") + ", " + row("WWW") + ", " + row("WWW") + ", " + row("WWW") + "]";
    const auto tables = table_test::writtenTables({table_test::described("1", "1", R"({"rows": )" + paragraphs + "}")});
    TableObject cell;
    ASSERT_TRUE(!tables[0].empty() && table_test::readTable(cell, tables[0]));

    PageServices services = page_.services();
    services.makeFrame = MakeTextObjectFrames(page_.services(), ViewServices{&styles_, &colours_, {}});
    Page page(services);
    constexpr int kLeft = 20, kTop = 30, kWidth = 80, kHeight = 20;  // one line tall
    page.InsertObject(page_test::object(kLeft, kTop, kWidth, kHeight, ObjectKind::TextFrame),
                      page_test::slot(2, page_test::Fields().u16(kWidth).u16(kHeight).u8(1).u16(-1).u16(0).u16(0).u16(0).u16(0).bytes),
                      cell.CellText(0));
    picture_test::Canvas canvas(160, 120);
    const COLORREF kSentinel = RGB(1, 2, 3);
    canvas.fill(kSentinel);
    const winplat::GdiObject<HBRUSH> white(CreateSolidBrush(RGB(255, 255, 255)));
    page.PaintObjects({0, 0, 160, 120}, canvas.dc(), white.get(), PaintPass::All);

    int inside = 0;
    for (int y = kTop; y < kTop + kHeight; ++y)
        for (int x = kLeft; x < kLeft + kWidth; ++x) inside += canvas.pixel(x, y) == RGB(0, 0, 0);
    EXPECT_GT(inside, 0) << "the first line's text is painted in the box";
    for (int y = kTop + kHeight; y < 120; ++y)
        for (int x = 0; x < 160; ++x) ASSERT_EQ(canvas.pixel(x, y), kSentinel) << "painted below the box at " << x << "," << y;
    for (int x = 0; x < 160; ++x) ASSERT_EQ(canvas.pixel(x, kTop - 1), kSentinel) << "painted above the box at " << x;
}

}  // namespace
}  // namespace lect32
