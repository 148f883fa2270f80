// FLI and FLC playback: headers (speed, magic, depth, sizes), animations made by the tests'
// encoder decoded frame by frame to the pictures it was given (each chunk kind, both delta
// kinds, the ring frame and the loop to the second frame, rewinding), hand-made chunks for the
// packet rules (colour counts, cuts, count-free rows, skip and last-byte words), copying into
// images, and damaged files that end a frame with 1 instead of hanging or reading past the data.
#include <cstring>

#include "../pixmill_fixture.h"
#include "bmp_test_support.h"
#include "flic_test_support.h"

namespace {

using namespace flic_test;

class FlicStreamTest : public PixmillTest {
  protected:
    void TearDown() override {
        FLICFileRelease(stream_);
        PixmillTest::TearDown();
    }
    // Opens the bytes as a file; the open result.
    int16_t open(const Bytes& bytes) {
        FLICFileRelease(stream_);
        stream_ = nullptr;
        bmp_test::writeFile(folder_.file("a.flc"), bytes);
        return FLICFileOpen(&stream_, path().c_str());
    }
    std::string path() const { return bmp_test::windowsPath(folder_.file("a.flc")); }
    std::vector<uint8_t> frameBuffer() const {
        return {stream_->frame, stream_->frame + size_t(stream_->width) * stream_->height};
    }
    Palette palette() const {
        Palette p;
        std::memcpy(p.data(), stream_->palette, 768);
        return p;
    }
    bmp_test::TempFolder folder_;
    FlicStream* stream_ = nullptr;
};

TEST_F(FlicStreamTest, HeaderFacts) {
    struct Case {
        Kind kind;
        uint32_t speed;
        uint16_t depth;
        int16_t result;
        int32_t milliseconds;
    };
    const Case cases[] = {{kFli, 5, 8, 0, 71}, {kFli, 0, 8, 0, 20},  {kFli, 70, 0, 0, 1000},
                          {kFlc, 0, 8, 0, 20}, {kFlc, 40, 8, 0, 40}, {kFlc, 40, 16, 2, 0},
                          {kFli, 5, 24, 2, 0}, {kFlc, 5, 1, 2, 0}};
    for (const Case& c : cases) {
        Header h;
        h.kind = c.kind;
        h.speed = c.speed;
        h.depth = c.depth;
        h.frames = 7;
        h.width = 9;
        h.height = 5;
        ASSERT_EQ(open(header(h)), c.result) << c.kind << " " << c.speed << " " << c.depth;
        if (c.result != 0) {
            EXPECT_EQ(stream_, nullptr);
            continue;
        }
        EXPECT_EQ(stream_->speed, c.milliseconds);
        EXPECT_EQ(stream_->frameCount, 7);
        EXPECT_EQ(stream_->width, 9);
        EXPECT_EQ(stream_->height, 5);
        EXPECT_EQ(stream_->currentFrame, 0);
        EXPECT_EQ(stream_->paletteChanged, 1);
        EXPECT_EQ(frameBuffer(), std::vector<uint8_t>(45, 0));
    }
}

TEST_F(FlicStreamTest, FilesThatAreNotFlicsOrCannotBeHeld) {
    Bytes magic = header(Header{});
    magic[4] = 0x34;
    magic[5] = 0x12;
    EXPECT_EQ(open(magic), 1);
    const Bytes whole = header(Header{});
    EXPECT_EQ(open(Bytes(whole.begin(), whole.begin() + 60)), 1);  // short header
    Header huge;
    huge.width = 65535;
    huge.height = 65535;
    EXPECT_EQ(open(header(huge)), -1);  // 4 GB of frame buffer is refused
    EXPECT_EQ(stream_, nullptr);
    FlicStream* s = reinterpret_cast<FlicStream*>(1);
    EXPECT_EQ(FLICFileOpen(&s, bmp_test::windowsPath(folder_.file("missing.flc")).c_str()), -1);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(FLICFileOpen(nullptr, path().c_str()), -1);
    EXPECT_EQ(FLICStreamGetNextFrame(nullptr), -1);
    EXPECT_EQ(FLICFileRelease(nullptr), 0);
    EXPECT_EQ(FLICStreamSetCurFrame(nullptr), 0);
}

// Every frame of encoded animations comes out as the picture it was made from; after the ring
// frame the stream is at frame 1 and goes on with the second picture.
TEST_F(FlicStreamTest, AnimationsDecodeToTheirPictures) {
    struct Case {
        Kind kind;
        int width, height, frames;
        FirstFrame first;
    };
    const Case cases[] = {{kFli, 13, 7, 10, FirstFrame::ByteRun}, {kFlc, 13, 7, 10, FirstFrame::ByteRun},
                          {kFlc, 20, 9, 4, FirstFrame::Literal},  {kFli, 1, 1, 3, FirstFrame::Literal},
                          {kFlc, 6, 5, 3, FirstFrame::Black},     {kFli, 250, 3, 5, FirstFrame::ByteRun},
                          {kFlc, 251, 4, 5, FirstFrame::ByteRun}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.width) + "x" + std::to_string(c.height));
        std::vector<Picture> pics = pictures(c.frames, c.width, c.height, uint32_t(c.width));
        if (c.first == FirstFrame::Black) pics[0].pixels.assign(pics[0].pixels.size(), 0);
        ASSERT_EQ(open(animation(c.kind, c.width, c.height, pics, c.first)), 0);
        for (int i = 0; i < c.frames; ++i) {
            ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0) << i;
            EXPECT_EQ(stream_->currentFrame, i + 1);
            EXPECT_EQ(frameBuffer(), pics[size_t(i)].pixels) << "frame " << i;
            EXPECT_EQ(palette(), pics[size_t(i)].palette) << "frame " << i;
        }
        ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);  // the ring frame
        EXPECT_EQ(stream_->currentFrame, 1);
        EXPECT_EQ(frameBuffer(), pics[0].pixels);
        for (int round = 0; round < 2; ++round) {
            for (int i = 1; i < c.frames; ++i) {
                ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);
                EXPECT_EQ(stream_->currentFrame, i + 1);
                EXPECT_EQ(frameBuffer(), pics[size_t(i)].pixels) << "again, frame " << i;
            }
            ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);
            EXPECT_EQ(frameBuffer(), pics[0].pixels);
        }
    }
}

TEST_F(FlicStreamTest, RewindStartsAgainAtTheFirstFrame) {
    const std::vector<Picture> pics = pictures(4, 8, 6);
    ASSERT_EQ(open(animation(kFlc, 8, 6, pics)), 0);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);
    EXPECT_EQ(FLICStreamSetCurFrame(stream_), 0);
    EXPECT_EQ(stream_->currentFrame, 0);
    EXPECT_EQ(stream_->paletteChanged, 1);
    ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);
    EXPECT_EQ(frameBuffer(), pics[0].pixels);
    ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);
    EXPECT_EQ(frameBuffer(), pics[1].pixels);
}

// A prefix frame before the first frame is passed over.
TEST_F(FlicStreamTest, PrefixFramesAreSkipped) {
    Header h;
    h.width = 4;
    h.height = 2;
    const Bytes literal = chunk(16, {1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(open(file(h, {frame({chunk(18, Bytes(40, 9))}, 0xF100), frame({literal})})), 0);
    ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);
    EXPECT_EQ(frameBuffer(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

// One frame of hand-made chunks on a 6 x 3 picture.
struct ChunkCase {
    const char* what;
    std::vector<Bytes> chunks;
    std::vector<uint8_t> pixels;  // the frame buffer after it (before: 0x11 everywhere)
};

TEST_F(FlicStreamTest, PacketRules) {
    const Bytes fill = chunk(16, Bytes(18, 0x11));
    const ChunkCase cases[] = {
        {"byte run: repeat, literal",
         {chunk(15, {2, 4, 7, uint8_t(-2), 1, 2, 1, 6, 3, 1, 6, 9})},
         {7, 7, 7, 7, 1, 2, 3, 3, 3, 3, 3, 3, 9, 9, 9, 9, 9, 9}},
        {"byte run: a packet past the row's end is cut and ends the chunk",
         {chunk(15, {1, 9, 5, 1, 6, 8})},
         {5, 5, 5, 5, 5, 5, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}},
        {"byte run: packets left in a full row go on in the next",
         {chunk(15, {3, 6, 1, 3, 2, 3, 3, 1, 6, 5})},
         {1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 5, 5, 5, 5, 5, 5}},
        {"byte run: 255 after a full row drops the counts",
         {chunk(15, {9, 6, 1, 255, 3, 2, 3, 3, 6, 4})},
         {1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 4, 4, 4}},
        {"line delta: skip a line, a column skip, literal and repeat",
         {chunk(12, {1, 0, 2, 0, 1, 2, uint8_t(-3), 7, 1, 0, 2, 8, 9})},
         {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 7, 7, 7, 0x11, 8, 9, 0x11, 0x11, 0x11, 0x11}},
        {"line delta: a column skip past the end ends the chunk",
         {chunk(12, {0, 0, 2, 0, 2, 9, 1, 5, 1, 0, 1, 6})},
         {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
          0x11, 0x11}},
        {"line delta: count-free rows",
         {chunk(12, {0, 0, 3, 0, 9, 0, uint8_t(-6), 1, 255, 0, uint8_t(-6), 2, 0, uint8_t(-6), 3})},
         {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3}},
        {"word delta: skip words and a last-byte word",
         {chunk(7, {2,   0,   0xFF, 0xFF, 0x5A, 0x80, 1, 0,           2,   1,
                    0xA, 0xB, 0xFE, 0xFF, 1,    0,    0, uint8_t(-3), 0xC, 0xD})},
         {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0xA, 0xB, 0x11, 0x5A, 0x11, 0x11, 0x11, 0x11, 0x11,
          0x11}},
        {"word delta: a skip of two lines, words cut at the edge",
         {chunk(7, {1, 0, 0xFE, 0xFF, 1, 0, 4, 2, 1, 2, 3, 4})},
         {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 1,
          2}},
        {"black", {chunk(13, {})}, std::vector<uint8_t>(18, 0)},
        {"unknown chunks are skipped",
         {chunk(99, {1, 2, 3}), chunk(18, Bytes(30, 7))},
         std::vector<uint8_t>(18, 0x11)},
    };
    for (const ChunkCase& c : cases) {
        Header h;
        h.width = 6;
        h.height = 3;
        std::vector<Bytes> chunks{fill};
        chunks.insert(chunks.end(), c.chunks.begin(), c.chunks.end());
        ASSERT_EQ(open(file(h, {frame(chunks)})), 0) << c.what;
        EXPECT_EQ(FLICStreamGetNextFrame(stream_), 0) << c.what;
        EXPECT_EQ(frameBuffer(), c.pixels) << c.what;
    }
}

TEST_F(FlicStreamTest, ColourPackets) {
    struct Case {
        const char* what;
        uint16_t type;
        Bytes data;
        std::vector<std::pair<int, std::array<uint8_t, 3>>> entries;
    };
    Bytes all{1, 0, 0, 0};
    for (int i = 0; i < 256; ++i) all.insert(all.end(), {uint8_t(i), uint8_t(255 - i), 1});
    const Case cases[] = {
        {"a count of 0 is 256", 4, all, {{0, {0, 255, 1}}, {255, {255, 0, 1}}}},
        {"64 levels: 63 is 252", 11, {1, 0, 5, 1, 63, 1, 32}, {{5, {252, 4, 128}}, {4, {0, 0, 0}}}},
        {"skips add up",
         4,
         {2, 0, 3, 1, 1, 2, 3, 2, 1, 4, 5, 6},
         {{3, {1, 2, 3}}, {6, {4, 5, 6}}, {5, {0, 0, 0}}}},
        {"cut at 256 ends the chunk",
         4,
         {2, 0, 254, 4, 9, 9, 9, 8, 8, 8, 7, 7, 7, 6, 6, 6, 0, 1, 5, 5, 5},
         {{254, {9, 9, 9}}, {255, {8, 8, 8}}, {0, {0, 0, 0}}}},
    };
    for (const Case& c : cases) {
        Header h;
        h.width = 2;
        h.height = 2;
        ASSERT_EQ(open(file(h, {frame({chunk(c.type, c.data)})})), 0);
        ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0) << c.what;
        EXPECT_EQ(stream_->paletteChanged, 1) << c.what;
        for (const auto& [index, rgb] : c.entries) {
            EXPECT_EQ(std::memcmp(stream_->palette + 3 * index, rgb.data(), 3), 0)
                << c.what << ": entry " << index;
        }
    }
}

TEST_F(FlicStreamTest, FillingImages) {
    std::vector<Picture> pics = pictures(3, 5, 4);
    pics[2].palette = pics[1].palette;
    ASSERT_EQ(open(animation(kFlc, 5, 4, pics)), 0);
    const PxlImageId image = PXLCreateImage(5, 4, 8);
    const PxlImageId deep = PXLCreateImage(5, 4, 24), other = PXLCreateImage(4, 5, 8);
    EXPECT_EQ(FLICStreamFillImage8(stream_, deep, 0), -1);
    EXPECT_EQ(FLICStreamFillImage8(stream_, other, 0), -1);
    EXPECT_EQ(FLICStreamFillImage8(stream_, 0, 0), -1);
    EXPECT_EQ(FLICStreamFillImage8(stream_, 999, 0), -1);
    EXPECT_EQ(FLICStreamFillImage8(nullptr, image, 0), -1);
    auto expectImage = [&](const Picture& p, const Palette& colours) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) {
                const int index = PXLGetColorIndexFromPalette(image, 0) * 0 + [&] {
                    pixmill::ImageLock im = pixmill::lockImage(image, pixmill::Access::Read);
                    return pixmill::rowFromTop(*im, y)[x];
                }();
                EXPECT_EQ(index, p.pixels[size_t(y * 5 + x)]) << x << "," << y;
            }
        for (int i = 0; i < 256; i += 51) {
            EXPECT_EQ(
                PXLGetColorFromPalette(image, i),
                int32_t(RGB(colours[size_t(3 * i)], colours[size_t(3 * i + 1)], colours[size_t(3 * i + 2)])))
                << i;
        }
    };
    ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);
    ASSERT_EQ(FLICStreamFillImage8(stream_, image, 1), 0);
    expectImage(pics[0], pics[0].palette);
    ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);  // new colours
    ASSERT_EQ(FLICStreamFillImage8(stream_, image, 1), 0);
    expectImage(pics[1], pics[1].palette);
    // Unchanged colours: with the flag the image's palette is left, without it written.
    PxlImageId probe = image;
    PXLSetColorToPalette(probe, 0, RGB(1, 2, 3));
    ASSERT_EQ(FLICStreamGetNextFrame(stream_), 0);
    EXPECT_EQ(stream_->paletteChanged, 0);
    ASSERT_EQ(FLICStreamFillImage8(stream_, image, 1), 0);
    EXPECT_EQ(PXLGetColorFromPalette(image, 0), int32_t(RGB(1, 2, 3)));
    ASSERT_EQ(FLICStreamFillImage8(stream_, image, 0), 0);
    expectImage(pics[2], pics[2].palette);
}

// Files cut at every length, and frames or chunks whose sizes cannot be right: each call ends
// with 0 or 1, and a frame that runs out of data ends with 1.
TEST_F(FlicStreamTest, DamagedFilesEndFramesWithFailure) {
    const Bytes whole = animation(kFlc, 9, 5, pictures(3, 9, 5));
    for (size_t length = 128; length < whole.size(); ++length) {
        ASSERT_EQ(open(Bytes(whole.begin(), whole.begin() + long(length))), 0);
        bool failed = false;
        for (int call = 0; call < 8; ++call) {
            const int16_t r = FLICStreamGetNextFrame(stream_);
            ASSERT_TRUE(r == 0 || r == 1) << length;
            failed = failed || r == 1;
        }
        EXPECT_TRUE(failed) << "a file cut at " << length << " played on";
    }
    Header h;
    h.width = 4;
    h.height = 2;
    const Bytes literal = chunk(16, Bytes(8, 1));
    struct Case {
        const char* what;
        Bytes file;
    };
    Bytes endless{1, 0};  // one line of skip words up to the end of the file
    for (int i = 0; i < 50; ++i) endless.insert(endless.end(), {0xFF, 0xFF});
    const Case cases[] = {
        {"a chunk of size 0", file(h, {frame({chunk(16, Bytes(8, 1), 0), literal})})},
        {"a chunk of size 5", file(h, {frame({chunk(16, Bytes(8, 1), 5)})})},
        {"a frame of size 0", file(h, {frame({literal}, 0xF1FA, 0)})},
        {"a frame of size 15", file(h, {frame({literal}, 0xF1FA, 15)})},
        {"a prefix frame of size 0", file(h, {frame({}, 0xF100, 0), frame({literal})})},
        {"an unknown frame type", file(h, {frame({literal}, 0x1234)})},
        {"more chunks than the frame holds",
         [&] {
             Bytes f = frame({literal});
             f[6] = 5;
             return file(h, {f});
         }()},
        {"skip words up to the end", file(h, {frame({chunk(7, endless)})})},
        {"a literal chunk longer than the file", file(h, {frame({chunk(16, Bytes(5, 1), 14)})})},
        {"no frames at all", file(h, {})},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(open(c.file), 0) << c.what;
        EXPECT_EQ(FLICStreamGetNextFrame(stream_), 1) << c.what;
    }
}

}  // namespace
