// The GIF writer: files read back by the library's reader pixel for pixel at every depth, width
// and interlacing; the LZW code stream against the tests' reference encoder (so the end code has
// the width a decoder expects at every table size); the blocks written for each option; the
// shortened colour table; texts in sub-blocks; failed writes and refused depths.
#include <fstream>

#include "formats/gif_codec.h"
#include "gif_writer_support.h"

namespace {

using namespace gif_writer_test;
using codec_test::CodecRun;
using codec_test::pixelValues;
using pixmill::PxlCodecInfo;

std::vector<int32_t> blockKinds(const Bytes& bytes) {
    bmp_test::TempFolder folder;
    bmp_test::writeFile(folder.file("b.gif"), bytes);
    const std::string path = bmp_test::windowsPath(folder.file("b.gif"));
    std::vector<PxlGifBlockEntry> entries(pixmill::listGifBlocks(path.c_str(), nullptr, 0));
    pixmill::listGifBlocks(path.c_str(), entries.data(), entries.size());
    std::vector<int32_t> kinds;
    for (const PxlGifBlockEntry& e : entries) kinds.push_back(e.kind);
    return kinds;
}

std::vector<uint32_t> asValues(const std::vector<uint8_t>& pixels) {
    return {pixels.begin(), pixels.end()};
}

// The LZW data of the first image: the sub-blocks after its minimum code size, joined.
Bytes imageData(const Bytes& file, int& minimumCodeSize) {
    const int tableBits = (file.at(10) & 7) + 1;
    size_t at = 13 + (3u << tableBits);
    while (file.at(at) != 0x2C) {  // extensions before the image
        at += 2;
        while (file.at(at) != 0) at += 1 + file.at(at);
        ++at;
    }
    at += 10;
    if (file.at(at - 1) & 0x80) at += 3u << ((file.at(at - 1) & 7) + 1);
    minimumCodeSize = file.at(at++);
    Bytes data;
    while (file.at(at) != 0) {
        const size_t n = file.at(at);
        data.insert(data.end(), file.begin() + static_cast<long>(at + 1),
                    file.begin() + static_cast<long>(at + 1 + n));
        at += 1 + n;
    }
    return data;
}

TEST(GifWriter, FilesReadBackPixelForPixel) {
    for (int bits : {1, 2, 3, 4, 5, 8}) {
        for (bool interlaced : {false, true}) {
            for (int width = 1; width <= 17; ++width) {
                const int height = 1 + (width * 5) % 11;  // 1..11 rows: every interlace pass shape
                SCOPED_TRACE("bits " + std::to_string(bits) + (interlaced ? " interlaced" : "") + " width " +
                             std::to_string(width) + " height " + std::to_string(height));
                PxlCodecInfo info = frameRecord(width, height, bits);
                info.option1 = interlaced ? 0x80 : 0;
                const std::vector<uint8_t> pixels = gif_test::pattern(width, height, 1 << bits, bits);
                const Written w = writeGif(info, pixels);
                ASSERT_EQ(w.result, 0);
                EXPECT_EQ(w.rowsFetched, height);
                const CodecRun r = gif_test::readGif(w.bytes);
                ASSERT_TRUE(r.ok());
                EXPECT_EQ(r.info.width, width);
                EXPECT_EQ(r.info.height, height);
                EXPECT_EQ((r.info.flags & 0x40) != 0, interlaced);
                EXPECT_EQ(pixelValues(r), asValues(pixels));
            }
        }
    }
}

// Every pixel count from 1 up to where the table has passed 2^11 entries (4 colours up to 9-bit
// codes, 256 colours from 9 to 12 bits): the code stream is the reference encoder's, whose end
// code has the width of a decoder that added the string of the last code.
TEST(GifWriter, CodeStreamsMatchTheReferenceEncoderAtEveryLength) {
    struct Case {
        int bits, longest;
    };
    for (const Case c : {Case{2, 600}, Case{8, 2100}}) {
        const std::vector<uint8_t> all = noise(c.longest, 1 << c.bits, static_cast<uint32_t>(c.bits));
        for (int count = 1; count <= c.longest; ++count) {
            const std::vector<uint8_t> pixels(all.begin(), all.begin() + count);
            const Written w = writeGif(frameRecord(count, 1, c.bits), pixels);
            ASSERT_EQ(w.result, 0);
            int codeSize = 0;
            const Bytes data = imageData(w.bytes, codeSize);
            ASSERT_EQ(codeSize, c.bits) << count;
            ASSERT_EQ(data, gif_test::lzwEncode(pixels, codeSize))
                << "bits " << c.bits << ", " << count << " pixels";
        }
    }
}

// Noise makes the table fill many times; each time the writer clears it.
TEST(GifWriter, NoiseThatFillsTheTableManyTimes) {
    for (int bits : {1, 4, 8}) {
        const std::vector<uint8_t> pixels = noise(160 * 150, 1 << bits, 7);
        const Written w = writeGif(frameRecord(160, 150, bits), pixels);
        ASSERT_EQ(w.result, 0);
        const CodecRun r = gif_test::readGif(w.bytes);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(pixelValues(r), asValues(pixels)) << bits;
    }
}

TEST(GifWriter, APlainImageHasNoGraphicControlOrLoop) {
    using K = std::vector<int32_t>;
    const std::vector<uint8_t> pixels = gif_test::pattern(5, 3, 16);
    const Written plain = writeGif(frameRecord(5, 3, 4), pixels);
    ASSERT_EQ(plain.result, 0);
    EXPECT_EQ(blockKinds(plain.bytes),
              (K{PXL_GIF_BLOCK_HEADER, PXL_GIF_BLOCK_GLOBAL_TABLE, PXL_GIF_BLOCK_IMAGE}));
    EXPECT_EQ(gif_test::readGif(plain.bytes).info.repeatCount, -1);
    EXPECT_EQ(plain.bytes.back(), 0x3B);

    PxlCodecInfo transparent = frameRecord(5, 3, 4);
    transparent.transparency = pixmill::kIndexTransparency | 9 << 16;
    const Written t = writeGif(transparent, pixels);
    ASSERT_EQ(t.result, 0);
    EXPECT_EQ(blockKinds(t.bytes), (K{PXL_GIF_BLOCK_HEADER, PXL_GIF_BLOCK_GLOBAL_TABLE,
                                      PXL_GIF_BLOCK_GRAPHIC_CONTROL, PXL_GIF_BLOCK_IMAGE}));
    const size_t control = 13 + 48;
    EXPECT_EQ(Bytes(t.bytes.begin() + control, t.bytes.begin() + control + 8),
              (Bytes{0x21, 0xF9, 4, 0x01, 0, 0, 9, 0}));  // flag 1, delay 0, disposal 0, index 9

    // A frame of an animation: the control block without transparency, with delay and disposal.
    PxlCodecInfo frame = frameRecord(5, 3, 4);
    frame.gifFrameWord = 1;
    frame.frameDelay = 0x1234;
    frame.controlWord = 3;
    const Written f = writeGif(frame, pixels);
    EXPECT_EQ(Bytes(f.bytes.begin() + control, f.bytes.begin() + control + 8),
              (Bytes{0x21, 0xF9, 4, 3 << 2, 0x34, 0x12, 0, 0}));
    const CodecRun r = gif_test::readGif(f.bytes);
    EXPECT_EQ(r.info.frameDelay, 0x1234);
    EXPECT_EQ(r.info.controlWord, 3);
}

TEST(GifWriter, LoopBlockForEveryRepeatCountButNone) {
    struct Case {
        int16_t repeat;
        bool written;
    };
    for (const Case c : {Case{-1, false}, Case{0, true}, Case{7, true}, Case{0x7FFF, true}}) {
        PxlCodecInfo info = frameRecord(3, 2, 1);
        info.repeatCount = c.repeat;
        const Written w = writeGif(info, gif_test::pattern(3, 2, 2));
        ASSERT_EQ(w.result, 0);
        const std::vector<int32_t> kinds = blockKinds(w.bytes);
        EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PXL_GIF_BLOCK_APPLICATION), c.written ? 1 : 0)
            << c.repeat;
        EXPECT_EQ(gif_test::readGif(w.bytes).info.repeatCount, c.repeat);
    }
}

// Entries from the end that repeat entry 0 are left out of the table; the colour resolution
// still tells the depth.
TEST(GifWriter, TrailingCopiesOfTheFirstEntryShortenTheTable) {
    struct Case {
        int kept;         // entries before the copies of entry 0
        int transparent;  // -1 none
        int expectedBits;
    };
    for (const Case c : {Case{16, -1, 4}, Case{1, -1, 1}, Case{2, -1, 1}, Case{3, -1, 2}, Case{129, -1, 8},
                         Case{16, 200, 8}, Case{1, 3, 2}}) {
        PxlCodecInfo info = frameRecord(4, 4, 8);
        for (int i = c.kept; i < 256; ++i)
            info.setPaletteEntry(i, info.palette[0], info.palette[1], info.palette[2]);
        if (c.transparent >= 0)
            info.transparency = pixmill::kIndexTransparency | uint32_t(c.transparent) << 16;
        const std::vector<uint8_t> pixels = gif_test::pattern(4, 4, std::max(c.kept, 1));
        const Written w = writeGif(info, pixels);
        ASSERT_EQ(w.result, 0);
        EXPECT_EQ(w.bytes.at(10), 0x80 | 7 << 4 | (c.expectedBits - 1)) << c.kept << " " << c.transparent;
        EXPECT_EQ(pixmill::gifTableBits(info.palette, 8, c.transparent), c.expectedBits);
        // The table ends where the next block begins.
        const size_t next = 13 + (3u << c.expectedBits);
        EXPECT_TRUE(w.bytes.at(next) == 0x2C || w.bytes.at(next) == 0x21) << c.kept;
    }
}

// A pixel of an entry left out of the table is written as entry 0, which has its colour; a
// reader would otherwise see an index past the table.
TEST(GifWriter, PixelsOfLeftOutEntriesAreWrittenAsEntryZero) {
    PxlCodecInfo info = frameRecord(4, 2, 8);
    for (int i = 16; i < 256; ++i) info.setPaletteEntry(i, info.palette[0], info.palette[1], info.palette[2]);
    const std::vector<uint8_t> pixels{1, 200, 15, 16, 255, 0, 3, 17};
    const Written w = writeGif(info, pixels);
    ASSERT_EQ(w.result, 0);
    const CodecRun r = gif_test::readGif(w.bytes);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(pixelValues(r), (std::vector<uint32_t>{1, 0, 15, 0, 0, 0, 3, 0}));
}

TEST(GifWriter, TitlesThatAreOnlySeparatorsAreLeftOut) {
    struct Case {
        std::optional<std::string> title;
        std::optional<std::string> read;
    };
    const Case cases[] = {{"||", std::nullopt},
                          {"|", std::nullopt},
                          {"", std::nullopt},
                          {std::nullopt, std::nullopt},
                          {"a|", "a|"},
                          {"|b", "|b"},
                          {std::string(300, 'x'), std::string(300, 'x')}};
    for (const Case& c : cases) {
        PxlCodecInfo info = frameRecord(2, 2, 1);
        info.title = c.title;
        const Written w = writeGif(info, gif_test::pattern(2, 2, 2));
        ASSERT_EQ(w.result, 0);
        const std::vector<int32_t> kinds = blockKinds(w.bytes);
        EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PXL_GIF_BLOCK_APPLICATION), c.read ? 1 : 0);
        EXPECT_EQ(gif_test::readGif(w.bytes).info.title, c.read);
    }
}

// The animation text goes after the image as a comment: 255 characters in one sub-block, 256 in
// 255 and 1.
TEST(GifWriter, TextsAreSplitIntoSubBlocksOf255) {
    for (size_t length : {size_t{1}, size_t{254}, size_t{255}, size_t{256}, size_t{511}}) {
        PxlCodecInfo info = frameRecord(1, 1, 1);
        info.text = std::string(length, 't');
        const Written w = writeGif(info, {1});
        ASSERT_EQ(w.result, 0);
        Bytes expected{0x21, 0xFE};
        for (size_t left = length; left > 0; left -= std::min<size_t>(left, 255)) {
            expected.push_back(static_cast<uint8_t>(std::min<size_t>(left, 255)));
            expected.insert(expected.end(), std::min<size_t>(left, 255), 't');
        }
        expected.insert(expected.end(), {0, 0x3B});
        ASSERT_GE(w.bytes.size(), expected.size());
        EXPECT_EQ(Bytes(w.bytes.end() - static_cast<long>(expected.size()), w.bytes.end()), expected)
            << length;
        EXPECT_EQ(gif_test::readGif(w.bytes).info.text, info.text);
    }
}

// The text block: its 81 field bytes and 4 zero bytes as one sub-block of 85, then its text;
// comment and text block come before the image and travel with the frame.
TEST(GifWriter, CommentAndTextBlockBeforeTheImage) {
    PxlCodecInfo info = frameRecord(3, 1, 4);
    pixmill::TextBlock block;
    for (size_t i = 0; i < block.parameters.size(); ++i) block.parameters[i] = static_cast<uint8_t>(i + 1);
    block.text = std::string(260, 'k');
    info.textBlock = block;
    info.comment = "a comment";
    const Written w = writeGif(info, {1, 2, 3});
    ASSERT_EQ(w.result, 0);
    const std::vector<int32_t> kinds = blockKinds(w.bytes);
    EXPECT_EQ(kinds,
              (std::vector<int32_t>{PXL_GIF_BLOCK_HEADER, PXL_GIF_BLOCK_GLOBAL_TABLE, PXL_GIF_BLOCK_COMMENT,
                                    PXL_GIF_BLOCK_APPLICATION, PXL_GIF_BLOCK_IMAGE}));
    const std::string id = "KVATEXTI4.0";
    const auto at = std::search(w.bytes.begin(), w.bytes.end(), id.begin(), id.end());
    ASSERT_NE(at, w.bytes.end());
    const Bytes record(at + 11, at + 11 + 86);
    EXPECT_EQ(record[0], 85);
    EXPECT_TRUE(std::equal(block.parameters.begin(), block.parameters.end(), record.begin() + 1));
    EXPECT_EQ(Bytes(record.begin() + 82, record.end()), (Bytes{0, 0, 0, 0}));
    const CodecRun r = gif_test::readGif(w.bytes);
    ASSERT_TRUE(r.info.textBlock.has_value());
    EXPECT_EQ(r.info.textBlock->parameters, block.parameters);
    EXPECT_EQ(r.info.textBlock->text, block.text);
    EXPECT_EQ(r.info.comment, info.comment);

    // A block without text is not written.
    info.textBlock->text.clear();
    const std::vector<int32_t> without = blockKinds(writeGif(info, {1, 2, 3}).bytes);
    EXPECT_EQ(std::count(without.begin(), without.end(), PXL_GIF_BLOCK_APPLICATION), 0);
}

TEST(GifWriter, ProgressAfterTheClearCodeAndBeforeEachRow) {
    static int ticks;
    ticks = 0;
    PxlCodecInfo info = frameRecord(6, 9, 8);
    info.option1 = 0x80;
    const std::vector<uint8_t> pixels = gif_test::pattern(6, 9, 256);
    IndexRows rows(pixels, 6, 8);
    bmp_test::MemoryCallbacks memory;
    pixmill::ByteStream stream(&memory.callbacks);
    pixmill::CodecCall call{info, stream};
    call.source = &rows;
    call.progress = [] { ++ticks; };
    EXPECT_EQ(pixmill::gifSave(call), 0);
    EXPECT_EQ(ticks, 10);
}

TEST(GifWriter, DepthsAndSizesItCannotWriteAreRefused) {
    struct Case {
        int bits, sourceBits, width;
    };
    for (const Case c : {Case{0, 8, 4}, Case{9, 8, 4}, Case{24, 24, 4}, Case{8, 24, 4}, Case{8, 16, 4},
                         Case{8, 0, 4}, Case{8, 8, 0}}) {
        PxlCodecInfo info = frameRecord(std::max(c.width, 1), 2, 8);
        info.width = static_cast<int16_t>(c.width);
        info.bitsPerPixel = static_cast<int16_t>(c.bits);
        info.sourceBitsPerPixel = static_cast<int16_t>(c.sourceBits);
        const std::vector<uint8_t> pixels(8, 1);
        EXPECT_EQ(writeGif(info, pixels).result, pixmill::kCodecBadFormat) << c.bits << " " << c.sourceBits;
    }
}

// A full disk: whichever write fails, header, extensions, image data or trailer, the writer says
// so.
TEST(GifWriter, EveryFailedWriteIsAWriteError) {
    PxlCodecInfo info = frameRecord(40, 30, 8);
    info.comment = "c";
    info.title = "t";
    info.text = "x";
    info.repeatCount = 0;
    info.gifFrameWord = 1;
    const std::vector<uint8_t> pixels = noise(40 * 30, 256);
    const Written whole = writeGif(info, pixels);
    ASSERT_EQ(whole.result, 0);
    for (size_t limit = 0; limit < whole.bytes.size(); ++limit) {
        const Written cut = writeGif(info, pixels, limit);
        ASSERT_EQ(cut.result, pixmill::kCodecWriteError) << limit;
    }
}

// On a real full disk the failure shows inside the image data, where stdio's buffer fills.
TEST(GifWriter, AFullDiskIsAWriteError) {
    if (!std::ifstream("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    const std::vector<uint8_t> pixels = noise(200 * 200, 256);
    PxlCodecInfo info = frameRecord(200, 200, 8);
    IndexRows rows(pixels, 200, 8);
    pixmill::ByteStream stream;
    ASSERT_TRUE(stream.openFile("C:/dev/full", "wb"));
    pixmill::CodecCall call{info, stream};
    call.source = &rows;
    EXPECT_EQ(pixmill::gifSave(call), pixmill::kCodecWriteError);
    EXPECT_LT(rows.rowsFetched, 200);  // it stopped at the failure
}

// Later frames add to the file: no second header, a local table when asked, the trailer once.
TEST(GifWriter, FramesAppendToOneFile) {
    std::vector<PxlCodecInfo> frames{frameRecord(4, 3, 4), frameRecord(2, 2, 8), frameRecord(3, 1, 1)};
    frames[0].flags = 1;
    frames[1].flags = 1;
    frames[1].gifWriterWord = 1;
    frames[1].frameLeft = 1;
    frames[1].frameTop = 1;
    for (int i = 0; i < 256; ++i) frames[1].setPaletteEntry(i, static_cast<uint8_t>(i), 7, 9);
    const std::vector<std::vector<uint8_t>> pixels{gif_test::pattern(4, 3, 16), {0, 255, 128, 7}, {1, 0, 1}};
    const Written w = writeGif(frames, pixels);
    ASSERT_EQ(w.result, 0);
    EXPECT_EQ(std::count(w.bytes.begin(), w.bytes.end(), 'G'),
              1 + std::count(w.bytes.begin() + 6, w.bytes.end(), 'G'));
    const std::vector<int32_t> kinds = blockKinds(w.bytes);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PXL_GIF_BLOCK_HEADER), 1);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PXL_GIF_BLOCK_LOCAL_TABLE), 1);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PXL_GIF_BLOCK_IMAGE), 3);
    for (int16_t i = 0; i < 3; ++i) {
        const CodecRun r = gif_test::readGif(w.bytes, i);
        ASSERT_TRUE(r.ok()) << i;
        EXPECT_EQ(r.info.frameCount, 3);
        EXPECT_EQ(pixelValues(r), asValues(pixels[static_cast<size_t>(i)])) << i;
    }
    EXPECT_EQ(gif_test::readGif(w.bytes, 1).info.frameLeft, 1);
    EXPECT_EQ(gif_test::readGif(w.bytes, 1).rgb(1, 0), 0xFF0709u);  // from the local table
}

}  // namespace
