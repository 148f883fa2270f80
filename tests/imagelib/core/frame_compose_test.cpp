// Frames composed onto a canvas with the disposal rules, against a model of those rules: the
// area of a frame with disposal 2 is painted with the background (colour or image) before the
// next frame, one with disposal 3 gets back what was under it, a restart treats "previous" as
// background, and the last call (index -1) applies the last frame's disposal. Also the scaled
// frame areas, frames without composition state, transparency, and PXLBitBltFrame's offsets.
#include <memory>
#include <vector>

#include "../pixmill_fixture.h"

namespace {

using FrameCompose = PixmillTest;
using pixmill::Access;
using pixmill::lockImage;

uint32_t colourAt(PxlImageId id, int x, int y) {
    pixmill::ImageLock image = lockImage(id, Access::Read);
    const uint8_t* row = pixmill::rowFromTop(*image, y);
    return uint32_t{row[3 * x + 2]} << 16 | uint32_t{row[3 * x + 1]} << 8 | row[3 * x];
}

std::vector<uint32_t> colours(PxlImageId id) {
    std::vector<uint32_t> out;
    for (int y = 0; y < PXLHeight(id); ++y)
        for (int x = 0; x < PXLWidth(id); ++x) out.push_back(colourAt(id, x, y));
    return out;
}

struct FrameSpec {
    int left, top, width, height, disposal;
    uint32_t colour;  // 0x00RRGGBB of every pixel
};

PxlImageId solid(int width, int height, uint32_t c) {
    return make24(
        width, height,
        std::vector<Rgb>(size_t(width * height), Rgb{int(c >> 16), int(c >> 8 & 255), int(c & 255)}));
}

// An animation of solid frames on a screen of the given size.
PxlImageId animation(const std::vector<FrameSpec>& specs, int screenWidth, int screenHeight) {
    PxlImageId first = 0;
    for (const FrameSpec& s : specs) {
        const PxlImageId frame = solid(s.width, s.height, s.colour);
        {
            pixmill::ImageLock record = lockImage(frame, Access::Write);
            record->left = s.left;
            record->top = s.top;
            record->disposal = s.disposal;
            record->screenWidth = screenWidth;
            record->screenHeight = screenHeight;
        }
        if (first == 0) {
            first = frame;
        } else {
            EXPECT_EQ(PXLAddImageFrame(first, frame, -1), 1);
        }
    }
    return first;
}

// The disposal rules on a plain canvas of colours, frame after frame.
class Model {
  public:
    Model(int width, int height, uint32_t canvas, uint32_t background)
        : width_(width), height_(height), pixels_(size_t(width * height), canvas), background_(background) {}

    void compose(const FrameSpec& f) {
        disposeLast();
        if (f.disposal == 3) saved_ = pixels_;
        fill(f, f.colour);
        last_ = f;
    }
    void finish() {
        disposeLast();
        last_.reset();
    }
    const std::vector<uint32_t>& pixels() const { return pixels_; }

  private:
    void disposeLast() {
        if (!last_) return;
        if (last_->disposal == 2) fill(*last_, background_);
        if (last_->disposal == 3) pixels_ = saved_;
    }
    void fill(const FrameSpec& f, uint32_t c) {
        for (int y = f.top; y < f.top + f.height; ++y)
            for (int x = f.left; x < f.left + f.width; ++x)
                if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(y * width_ + x)] = c;
    }
    int width_, height_;
    std::vector<uint32_t> pixels_, saved_;
    uint32_t background_;
    std::optional<FrameSpec> last_;
};

int16_t compose(PxlImageId canvas, PxlImageId first, int index, COLORREF background, PxlImageId image = 0,
                int right = 12, int bottom = 10) {
    return PXLStretchBltFrame(canvas, 0, 0, right, bottom, first, int16_t(index), 0, 0, 0, 0, 0, 0, 0,
                              background, image);
}

const COLORREF kBackground = RGB(0x10, 0x20, 0x30);  // 0x102030 in the model

TEST_F(FrameCompose, EveryDisposalAgainstTheModel) {
    const std::vector<FrameSpec> specs = {{0, 0, 12, 10, 1, 0xAAAAAA}, {2, 1, 5, 4, 2, 0xFF0000},
                                          {4, 3, 6, 5, 3, 0x00FF00},   {1, 2, 3, 3, 0, 0x0000FF},
                                          {6, 0, 6, 6, 3, 0xFFFF00},   {0, 5, 12, 5, 2, 0x00FFFF},
                                          {3, 3, 2, 2, 1, 0xFF00FF}};
    const PxlImageId first = animation(specs, 12, 10);
    const PxlImageId canvas = solid(12, 10, 0x777777);
    Model model(12, 10, 0x777777, 0x102030);
    for (size_t i = 0; i < specs.size(); ++i) {
        EXPECT_EQ(compose(canvas, first, int(i), kBackground), 0);
        model.compose(specs[i]);
        ASSERT_EQ(colours(canvas), model.pixels()) << "after frame " << i;
    }
    compose(canvas, first, -1, kBackground);
    model.finish();
    EXPECT_EQ(colours(canvas), model.pixels()) << "after the last disposal";
}

// Frame 1 after a frame 0 with disposal 2: frame 0's area, and nothing around it, is painted.
TEST_F(FrameCompose, DisposalTwoPaintsExactlyTheFrameArea) {
    const PxlImageId first = animation({{3, 2, 4, 3, 2, 0xFFFFFF}, {0, 0, 1, 1, 1, 0x000001}}, 12, 10);
    const PxlImageId canvas = solid(12, 10, 0x777777);
    compose(canvas, first, 0, kBackground);
    compose(canvas, first, 1, kBackground);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool area = x >= 3 && x < 7 && y >= 2 && y < 5;
            const uint32_t want = x == 0 && y == 0 ? 0x000001 : area ? 0x102030 : 0x777777;
            EXPECT_EQ(colourAt(canvas, x, y), want) << x << "," << y;
        }
}

TEST_F(FrameCompose, DisposalTwoWithABackgroundImage) {
    const PxlImageId first = animation({{3, 2, 4, 3, 2, 0xFFFFFF}, {0, 0, 1, 1, 1, 0x000001}}, 12, 10);
    std::vector<Rgb> p;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) p.push_back({x * 20, y * 20, 99});
    const PxlImageId background = make24(12, 10, p);
    const PxlImageId canvas = solid(12, 10, 0x777777);
    compose(canvas, first, 0, kBackground, background);
    compose(canvas, first, 1, kBackground, background);
    for (int y = 2; y < 5; ++y)
        for (int x = 3; x < 7; ++x)
            EXPECT_EQ(colourAt(canvas, x, y), colourAt(background, x, y)) << x << "," << y;
    EXPECT_EQ(colourAt(canvas, 7, 2), 0x777777u);
}

// Starting again at frame 0 after a frame with disposal 3 paints its area with the background
// instead of giving back what was under it, and the saved area goes.
TEST_F(FrameCompose, ARestartTreatsPreviousAsBackground) {
    const PxlImageId first = animation({{0, 0, 2, 2, 1, 0xAAAAAA}, {4, 4, 3, 3, 3, 0xFF0000}}, 12, 10);
    const PxlImageId canvas = solid(12, 10, 0x777777);
    compose(canvas, first, 0, kBackground);
    compose(canvas, first, 1, kBackground);
    EXPECT_EQ(PXLGetImageFramesNum(first), 2);
    {
        pixmill::ImageLock head = lockImage(first, Access::Read);
        EXPECT_NE(head->savedArea, 0);
        EXPECT_EQ(head->lastDisposal, 3);
    }
    compose(canvas, first, 0, kBackground);
    EXPECT_EQ(colourAt(canvas, 5, 5), 0x102030u);
    pixmill::ImageLock head = lockImage(first, Access::Read);
    EXPECT_EQ(head->savedArea, 0);
    EXPECT_EQ(head->lastDisposal, 1);
    EXPECT_EQ(pixmill::liveImageCount(), 3u);  // two frames and the canvas
}

// The saved area given up on a restart is the first frame's no more: a mask built for a
// transparent first frame in the same call may take its id, and must survive the call.
TEST_F(FrameCompose, ARestartGivesUpTheSavedAreaOnce) {
    const PxlImageId first = animation({{0, 0, 2, 2, 1, 0xAAAAAA}, {4, 4, 3, 3, 3, 0xFF0000}}, 12, 10);
    const PxlTransparencyEntry grey{0xAA, 0xAA, 0xAA, 0, PXL_TRANSPARENT_COLOR, 0, 0};
    ASSERT_EQ(PXLSetImageTransparent(first, &grey, 1), 1);
    const PxlImageId canvas = solid(12, 10, 0x777777);
    compose(canvas, first, 1, kBackground);
    ASSERT_NE(lockImage(first, Access::Read)->savedArea, 0);
    PXLClearTemporaryImages(first);  // the mask goes, so the next one is built during the restart
    compose(canvas, first, 0, kBackground);
    const PxlImageId mask = lockImage(first, Access::Read)->mask;
    ASSERT_NE(mask, 0);
    EXPECT_NE(PXLWidth(mask), 0) << "the first frame's mask was freed as the old saved area";
    EXPECT_EQ(pixmill::liveImageCount(), 4u);  // two frames, the mask and the canvas
}

// A first frame with disposal 3 is remembered as 2: there is nothing before it to go back to.
TEST_F(FrameCompose, PreviousOnTheFirstFrameIsBackground) {
    const PxlImageId first = animation({{1, 1, 3, 3, 3, 0xFF0000}, {8, 8, 1, 1, 1, 0x00FF00}}, 12, 10);
    const PxlImageId canvas = solid(12, 10, 0x777777);
    compose(canvas, first, 0, kBackground);
    compose(canvas, first, 1, kBackground);
    EXPECT_EQ(colourAt(canvas, 2, 2), 0x102030u);
}

// Screen 10 x 10 shown on 15 x 15: positions and sizes scale by 1.5 and round half away from
// zero by the sign of the frame's position.
TEST_F(FrameCompose, ScaledAreasRoundHalfAwayFromZero) {
    struct Case {
        int left, top, width, height;
        int areaLeft, areaTop, areaRight, areaBottom;
    };
    const Case cases[] = {
        {3, 1, 3, 1, 5, 2, 10, 4},   // 4.5 + 0.5 -> 5, 1.5 + 0.5 -> 2; sizes 4.5 -> 5, 1.5 -> 2
        {-3, 0, 5, 2, -5, 0, 2, 3},  // -4.5 - 0.5 -> -5, and the width 7.5 - 0.5 -> 7; 3 + 0.5 -> 3
        {0, -1, 2, 3, 0, -2, 3, 2},  // -1.5 - 0.5 -> -2, the height 4.5 - 0.5 -> 4; 3 + 0.5 -> 3
    };
    for (const Case& c : cases) {
        const PxlImageId first =
            animation({{c.left, c.top, c.width, c.height, 2, 0xFFFFFF}, {0, 0, 1, 1, 1, 0x000001}}, 10, 10);
        const PxlImageId canvas = solid(15, 15, 0x777777);
        PXLStretchBltFrame(canvas, 0, 0, 15, 15, first, 0, 0, 0, 0, 0, 0, 0, 0, kBackground, 0);
        pixmill::ImageLock head = lockImage(first, Access::Read);
        // The stored area starts inside the canvas.
        EXPECT_EQ(head->lastArea[0], std::max(c.areaLeft, 0)) << c.left;
        EXPECT_EQ(head->lastArea[1], std::max(c.areaTop, 0)) << c.top;
        EXPECT_EQ(head->lastArea[2], c.areaRight) << c.left;
        EXPECT_EQ(head->lastArea[3], c.areaBottom) << c.top;
        head.release();
        PXLDeleteImage(first);
        PXLDeleteImage(canvas);
    }
}

// An image that belongs to no chain keeps no state: it is simply drawn.
TEST_F(FrameCompose, AnImageWithoutAChainHasNoState) {
    const PxlImageId lone = solid(2, 2, 0xFF0000);
    {
        pixmill::ImageLock record = lockImage(lone, Access::Write);
        record->disposal = 2;
        record->left = 1;
        record->top = 1;
    }
    const PxlImageId canvas = solid(6, 6, 0x777777);
    compose(canvas, lone, 0, kBackground, 0, 6, 6);
    compose(canvas, lone, -1, kBackground, 0, 6, 6);
    EXPECT_EQ(colourAt(canvas, 1, 1), 0xFF0000u);  // not painted over
    pixmill::ImageLock record = lockImage(lone, Access::Read);
    EXPECT_EQ(record->lastDisposal, 0);
}

TEST_F(FrameCompose, TransparentPixelsLeaveTheCanvas) {
    const PxlImageId first = PXLCreateImage(3, 1, 8);
    PALETTEENTRY table[256] = {};
    table[1] = {255, 0, 0, 0};
    table[2] = {0, 0, 255, 0};
    PXLSetNewPalette(first, table, 256);
    {
        pixmill::ImageLock record = lockImage(first, Access::Write);
        uint8_t* row = pixmill::rowFromTop(*record, 0);
        row[0] = 1;
        row[1] = 2;
        row[2] = 1;
        record->screenWidth = 3;
        record->screenHeight = 1;
        record->firstFrame = first;
    }
    const PxlTransparencyEntry entry{0, 0, 2, 0, PXL_TRANSPARENT_INDEX, 0, 0};
    PXLSetImageTransparent(first, &entry, 1);
    const PxlImageId canvas = solid(3, 1, 0x777777);
    compose(canvas, first, 0, kBackground, 0, 3, 1);
    EXPECT_EQ(colours(canvas), (std::vector<uint32_t>{0xFF0000, 0x777777, 0xFF0000}));
}

// Frames from..to, clamped to the chain, and the last disposal unless asked not to.
TEST_F(FrameCompose, RenderFramesClampsAndFinishes) {
    const std::vector<FrameSpec> specs = {
        {0, 0, 12, 10, 1, 0xAAAAAA}, {2, 2, 3, 3, 1, 0xFF0000}, {6, 5, 4, 4, 2, 0x00FF00}};
    for (int16_t noFinish : {0, 1}) {
        const PxlImageId first = animation(specs, 12, 10);
        const PxlImageId canvas = solid(14, 12, 0x777777);
        EXPECT_EQ(PXLRenderFrames(first, canvas, 1, 2, -4, 99, kBackground, 0, noFinish), 1);
        EXPECT_EQ(colourAt(canvas, 3, 4), 0xFF0000u);  // frame 1 at (2, 2) + (1, 2)
        EXPECT_EQ(colourAt(canvas, 7, 7), noFinish ? 0x00FF00u : 0x102030u) << noFinish;
        EXPECT_EQ(colourAt(canvas, 0, 0), 0x777777u);  // outside the screen
        PXLDeleteImage(first);
        PXLDeleteImage(canvas);
    }
    EXPECT_EQ(PXLRenderFrames(0, 1, 0, 0, 0, 0, 0, 0, 0), 0);
}

TEST_F(FrameCompose, BitBltFrameDrawsAtItsOffset) {
    struct DcDeleter {
        void operator()(HDC__* dc) const { DeleteDC(dc); }
    };
    std::unique_ptr<HDC__, DcDeleter> dc(winplat::testing::createDisplayDc(40, 40, 24));
    const PxlImageId first = animation({{0, 0, 4, 4, 1, 0xFF0000}, {5, 6, 2, 3, 1, 0x00FF00}}, 12, 10);
    EXPECT_EQ(PXLBitBltFrame(dc.get(), 10, 20, 0, 0, first, 1, 0, 0, 40, 40, PXL_DRAW_WHOLE, SRCCOPY, 0), 1);
    EXPECT_EQ(GetPixel(dc.get(), 15, 26), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc.get(), 16, 28), RGB(0, 255, 0));
    EXPECT_NE(GetPixel(dc.get(), 17, 26), RGB(0, 255, 0));
    EXPECT_NE(GetPixel(dc.get(), 14, 26), RGB(0, 255, 0));
    EXPECT_EQ(PXLBitBltFrame(dc.get(), 0, 0, 0, 0, first, -1, 0, 0, 40, 40, PXL_DRAW_WHOLE, SRCCOPY, 0), 1);
    EXPECT_EQ(GetPixel(dc.get(), 3, 3), RGB(255, 0, 0));
}

}  // namespace
