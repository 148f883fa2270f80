// The page background: scroll origins, tiling phases as pixel tables (negative origins, partial
// tiles), pictures placed once, both load paths, the print rules and the picture's lookup.
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/page_background.h"
#include "picture_test_support.h"
#include "store/document_paths.h"
#include "store/file_name_table.h"
#include "store/printing_state.h"
#include "store/string_pool.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace lect32 {
namespace {

using picture_test::Canvas;
using picture_test::kBlack;
using picture_test::kGreen;
using picture_test::kRed;
using picture_test::kWhite;
using Rows = std::vector<std::string>;

// The 4 x 4 picture: black along its top row and left column, white elsewhere, so that a table
// shows where each tile starts.
std::vector<COLORREF> cornerPicture() {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) pixels.push_back(x == 0 || y == 0 ? kBlack : kWhite);
    return pixels;
}

// Printing switches set for a scope.
struct Printing {
    Printing(bool printing, bool ignoreBackgrounds) {
        PrintingFlag = printing ? 1 : 0;
        IgnoreBackgroundsFlag = ignoreBackgrounds ? 1 : 0;
    }
    ~Printing() { PrintingFlag = IgnoreBackgroundsFlag = 0; }
};

class PageBackgroundTest : public ::testing::Test {
protected:
    void SetUp() override {
        picture_test::writeBmp(folder_.host("roh.bmp"), 4, 4, cornerPicture());
        picture_test::writeBmp(folder_.host("velky.bmp"), 32, 32, std::vector<COLORREF>(32 * 32, kGreen));
        SetDocumentPathForPaths(document_.c_str());
        corner_ = add("\\roh.bmp");
        big_ = add("\\velky.bmp");
        missing_ = add("\\chybi.bmp");
    }
    void TearDown() override { SetDocumentPathForPaths(nullptr); }

    int16_t add(const char* path) {
        char buffer[FileNameTable::kPathBuffer];
        std::strcpy(buffer, path);
        return static_cast<int16_t>(table_.AddPath(buffer));
    }
    // The corner picture as the background, placed in the mode given.
    void place(PageBackground& background, uint8_t mode) {
        background.SetPicture(nullptr, corner_, mode, false);
        ASSERT_NE(background.Bitmap(), nullptr);
        ASSERT_EQ(background.Width(), 4);
        ASSERT_EQ(background.Mode(), mode);
    }

    static Rows paint(int width, int height, const std::function<void(HDC)>& draw) {
        Canvas canvas(width, height);
        canvas.fill(kGreen);
        draw(canvas.dc());
        return canvas.rows({{kBlack, 'X'}, {kWhite, '.'}, {kGreen, 'o'}, {kRed, 'b'}});
    }

    winplat::test::Harness harness_;
    vazazi_test::ScratchFolder folder_;
    std::string document_ = folder_.windows("kniha.lcn");
    StringPool folders_;
    FileNameTable table_{folders_};
    int16_t corner_ = -1, big_ = -1, missing_ = -1;
    winplat::testing::DebugCapture log_;
    winplat::GdiObject<HBRUSH> red_{CreateSolidBrush(kRed)};
};

struct OriginCase {
    int16_t x;
    int32_t y;
    int16_t wrappedX;
    int32_t wrappedY;
};

TEST_F(PageBackgroundTest, ScrollOriginsWrapIntoThePicture) {
    PageBackground background(&table_);
    background.SetPicture(nullptr, big_, 1, false);
    ASSERT_EQ(background.Width(), 32);
    const OriginCase cases[] = {
        {-5, -5, 27, 27}, {0, 0, 0, 0},     {31, 31, 31, 31},   {32, 32, 0, 0},       {33, 65, 1, 1},
        {-32, -32, 0, 0}, {-33, -1, 31, 31}, {-31, -63, 1, 1}, {-32768, -100001, 0, 31}, {32767, 100001, 31, 1},
    };
    for (const OriginCase& c : cases) {
        background.SetScrollOrigin(c.x, c.y);
        EXPECT_EQ(background.OriginX(), c.wrappedX) << c.x;
        EXPECT_EQ(background.OriginY(), c.wrappedY) << c.y;
        EXPECT_EQ(background.RawOriginX(), c.x);
        EXPECT_EQ(background.RawOriginY(), c.y);
    }
}

TEST_F(PageBackgroundTest, NoPictureNoWrapping) {
    PageBackground background(&table_);
    background.SetScrollOrigin(-5, 70);
    EXPECT_EQ(background.OriginX(), 0);
    EXPECT_EQ(background.OriginY(), 0);
    EXPECT_EQ(background.RawOriginX(), -5);
    EXPECT_EQ(background.RawOriginY(), 70);
    EXPECT_FALSE(background.BackgroundShown());
    EXPECT_TRUE(background.IsShown());
}

struct PhaseCase {
    int16_t x;
    int32_t y;
    Rows rows;
};

// Each tile's top left corner lies at -origin + k * 4: the black row and column show where.
TEST_F(PageBackgroundTest, TilesStartAtTheNegatedOrigin) {
    PageBackground background(&table_);
    place(background, 1);
    const PhaseCase cases[] = {
        {0, 0, {"XXXXXXXX", "X...X...", "X...X...", "X...X...", "XXXXXXXX", "X...X..."}},
        {1, 2, {"...X...X", "...X...X", "XXXXXXXX", "...X...X", "...X...X", "...X...X"}},
        {-5, -5, {".X...X..", "XXXXXXXX", ".X...X..", ".X...X..", ".X...X..", "XXXXXXXX"}},  // 3, 3
        {-1, 9, {".X...X..", ".X...X..", ".X...X..", "XXXXXXXX", ".X...X..", ".X...X.."}},  // 3, 1
    };
    for (const PhaseCase& c : cases) {
        background.SetScrollOrigin(c.x, c.y);
        EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.DrawPicture(dc, 0, 0, 8, 6); }), c.rows) << c.x << "," << c.y;
    }
}

// A rectangle that starts and ends inside tiles gets the parts of the tiles it covers, and
// nothing outside it changes.
TEST_F(PageBackgroundTest, PartialTilesKeepThePhase) {
    PageBackground background(&table_);
    place(background, 1);
    background.SetScrollOrigin(1, 2);
    const Rows expected = {"oooooooo", "oo.X...o", "ooXXXXXo", "oo.X...o", "oo.X...o", "oooooooo"};
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.DrawPicture(dc, 2, 1, 7, 5); }), expected);
    // An explicit origin instead of the scroll origin.
    const Rows at = {"oooooooo", "oo...X.o", "oo...X.o", "ooXXXXXo", "oo...X.o", "oooooooo"};
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.DrawPictureAt(dc, 2, 1, 7, 5, 3, 1); }), at);
}

// A display of 8 bits gets a copy of the picture made for it; a deeper one the image's own
// bitmap. Both draw the same pixels.
TEST_F(PageBackgroundTest, EightAndThirtyTwoBitDisplays) {
    const Rows tiles = {"XXXXXXXX", "X...X...", "X...X...", "X...X...", "XXXXXXXX", "X...X..."};
    for (const int bits : {8, 32}) {
        PageBackground background(&table_);
        place(background, 1);
        const Canvas display(4, 4, bits);
        background.LoadForDevice(display.dc(), folder_.windows("roh.bmp").c_str(), 0);
        ASSERT_NE(background.Bitmap(), nullptr) << bits;
        BITMAP info{};
        ASSERT_NE(GetObjectA(background.Bitmap(), sizeof info, &info), 0) << bits;
        // 8 bits: a copy in a bitmap made for the display (as deep as the layer makes those);
        // deeper: the 24-bit bitmap of the image itself.
        const winplat::OwnedBitmap compatible(CreateCompatibleBitmap(display.dc(), 1, 1));
        BITMAP expected{};
        GetObjectA(compatible.get(), sizeof expected, &expected);
        ASSERT_NE(expected.bmBitsPixel, 24);
        EXPECT_EQ(info.bmBitsPixel, bits == 8 ? expected.bmBitsPixel : 24) << bits;
        EXPECT_EQ(info.bmWidth, 4);
        EXPECT_EQ(background.Mode(), 1);
        EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.DrawPicture(dc, 0, 0, 8, 6); }), tiles) << bits;
    }
}

TEST_F(PageBackgroundTest, APictureThatDoesNotLoadLeavesPlainFills) {
    PageBackground background(&table_);
    background.SetPicture(nullptr, missing_, 1, false);
    EXPECT_EQ(background.Mode(), PageBackground::kNoPicture);
    EXPECT_FALSE(background.BackgroundShown());
    ASSERT_NE(background.Bitmap(), nullptr) << "the white stand-in";
    EXPECT_EQ(background.Width(), 32);
    EXPECT_EQ(background.Height(), 32);
    EXPECT_TRUE(log_.contains("background picture cannot be loaded"));
    const Rows white(3, std::string(6, '.'));
    EXPECT_EQ(paint(6, 3, [&](HDC dc) { background.DrawPicture(dc, 0, 0, 6, 3); }), white);
    const Rows brush(3, std::string(6, 'b'));
    EXPECT_EQ(paint(6, 3, [&](HDC dc) { background.Fill(dc, {0, 0, 6, 3}, red_.get()); }), brush);
}

struct FillCase {
    const char* what;
    int16_t originX;
    int32_t originY;
    RECT rect;
    Rows rows;
};

// A picture placed once: the brush right of it and below it, the picture in the rest; a
// rectangle that starts right of or below the picture gets the brush alone.
TEST_F(PageBackgroundTest, APicturePlacedOnceLeavesTheRestToTheBrush) {
    PageBackground background(&table_);
    place(background, PageBackground::kOnce);
    const FillCase cases[] = {
        {"over the picture and beyond", 0, 0, {0, 0, 8, 6},
         {"XXXXbbbb", "X...bbbb", "X...bbbb", "X...bbbb", "bbbbbbbb", "bbbbbbbb"}},
        {"wholly right of the picture", 0, 0, {4, 0, 8, 6}, Rows(6, "oooobbbb")},
        {"its last column", 0, 0, {3, 0, 8, 2}, {"oooXbbbb", "ooo.bbbb", "oooooooo", "oooooooo", "oooooooo", "oooooooo"}},
        {"one column past it", 0, 0, {2, 0, 5, 2}, {"ooXXbooo", "oo..booo", "oooooooo", "oooooooo", "oooooooo", "oooooooo"}},
        {"one row below it", 0, 0, {0, 2, 3, 5}, {"oooooooo", "oooooooo", "X..ooooo", "X..ooooo", "bbbooooo", "oooooooo"}},
        {"wholly below it", 0, 0, {0, 4, 8, 6}, {"oooooooo", "oooooooo", "oooooooo", "oooooooo", "bbbbbbbb", "bbbbbbbb"}},
        {"its last row", 0, 0, {0, 3, 2, 6}, {"oooooooo", "oooooooo", "oooooooo", "X.oooooo", "bboooooo", "bboooooo"}},
        {"scrolled: the picture ends at x 3", 1, 0, {3, 0, 8, 1}, {"ooobbbbb", "oooooooo", "oooooooo", "oooooooo", "oooooooo", "oooooooo"}},
        {"scrolled: one column left", 1, 0, {2, 0, 8, 2}, {"ooXbbbbb", "oo.bbbbb", "oooooooo", "oooooooo", "oooooooo", "oooooooo"}},
        {"scrolled up: the picture ends at y 1", 0, 3, {0, 1, 8, 3}, {"oooooooo", "bbbbbbbb", "bbbbbbbb", "oooooooo", "oooooooo", "oooooooo"}},
    };
    for (const FillCase& c : cases) {
        background.SetScrollOrigin(c.originX, c.originY);
        EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.Fill(dc, c.rect, red_.get()); }), c.rows) << c.what;
        EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.FillIfShown(dc, c.rect, red_.get()); }), c.rows) << c.what;
    }
}

TEST_F(PageBackgroundTest, TiledFillsAndTheShownFlag) {
    PageBackground background(&table_);
    place(background, 2);
    const Rows tiled = {"XXXXXXXX", "X...X...", "X...X...", "X...X...", "XXXXXXXX", "X...X..."};
    const Rows brush(6, std::string(8, 'b'));
    const RECT all{0, 0, 8, 6};
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.Fill(dc, all, red_.get()); }), tiled);
    background.SetShown(false);
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.FillIfShown(dc, all, red_.get()); }), brush);
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.Fill(dc, all, red_.get()); }), tiled) << "Fill does not ask";
    background.SetShown(true);
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.FillIfShown(dc, all, red_.get()); }), tiled);
    // Index -1 takes the picture away from the fills; the bitmap stays.
    background.SetPicture(nullptr, -1, 2, false);
    EXPECT_EQ(background.Mode(), PageBackground::kNoPicture);
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.FillIfShown(dc, all, red_.get()); }), brush);
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.Fill(dc, all, red_.get()); }), brush);
}

TEST_F(PageBackgroundTest, FillTiledAtTakesItsOwnOrigin) {
    PageBackground background(&table_);
    place(background, 1);
    background.SetScrollOrigin(2, 2);  // not used
    const RECT all{0, 0, 8, 6};
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.FillTiledAt(dc, all, red_.get(), -5, -5); }),
              Rows({".X...X..", "XXXXXXXX", ".X...X..", ".X...X..", ".X...X..", "XXXXXXXX"}));
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.FillTiledAt(dc, all, red_.get(), 5, 6); }),
              Rows({"...X...X", "...X...X", "XXXXXXXX", "...X...X", "...X...X", "...X...X"}));
    // Placed once, the picture is measured by its own size: the brush from x 4 and y 4 whatever
    // the origin.
    PageBackground once(&table_);
    place(once, PageBackground::kOnce);
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { once.FillTiledAt(dc, all, red_.get(), 1, 0); }),
              Rows({"XXXXbbbb", "...Xbbbb", "...Xbbbb", "...Xbbbb", "bbbbbbbb", "bbbbbbbb"}));
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { once.FillTiledAt(dc, {4, 0, 8, 6}, red_.get(), 1, 0); }), Rows(6, "oooobbbb"));
}

// While printing, pictures come out white; with the option that leaves backgrounds out, every
// background fill is white, whatever the brush and mode.
TEST_F(PageBackgroundTest, PrintingRules) {
    PageBackground tiled(&table_), once(&table_), none(&table_);
    place(tiled, 1);
    place(once, PageBackground::kOnce);
    const RECT all{0, 0, 8, 6};
    const Rows white(6, std::string(8, '.'));
    {
        const Printing printing(true, false);
        EXPECT_EQ(paint(8, 6, [&](HDC dc) { tiled.DrawPicture(dc, 0, 0, 8, 6); }), white);
        EXPECT_EQ(paint(8, 6, [&](HDC dc) { tiled.Fill(dc, all, red_.get()); }), white);
        EXPECT_EQ(paint(8, 6, [&](HDC dc) { none.Fill(dc, all, red_.get()); }), Rows(6, std::string(8, 'b')))
            << "the brush of a page without picture is printed";
        EXPECT_EQ(paint(8, 6, [&](HDC dc) { once.Fill(dc, all, red_.get()); }),
                  Rows({"....bbbb", "....bbbb", "....bbbb", "....bbbb", "bbbbbbbb", "bbbbbbbb"}));
    }
    {
        const Printing printing(true, true);
        for (PageBackground* background : {&tiled, &once, &none}) {
            EXPECT_EQ(paint(8, 6, [&](HDC dc) { background->Fill(dc, all, red_.get()); }), white);
            EXPECT_EQ(paint(8, 6, [&](HDC dc) { background->FillIfShown(dc, all, red_.get()); }), white);
            EXPECT_EQ(paint(8, 6, [&](HDC dc) { background->FillTiledAt(dc, all, red_.get(), 3, 3); }), white);
        }
    }
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { none.Fill(dc, all, red_.get()); }), Rows(6, std::string(8, 'b')))
        << "back on screen";
}

// The same index and mode load nothing again; the picture's lookup may switch documents, and
// puts the previous one back before loading.
TEST_F(PageBackgroundTest, SetPictureLooksThePictureUpOnce) {
    PageBackground background(&table_);
    std::vector<std::string> calls;
    PageBackground::SetDocumentSwitch([&](HWND) {
        calls.push_back("activate");
        return [&] { calls.push_back("restore"); };
    });
    background.SetPicture(nullptr, corner_, 1, true);
    EXPECT_EQ(calls, std::vector<std::string>({"activate", "restore"}));
    EXPECT_EQ(background.PictureIndex(), corner_);
    background.SetScrollOrigin(3, 2);
    const HBITMAP first = background.Bitmap();
    std::filesystem::remove(folder_.host("roh.bmp"));
    background.SetPicture(nullptr, corner_, 1, true);
    EXPECT_EQ(background.Bitmap(), first) << "nothing loaded again";
    EXPECT_EQ(background.OriginX(), 3);
    EXPECT_EQ(calls.size(), 2u);
    background.SetPicture(nullptr, big_, 1, false);
    EXPECT_EQ(calls.size(), 2u) << "no switch asked for";
    EXPECT_EQ(background.Width(), 32);
    EXPECT_EQ(background.OriginX(), 0) << "a new picture starts at origin 0";
    EXPECT_EQ(background.RawOriginX(), 0);
    PageBackground::SetDocumentSwitch(nullptr);
}

// A picture whose path names no file comes from the picture store, by the number the picture
// table keeps for it.
TEST_F(PageBackgroundTest, APictureFromTheStore) {
    REQUIRE_DOCUMENT_WRITER();
    ASSERT_TRUE(picture_test::buildDocument(R"({"name": "kniha", "pictureStore": [{"file": "velky.bmp"}, {"file": "roh.bmp"}]})",
                                            folder_.host("")));
    table_.SetTag(static_cast<uint16_t>(missing_), 2);
    PageBackground background(&table_);
    background.SetPicture(nullptr, missing_, 1, false);
    EXPECT_EQ(background.Mode(), 1);
    EXPECT_EQ(background.Width(), 4);
    EXPECT_EQ(paint(8, 6, [&](HDC dc) { background.DrawPicture(dc, 0, 0, 8, 6); }),
              Rows({"XXXXXXXX", "X...X...", "X...X...", "X...X...", "XXXXXXXX", "X...X..."}));
}

}  // namespace
}  // namespace lect32
