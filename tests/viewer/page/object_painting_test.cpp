// Painting a page's objects: a page from the document writer's object list with an opaque PNG, a
// transparent GIF over another object, animated GIFs, a button, a text frame and a picture larger
// than its box, painted into surfaces of their own and probed colour by colour; the passes, the
// clip given back, one animation frame repainted onto the owner window and nothing outside it.
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/page.h"
#include "page_test_support.h"
#include "picture_test_support.h"
#include "pixmill/pixmill.h"
#include "store/document_paths.h"
#include "text/colour_table.h"
#include "winplat/owners.h"
#include "winplat/region.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace lect32 {
namespace {

using picture_test::Canvas;

constexpr COLORREF kPage = RGB(0, 200, 0);      // the walk's brush
constexpr COLORREF kRed = RGB(255, 0, 0);       // red.png
constexpr COLORREF kBlue = RGB(0, 0, 255);      // blue.png
constexpr COLORREF kYellow = RGB(255, 255, 0);  // half.gif's opaque half, big.png
constexpr COLORREF kCyan = RGB(0, 255, 255);    // behind.png
constexpr COLORREF kFrame0 = RGB(255, 0, 255);
constexpr COLORREF kFrame1 = RGB(0, 128, 0);
constexpr COLORREF kFrame3 = RGB(0, 0, 128);
constexpr COLORREF kBorder = RGB(90, 60, 30);   // colour 1
constexpr COLORREF kFrameFill = RGB(200, 100, 50);  // what the stand-in frame paints
constexpr COLORREF kTeal = RGB(0, 128, 128);   // vec.wmf
constexpr COLORREF kSentinel = RGB(1, 2, 3);
constexpr COLORREF kStates[] = {RGB(10, 10, 10), RGB(20, 20, 20), RGB(30, 30, 30), RGB(40, 40, 40)};

// The frame of text objects: says what it was handed and fills where it was placed.
struct FrameLog {
    std::vector<std::string> calls;
    RECT placed{};
};

class RecordingFrame final : public ObjectTextFrame {
public:
    explicit RecordingFrame(FrameLog& log) : log_(log) {}
    void Place(const RECT& r) override { log_.placed = r; }
    void SetBackground(uint8_t colour, int16_t picture, uint8_t mode, int16_t x, int32_t y) override {
        log_.calls.push_back("background " + std::to_string(colour) + " " + std::to_string(picture) + " " +
                             std::to_string(mode) + " " + std::to_string(x) + " " + std::to_string(y));
    }
    void Paint(HDC dc, const RECT& r) override {
        log_.calls.push_back("paint " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
        const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(kFrameFill));
        FillRect(dc, &log_.placed, brush.get());
    }

private:
    FrameLog& log_;
};

// Picture table entries, in this order: the objects name them by index.
const char* const kPictures[] = {"\\red.png", "\\blue.png", "\\half.gif", "\\anim3.gif", "\\anim5.gif",
                                 "\\big.png", "\\behind.png", "\\state0.png", "\\state1.png", "\\state2.png",
                                 "\\state3.png", "\\vec.wmf", "\\hollow.wmf"};

// Object rectangles (x, y, w, h) of the fixture, named.
struct Box {
    int x, y, w, h;
};
constexpr Box kOpaque{0, 0, 30, 20};      // red.png natural, border 2 in colour 1, right margin 4
constexpr Box kUnder{40, 0, 30, 30};      // blue.png under the transparent GIF
constexpr Box kHalf{40, 0, 30, 30};       // half.gif over it, 20 x 20 in a 30 x 30 box
constexpr Box kAnim{80, 0, 10, 10};       // anim3.gif
constexpr Box kButton{100, 0, 10, 10};
constexpr Box kText{120, 0, 30, 20};
constexpr Box kBehind{0, 40, 20, 10};     // behind.png, painted under the text
constexpr Box kBig{40, 40, 20, 20};       // big.png 40 x 40 at natural size
constexpr Box kDisabled{100, 40, 10, 10}; // anim5.gif, active
constexpr Box kEmpty{150, 40, 10, 10};    // a picture without picture
constexpr Box kVector{210, 0, 20, 20};    // vec.wmf 10 x 20, right of what the golden shows
constexpr Box kHollow{240, 0, 20, 20};    // hollow.wmf over blue.png in (240, 10, 30, 10)
constexpr Box kHollowOver{270, 0, 20, 20};  // hollow.wmf with text running over it
constexpr Box kHalfAlone{300, 0, 20, 20};   // half.gif straight on the page

const char* kObjects = R"({"objectVersion": 6, "objects": [
  {"kind": "picture", "x": 0, "y": 0, "width": 30, "height": 20, "picture": 0, "fit": [0, 1000, 0, 0, -1],
   "borderWidth": 2, "borderColour": 1, "spacing": [0, 4, 0, 0], "z": 0},
  {"kind": "picture", "x": 40, "y": 0, "width": 30, "height": 30, "picture": 1, "fit": [1, 1000, 1, 0, -1], "z": 1},
  {"kind": "picture", "x": 40, "y": 0, "width": 30, "height": 30, "picture": 2, "fit": [0, 1000, 0, 0, -1], "z": 2},
  {"kind": "picture", "x": 80, "y": 0, "width": 10, "height": 10, "picture": 3, "fit": [0, 1000, 0, 0, -1], "z": 3},
  {"kind": "button", "x": 100, "y": 0, "width": 10, "height": 10, "states": [7, 8, 9, 10], "z": 4},
  {"kind": "text", "x": 120, "y": 0, "width": 30, "height": 20, "frameBackground": 2, "z": 5},
  {"kind": "picture", "x": 0, "y": 40, "width": 20, "height": 10, "picture": 6, "behind": 1, "fit": [0, 1000, 0, 0, -1], "z": 6},
  {"kind": "picture", "x": 40, "y": 40, "width": 20, "height": 20, "picture": 5, "fit": [0, 1000, 0, 0, -1], "z": 7},
  {"kind": "picture", "x": 100, "y": 40, "width": 10, "height": 10, "picture": 4, "active": 1, "fit": [0, 1000, 0, 0, -1], "z": 8},
  {"kind": "picture", "x": 150, "y": 40, "width": 10, "height": 10, "picture": -1, "z": 9},
  {"kind": "vector", "x": 210, "y": 0, "width": 20, "height": 20, "picture": 11, "fit": [1, 1000, 0, 0, -1], "z": 10},
  {"kind": "picture", "x": 240, "y": 10, "width": 30, "height": 10, "picture": 1, "fit": [0, 1000, 0, 0, -1], "z": 11},
  {"kind": "vector", "x": 240, "y": 0, "width": 20, "height": 20, "picture": 12, "fit": [1, 1000, 0, 0, -1], "z": 12},
  {"kind": "vector", "x": 270, "y": 0, "width": 20, "height": 20, "picture": 12, "flow": 2, "fit": [1, 1000, 0, 0, -1], "z": 13},
  {"kind": "picture", "x": 300, "y": 0, "width": 20, "height": 20, "picture": 2, "fit": [0, 1000, 0, 0, -1], "z": 14}]})";

class ObjectPaintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DOCUMENT_WRITER();
        ASSERT_TRUE(tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -B " +
                                     tool_runner::quoted(std::filesystem::path(PAGE_TESTS_DIR) / "object_painting_fixtures.py") +
                                     " " + tool_runner::quoted(LCNWRITER_DIR) + " " + tool_runner::quoted(folder_.host(""))))
            << "the fixture pictures were not written";
        document_ = folder_.windows("kniha.lcn");
        SetDocumentPathForPaths(document_.c_str());
        for (const char* path : kPictures) {
            char buffer[FileNameTable::kPathBuffer];
            std::strcpy(buffer, path);
            pictures_.AddPath(buffer);
        }
        const std::vector<uint8_t> list = page_test::writtenObjects(kObjects);
        ASSERT_FALSE(list.empty());
        page_ = std::make_unique<Page>(services());
        winplat::ByteReader in(list);
        ASSERT_TRUE(page_->ReadObjects(in, false));
        colours_.SetAll(std::vector<Rgb>{{0, 0, 0}, {90, 60, 30}, {7, 7, 7}});
        PaintSetup setup;
        setup.colours = &colours_;
        page().SetPaintSetup(setup);
    }
    void TearDown() override {
        if (page_) page_->FreeObjects(true);
        SetDocumentPathForPaths(nullptr);
    }
    PageServices services() {
        PageServices s;
        s.pictures = &pictures_;
        s.cache = &cache_;
        s.makeFrame = [this](HWND) { return std::make_unique<RecordingFrame>(frameLog_); };
        return s;
    }
    Page& page() { return *page_; }
    uint16_t at(const Box& b, int16_t picture) {
        for (uint16_t i = 0; i < page().GetCount(); ++i) {
            const PageObject& o = page().Object(i);
            if (o.x == b.x && o.y == b.y && o.picture == picture) return i;
        }
        ADD_FAILURE() << "no object at " << b.x << "," << b.y;
        return 0;
    }
    // The whole page painted into a fresh surface in one pass.
    std::unique_ptr<Canvas> paint(PaintPass pass, RECT update = {0, 0, 200, 80}, int width = 200) {
        auto canvas = std::make_unique<Canvas>(width, 80);
        canvas->fill(kSentinel);
        const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(kPage));
        page().PaintObjects(update, canvas->dc(), brush.get(), pass);
        return canvas;
    }

    vazazi_test::ScratchFolder folder_;
    std::string document_;
    StringPool pictureFolders_;
    StringPool cacheFolders_;
    FileNameTable pictures_{pictureFolders_};
    ImageFileTable cache_{cacheFolders_};
    std::unique_ptr<Page> page_;
    ColourTable colours_;
    FrameLog frameLog_;
};

TEST_F(ObjectPaintingTest, EveryObjectShowsItsContent) {
    const auto canvas = paint(PaintPass::All);
    struct Probe {
        int x, y;
        COLORREF colour;
        const char* what;
    };
    const Probe probes[] = {
        {0, 0, kBorder, "border's first pixel"},
        {1, 19, kBorder, "border's last row"},
        {2, 2, kRed, "picture at the content box's corner"},
        {21, 11, kRed, "picture's last pixel"},
        {22, 5, kPage, "right of the picture"},
        {5, 12, kPage, "below the picture"},
        {24, 5, kBorder, "right border before the margin"},
        {26, 5, kPage, "right margin"},
        {29, 19, kPage, "margin's last pixel"},
        {45, 5, kBlue, "through the transparent half"},
        {55, 5, kYellow, "the opaque half"},
        {59, 19, kYellow, "the GIF's last pixel"},
        {60, 5, kBlue, "right of the GIF: what lies behind"},
        {45, 20, kBlue, "below the GIF: what lies behind"},
        {69, 29, kBlue, "the box's last pixel"},
        {80, 0, kFrame0, "first frame of the animation"},
        {89, 9, kFrame0, "its last pixel"},
        {100, 0, kStates[0], "button in its normal state"},
        {120, 0, kFrameFill, "text frame's own painting"},
        {0, 40, kCyan, "behind-text picture in pass 0"},
        {59, 59, kYellow, "large picture inside its box"},
        {60, 59, kSentinel, "large picture clipped at its box"},
        {40, 60, kSentinel, "large picture clipped below its box"},
        {150, 40, kPage, "picture without picture: background"},
        {159, 49, kPage, "its last pixel"},
        {160, 49, kSentinel, "nothing beside it"},
    };
    for (const Probe& p : probes) EXPECT_EQ(canvas->pixel(p.x, p.y), p.colour) << p.what;
    EXPECT_EQ(frameLog_.calls, (std::vector<std::string>{"background 2 -1 1 0 0", "paint 30x20"}));
    EXPECT_TRUE(page().ImagesChanged());
    EXPECT_EQ(page().GetActiveTextObject(), Page::kNone) << "the frame is released after painting";
}

TEST_F(ObjectPaintingTest, ComposedPicturesMakeOnlyTheImagesTheyUse) {
    paint(PaintPass::All);
    struct Case {
        Box box;
        int16_t picture;
        bool background, work;
        const char* what;
    };
    // A still picture at its own size is composed into its background image; an animation's
    // frames go through the work image; an opaque picture needs neither.
    const Case cases[] = {{kHalf, 2, true, false, "transparent still picture"},
                          {kAnim, 3, true, true, "animation"},
                          {kUnder, 1, false, false, "opaque picture"}};
    for (const Case& c : cases) {
        const PageObject& o = page().Object(at(c.box, c.picture));
        EXPECT_EQ(o.backgroundImage != 0, c.background) << c.what;
        EXPECT_EQ(o.workImage != 0, c.work) << c.what;
    }
}

TEST_F(ObjectPaintingTest, TransparentPictureOnThePageShowsItToItsEdges) {
    const auto canvas = paint(PaintPass::All, {0, 0, 330, 80}, 330);
    const Box& b = kHalfAlone;
    struct Probe {
        int x, y;
        COLORREF colour;
    };
    // The transparent left half, corner to corner, then the opaque half.
    const Probe probes[] = {{b.x, b.y, kPage},           {b.x + 9, b.y, kPage},   {b.x, b.y + 19, kPage},
                            {b.x + 9, b.y + 19, kPage},  {b.x + 10, b.y, kYellow}, {b.x + 19, b.y + 19, kYellow},
                            {b.x + 20, b.y, kSentinel}};
    for (const Probe& p : probes) EXPECT_EQ(canvas->pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST_F(ObjectPaintingTest, PassesPaintFillOrLeaveObjects) {
    struct Case {
        PaintPass pass;
        COLORREF behind, red, empty;
    };
    const Case cases[] = {{PaintPass::All, kCyan, kRed, kPage},
                          {PaintPass::BehindText, kCyan, kPage, kPage},
                          {PaintPass::OverText, kSentinel, kRed, kPage}};
    for (const Case& c : cases) {
        const auto canvas = paint(c.pass);
        const int pass = static_cast<int>(c.pass);
        EXPECT_EQ(canvas->pixel(5, 45), c.behind) << "behind-text picture, pass " << pass;
        EXPECT_EQ(canvas->pixel(5, 5), c.red) << "picture over the text, pass " << pass;
        EXPECT_EQ(canvas->pixel(0, 0), c.red == kPage ? kPage : kBorder) << "its border, pass " << pass;
        EXPECT_EQ(canvas->pixel(155, 45), c.empty) << "object without content, pass " << pass;
    }
}

TEST_F(ObjectPaintingTest, OnlyObjectsCrossingTheUpdateRectangleArePainted) {
    // The rectangle ends one pixel before the large picture and starts at the behind-text one's
    // last column.
    const auto canvas = paint(PaintPass::All, {19, 40, 40, 80});
    EXPECT_EQ(canvas->pixel(19, 45), kCyan);
    EXPECT_EQ(canvas->pixel(45, 45), kSentinel);
    EXPECT_EQ(canvas->pixel(5, 5), kSentinel);
    const auto touching = paint(PaintPass::All, {19, 40, 41, 80});
    EXPECT_EQ(touching->pixel(45, 45), kYellow);
}

TEST_F(ObjectPaintingTest, ClipIsGivenBackAfterEveryObject) {
    struct Case {
        bool clipBefore;
        const char* what;
    };
    for (const Case c : {Case{false, "no clip before"}, Case{true, "a clip before"}}) {
        Canvas canvas(200, 80);
        canvas.fill(kSentinel);
        if (c.clipBefore) IntersectClipRect(canvas.dc(), 10, 10, 190, 70);
        const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(kPage));
        page().PaintObjects({0, 0, 200, 80}, canvas.dc(), brush.get(), PaintPass::All);
        const winplat::OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(GetClipRgn(canvas.dc(), region.get()), c.clipBefore ? 1 : 0) << c.what;
        RECT box{};
        GetClipBox(canvas.dc(), &box);
        const RECT expected = c.clipBefore ? RECT{10, 10, 190, 70} : RECT{0, 0, 200, 80};
        EXPECT_EQ(box.left, expected.left) << c.what;
        EXPECT_EQ(box.top, expected.top) << c.what;
        EXPECT_EQ(box.right, expected.right) << c.what;
        EXPECT_EQ(box.bottom, expected.bottom) << c.what;
        // Painted after the walk: reaches past the large picture's box.
        canvas.fill(RGB(9, 9, 9));
        EXPECT_EQ(canvas.pixel(65, 65), RGB(9, 9, 9)) << c.what;
    }
}

TEST_F(ObjectPaintingTest, WholePageMatchesItsGolden) {
    winplat::test::Harness::Options options;
    options.width = 200;
    options.height = 80;
    options.goldenFolder = PAGE_GOLDEN_DIR;
    winplat::test::Harness harness(options);
    const auto canvas = paint(PaintPass::All);
    winplat::test::Image image{200, 80, {}};
    for (const COLORREF c : canvas->pixels()) image.pixels.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    EXPECT_TRUE(harness.expectImage(image, "object_painting_page"));
}

TEST_F(ObjectPaintingTest, VectorPictureIsFittedIntoItsContentBox) {
    const auto canvas = paint(PaintPass::All, {0, 0, 300, 80}, 300);
    struct Probe {
        int x, y;
        COLORREF colour;
        const char* what;
    };
    // 10 x 20 kept in proportion in a 20 x 20 box: the left half, full height.
    const Probe probes[] = {
        {kVector.x, kVector.y, kTeal, "the picture's first pixel"},
        {kVector.x + 9, kVector.y + 19, kTeal, "its last pixel"},
        {kVector.x + 10, kVector.y, kPage, "right of it: background"},
        {kVector.x + 19, kVector.y + 19, kPage, "the box's last pixel"},
        {kVector.x - 1, kVector.y, kSentinel, "left of the box"},
        {kVector.x, kVector.y + 20, kSentinel, "below the box"},
        // Only the top half is drawn: the page shows through the rest of the picture's frame,
        // over the object that lay there, as it does beside the frame.
        {kHollow.x, kHollow.y + 9, kTeal, "a picture that leaves its frame: its last drawn row"},
        {kHollow.x, kHollow.y + 10, kPage, "the frame's first undrawn row"},
        {kHollow.x + 9, kHollow.y + 19, kPage, "the frame's last pixel"},
        {kHollow.x + 10, kHollow.y + 10, kPage, "right of the frame"},
        {kHollow.x + 19, kHollow.y + 19, kPage, "the box's last pixel"},
        {kHollow.x + 20, kHollow.y + 10, kBlue, "past the box: the object under it"},
        // With text running over the object nothing fills under it: the text stays.
        {kHollowOver.x, kHollowOver.y + 9, kTeal, "text over the object: its picture"},
        {kHollowOver.x, kHollowOver.y + 10, kSentinel, "text over the object: under its frame"},
        {kHollowOver.x + 10, kHollowOver.y + 5, kSentinel, "text over the object: beside its frame"},
    };
    for (const Probe& p : probes) EXPECT_EQ(canvas->pixel(p.x, p.y), p.colour) << p.what;
}

TEST_F(ObjectPaintingTest, PrintingScalesPicturesByThePrintPercent) {
    struct Case {
        int16_t percent;
        int lastX, lastY;  // the red picture's last pixel; its content box starts at (2, 2)
    };
    const Case cases[] = {{50, 11, 6}, {100, 21, 11}};
    for (const Case& c : cases) {
        PaintSetup setup = page().GetPaintSetup();
        setup.print = {true, 0, 0, c.percent};
        page().SetPaintSetup(setup);
        const auto canvas = paint(PaintPass::All);
        EXPECT_EQ(canvas->pixel(2, 2), kRed) << c.percent;
        EXPECT_EQ(canvas->pixel(c.lastX, c.lastY), kRed) << c.percent;
        EXPECT_EQ(canvas->pixel(c.lastX + 1, c.lastY), kPage) << c.percent;
        EXPECT_EQ(canvas->pixel(c.lastX, c.lastY + 1), kPage) << c.percent;
    }
}

TEST_F(ObjectPaintingTest, PrintedBandSkipsObjectsAboveIt) {
    struct Case {
        int32_t bandTop, offset;
        COLORREF red, behind;  // the red picture (top 0) at (5, 5), behind.png (top 40) at (5, 45 - offset)
    };
    const Case cases[] = {{0, 0, kRed, kCyan},     {1, 0, kSentinel, kCyan},   {39, 0, kSentinel, kCyan},
                          {40, 0, kSentinel, kCyan}, {41, 0, kSentinel, kSentinel},
                          // A second sheet: what the first took is taken off every position.
                          {0, 40, kSentinel, kCyan}, {-40, 40, kRed, kCyan}};
    for (const Case& c : cases) {
        PaintSetup setup = page().GetPaintSetup();
        setup.print = {true, c.bandTop, c.offset, 100};
        page().SetPaintSetup(setup);
        const auto canvas = paint(PaintPass::All, {0, -80, 200, 80});
        const std::string what = "band " + std::to_string(c.bandTop) + " offset " + std::to_string(c.offset);
        if (c.offset == 0) {
            EXPECT_EQ(canvas->pixel(5, 5), c.red) << what;
        }
        EXPECT_EQ(canvas->pixel(5, 45 - c.offset), c.behind) << what;
    }
}

class OwnerWindowTest : public ObjectPaintingTest {
protected:
    void SetUp() override {
        ObjectPaintingTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        owner_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 80, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        page().SetOwner(owner_, 0);
        harness_.pump();
        ValidateRect(owner_, nullptr);
        const winplat::BorrowedDc dc(owner_);
        const winplat::GdiObject<HBRUSH> sentinel(CreateSolidBrush(kSentinel));
        const RECT all{0, 0, 200, 80};
        FillRect(dc.get(), &all, sentinel.get());
    }
    void TearDown() override {
        if (owner_) DestroyWindow(owner_);
        ObjectPaintingTest::TearDown();
    }
    winplat::test::Image shown() const { return harness_.windowImage(owner_, true); }
    // Pixels outside the rectangle that are no longer the sentinel.
    static int writtenOutside(const winplat::test::Image& image, const Box& b) {
        int count = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const bool inside = x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
                if (!inside && image.at(x, y) != 0x010203u) ++count;
            }
        return count;
    }

    winplat::test::Harness harness_;
    HWND owner_ = nullptr;
};

uint32_t Rgb32(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TEST_F(OwnerWindowTest, AnimationFrameRepaintsOnlyItsObject) {
    const uint16_t i = at(kAnim, 3);
    page().PaintAnimationFrame(i, 1);
    const auto image = shown();
    EXPECT_EQ(image.at(80, 0), Rgb32(kFrame1));
    EXPECT_EQ(image.at(89, 9), Rgb32(kFrame1));
    EXPECT_EQ(writtenOutside(image, kAnim), 0);
    EXPECT_NE(page().Object(i).backgroundImage, 0) << "the background image is made on the first frame";
}

TEST_F(OwnerWindowTest, DisabledActiveAnimationShowsFrameThree) {
    struct Case {
        uint8_t active, disabled;
        COLORREF shown;
    };
    const Case cases[] = {{1, 1, kFrame3}, {1, 0, kFrame1}, {0, 1, kFrame1}};
    const uint16_t i = at(kDisabled, 4);
    page().LoadObjectPictures(i);
    for (const Case& c : cases) {
        PageObject o = page().Object(i);
        o.active = c.active;
        o.disabled = c.disabled;
        page().SetObject(i, o);
        page().PaintAnimationFrame(i, 1);
        EXPECT_EQ(shown().at(105, 45), Rgb32(c.shown)) << int{c.active} << int{c.disabled};
    }
    // Three frames are not more than three: the frame asked for is drawn.
    const uint16_t three = at(kAnim, 3);
    PageObject o = page().Object(three);
    o.active = o.disabled = 1;
    page().SetObject(three, o);
    page().PaintAnimationFrame(three, 2);
    EXPECT_EQ(shown().at(85, 5), Rgb32(RGB(128, 0, 0)));
}

TEST_F(OwnerWindowTest, InvalidationCoversTheObjectOrItsBand) {
    const uint16_t i = at(kBig, 5);
    page().InvalidateObject(i, 0, 0);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(owner_, &update, FALSE));
    EXPECT_EQ(update.left, 40);
    EXPECT_EQ(update.top, 40);
    EXPECT_EQ(update.right, 60);
    EXPECT_EQ(update.bottom, 60);
    EXPECT_TRUE(page().NeedsRepaint());
}

TEST_F(OwnerWindowTest, SelectionFrameDrawnTwiceLeavesNoTrace) {
    struct Case {
        uint8_t mode;
        bool dragging;
        const char* what;
    };
    const Case cases[] = {{0, false, "handles"}, {1, false, "solid frame"}, {0, true, "dotted while dragging"}};
    const uint16_t i = at(kBig, 5);
    page().SetCurrentObject(static_cast<int16_t>(i));
    const auto before = shown();
    for (const Case& c : cases) {
        page().SetSelectionMode(c.mode);
        if (c.dragging) page().BeginDrag(static_cast<int16_t>(i));
        else page().EndDrag();
        page().DrawSelectionFrame();
        const auto marked = shown();
        int changed = 0;
        for (size_t k = 0; k < marked.pixels.size(); ++k) changed += marked.pixels[k] != before.pixels[k];
        EXPECT_GT(changed, 0) << c.what;
        page().DrawSelectionFrame();
        EXPECT_EQ(shown().pixels, before.pixels) << c.what;
    }
}

TEST_F(OwnerWindowTest, SolidSelectionFrameIsFourPixelsOutsideTheContentBox) {
    const uint16_t i = at(kBig, 5);
    page().SetCurrentObject(static_cast<int16_t>(i));
    page().SetSelectionMode(1);
    page().DrawSelectionFrame();
    const auto image = shown();
    const uint32_t inverted = Rgb32(RGB(254, 253, 252));
    struct Probe {
        int x, y;
        bool marked;
    };
    // Content box 40..59 each way.
    const Probe probes[] = {{35, 50, false}, {36, 50, true}, {39, 50, true}, {40, 50, false}, {59, 50, false},
                            {60, 50, true},  {63, 50, true}, {64, 50, false}, {50, 35, false}, {50, 36, true},
                            {50, 63, true},  {50, 64, false}};
    for (const Probe& p : probes)
        EXPECT_EQ(image.at(p.x, p.y), p.marked ? inverted : Rgb32(kSentinel)) << p.x << "," << p.y;
}
// Records the rectangle each paint message of its window was handed.
std::vector<RECT> g_painted;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, w, l);
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    g_painted.push_back(ps.rcPaint);
    EndPaint(window, &ps);
    return 0;
}

TEST_F(OwnerWindowTest, InvalidatedBandIsRepaintedAndNothingElse) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "ObjectPaintingRecorder";
    RegisterClassA(&wc);
    const HWND recorder = CreateWindowExA(0, "ObjectPaintingRecorder", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 80,
                                          nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(recorder, nullptr);
    page().SetOwner(recorder, 0);
    harness_.pump();
    ValidateRect(recorder, nullptr);
    struct Case {
        int top, bottom;
        RECT painted;
    };
    // The large picture's rectangle is 40..60 each way; the band is object-relative.
    const Case cases[] = {{0, 1, {40, 40, 60, 41}}, {5, 12, {40, 45, 60, 52}}, {19, 20, {40, 59, 60, 60}}};
    const uint16_t i = at(kBig, 5);
    for (const Case& c : cases) {
        g_painted.clear();
        page().InvalidateObject(i, c.top, c.bottom);
        ASSERT_EQ(g_painted.size(), 1u) << "the band is painted at once, " << c.top;
        EXPECT_EQ(g_painted[0].left, c.painted.left) << c.top;
        EXPECT_EQ(g_painted[0].top, c.painted.top) << c.top;
        EXPECT_EQ(g_painted[0].right, c.painted.right) << c.top;
        EXPECT_EQ(g_painted[0].bottom, c.painted.bottom) << c.top;
        RECT left{};
        EXPECT_FALSE(GetUpdateRect(recorder, &left, FALSE)) << "nothing is left to paint, " << c.top;
    }
    DestroyWindow(recorder);
}

TEST_F(OwnerWindowTest, ButtonStatesDrawTheirPictures) {
    const uint16_t i = at(kButton, -1);
    struct Case {
        ButtonState state;
        int16_t pressed;
        uint8_t disabled;
        COLORREF shown;
    };
    const Case cases[] = {{ButtonState::Normal, -1, 0, kStates[0]},
                          {ButtonState::Hover, -1, 0, kStates[1]},
                          {ButtonState::Hover, static_cast<int16_t>(i), 0, kStates[2]},
                          {ButtonState::Hover, static_cast<int16_t>(i), 1, kStates[3]}};
    for (const Case& c : cases) {
        page().SetPressedObject(c.pressed);
        page().LoadObjectPictures(i);
        PageObject o = page().Object(i);
        o.disabled = c.disabled;
        page().SetObject(i, o);
        page().PaintButtonState(i, c.state, -1);
        const auto image = shown();
        EXPECT_EQ(image.at(104, 4), Rgb32(c.shown)) << static_cast<int>(c.state);
        EXPECT_EQ(writtenOutside(image, kButton), 0);
    }
}

}  // namespace
}  // namespace lect32
