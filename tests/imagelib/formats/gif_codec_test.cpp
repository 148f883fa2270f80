// The GIF reader on files built byte by byte: frame selection, the values extensions carry,
// the LZW decoder's edge cases, interlacing, row packing, texts and the block listing.
#include <cstring>

#include "../pixmill_fixture.h"
#include "gif_test_support.h"

namespace {

using namespace gif_test;
using codec_test::CodecRun;
using codec_test::pixelValues;

std::vector<uint32_t> widen(const std::vector<uint8_t>& v) { return {v.begin(), v.end()}; }

TEST(GifReader, ReadsTheScreenPaletteAndFirstFrame) {
    Image im;
    im.left = 2;
    im.top = 1;
    im.width = 5;
    im.height = 3;
    im.pixels = pattern(5, 3, 8);
    const CodecRun r = readGif(GifFile(9, 6, 3, "GIF87a", 4).image(im).done());
    ASSERT_TRUE(r.ok()) << r.infoResult << " " << r.loadResult;
    EXPECT_STREQ(r.info.detailText, "GIF87a - LZW compression");
    EXPECT_EQ(r.info.screenWidth, 9);
    EXPECT_EQ(r.info.screenHeight, 6);
    EXPECT_EQ(r.info.width, 5);
    EXPECT_EQ(r.info.height, 3);
    EXPECT_EQ(r.info.frameLeft, 2);
    EXPECT_EQ(r.info.frameTop, 1);
    EXPECT_EQ(r.info.bitsPerPixel, 3);
    EXPECT_EQ(r.info.whiteIndex, 4);  // the background index
    EXPECT_EQ(r.info.frameCount, 1);
    EXPECT_EQ(r.info.repeatCount, -1);
    EXPECT_EQ(r.info.transparency, pixmill::kNoTransparency);
    EXPECT_EQ(r.depth(), 4);
    EXPECT_EQ(pixelValues(r), widen(im.pixels));
    EXPECT_EQ(r.sink->order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(r.ticks, 3);
    // Entries past the 8-entry table take the colour of entry 0.
    const auto& p = r.info.palette;
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = uint32_t{p[3 * i]} << 16 | uint32_t{p[3 * i + 1]} << 8 | p[3 * i + 2];
        EXPECT_EQ(c, colourOf(i < 8 ? i : 0)) << i;
    }
}

TEST(GifReader, FramesAreChosenByNumberAndBeyondTheLastIsABlankScreen) {
    Image a, b;
    a.width = 4;
    a.height = 2;
    a.pixels = pattern(4, 2, 256, 1);
    b.left = 3;
    b.width = 2;
    b.height = 5;
    b.localBits = 2;
    b.pixels = pattern(2, 5, 4, 2);
    const Bytes file = GifFile(10, 8).control(7, 2, 3).image(a).image(b).done();

    const CodecRun first = readGif(file, 0);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.info.frameCount, 2);
    EXPECT_EQ(pixelValues(first), widen(a.pixels));
    EXPECT_EQ(first.info.frameDelay, 7);
    EXPECT_EQ(first.info.controlWord, 2);
    EXPECT_EQ(first.info.transparency, 0x01030000u);
    EXPECT_STREQ(first.info.detailText, "GIF89a - LZW compression, transparent");

    // The second frame has no graphic control of its own: it keeps the first's values.
    const CodecRun second = readGif(file, 1);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.info.width, 2);
    EXPECT_EQ(second.info.height, 5);
    EXPECT_EQ(second.info.frameLeft, 3);
    EXPECT_EQ(second.info.bitsPerPixel, 2);
    EXPECT_EQ(second.info.frameDelay, 7);
    EXPECT_EQ(second.info.controlWord, 2);
    EXPECT_EQ(second.info.transparency, 0x01030000u);
    EXPECT_EQ(pixelValues(second), widen(b.pixels));
    EXPECT_EQ(second.rgb(0, 1), colourOf(b.pixels[2], 50));  // the local table
    EXPECT_STREQ(second.info.detailText, "GIF89a");  // only the first frame is described

    const CodecRun beyond = readGif(file, 2);
    ASSERT_EQ(beyond.infoResult, 0);
    EXPECT_EQ(beyond.loadResult, 0);
    EXPECT_EQ(beyond.info.width, 10);
    EXPECT_EQ(beyond.info.height, 8);
    EXPECT_EQ(beyond.info.bitsPerPixel, 8);
    EXPECT_TRUE(beyond.sink->order.empty());  // a blank picture: no rows
}

TEST(GifReader, LoopCountFromTheNetscapeBlock) {
    struct Case {
        const char* name;
        Bytes file;
        int16_t repeat;
    };
    Image im;
    im.pixels = {0};
    const Case cases[] = {
        {"loop 0", GifFile(1, 1).loop(0).image(im).done(), 0},
        {"loop 5", GifFile(1, 1).loop(5).image(im).done(), 5},
        {"lower-case identifier", GifFile(1, 1).loop(3, "netscape2.0").image(im).done(), 3},
        {"a 2-byte sub-block is skipped",
         GifFile(1, 1).application("NETSCAPE2.0", {Bytes{1, 9}}).image(im).done(), -1},
        {"the last 3-byte sub-block counts",
         GifFile(1, 1).application("NETSCAPE2.0", {Bytes{1, 4, 0}, Bytes{7, 7}, Bytes{1, 6, 1}}).image(im).done(), 262},
        {"another application", GifFile(1, 1).application("ANIMEXTS1.0", {Bytes{1, 4, 0}}).image(im).done(), -1},
        {"identifier of 10 bytes", GifFile(1, 1).application("NETSCAPE2.", {Bytes{1, 4, 0}}).image(im).done(), -1},
    };
    for (const Case& c : cases) {
        const CodecRun r = readGif(c.file);
        ASSERT_TRUE(r.ok()) << c.name;
        EXPECT_EQ(r.info.repeatCount, c.repeat) << c.name;
    }
}

TEST(GifReader, BytesBetweenAndAfterBlocks) {
    Image im;
    im.width = 2;
    im.pixels = {1, 2};
    const Bytes withFF = GifFile(2, 1).raw({0xFF, 0xFF}).image(im).raw({0xFF}).image(im).done();
    EXPECT_EQ(readGif(withFF, 1).info.frameCount, 2);
    EXPECT_TRUE(readGif(withFF, 1).ok());
    // A trailer or any unknown byte ends the parse: what follows is not seen.
    for (uint8_t end : {uint8_t{0x3B}, uint8_t{0x00}, uint8_t{0x2B}}) {
        const Bytes file = GifFile(2, 1).image(im).raw({end}).image(im).done();
        const CodecRun r = readGif(file);
        EXPECT_TRUE(r.ok());
        EXPECT_EQ(r.info.frameCount, 1) << int{end};
    }
}

TEST(GifReader, ATruncatedFrameDeliversTheRowsDecodedSoFarAndFails) {
    Image im;
    im.width = 16;
    im.height = 16;
    im.pixels = pattern(16, 16, 256);
    im.data = subBlocks(lzwEncode(im.pixels, 8), 20);
    Bytes file = GifFile(16, 16).image(im).soFar();
    file.resize(file.size() - 100);  // the data breaks off inside a sub-block
    const CodecRun r = readGif(file);
    ASSERT_EQ(r.infoResult, 0);
    EXPECT_EQ(r.loadResult, pixmill::kCodecReadError);
    ASSERT_FALSE(r.sink->order.empty());
    ASSERT_LT(r.sink->order.size(), 16u);
    for (int y : r.sink->order) {
        const codec_test::Bytes& row = r.sink->rows()[static_cast<size_t>(y)];
        EXPECT_EQ(Bytes(row.begin(), row.begin() + 16),
                  Bytes(im.pixels.begin() + y * 16, im.pixels.begin() + (y + 1) * 16)) << y;
    }
}

TEST(GifReader, InterlacedRowsComeInPassOrderForEveryHeight) {
    for (int height = 1; height <= 9; ++height) {
        SCOPED_TRACE(height);
        Image im;
        im.width = 3;
        im.height = height;
        im.interlaced = true;
        im.pixels = pattern(3, height, 256, height);
        const CodecRun r = readGif(GifFile(3, height).image(im).done());
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(pixelValues(r), widen(im.pixels));
        std::vector<int> order;
        for (int pass = 0, start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2}; pass < 4; ++pass) {
            for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
        }
        EXPECT_EQ(r.sink->order, order);
        EXPECT_STREQ(r.info.detailText, "GIF89a - LZW interlaced");
        EXPECT_EQ(r.info.flags & 0x40, 0x40);
    }
}

// Every minimum code size, with pictures long enough to widen the codes to 12 bits and to fill
// the table: once cleared when full, once kept full (the deferred clear).
TEST(GifReader, DecodesEveryCodeSizeAndAFullTable) {
    for (int bits = 1; bits <= 8; ++bits) {
        for (WhenFull whenFull : {WhenFull::Clear, WhenFull::Keep}) {
            SCOPED_TRACE(std::to_string(bits) + (whenFull == WhenFull::Clear ? " clear" : " keep"));
            Image im;
            im.width = 173;
            im.height = 97;
            im.localBits = bits;
            im.whenFull = whenFull;
            // Noise-like indexes so the table fills several times over.
            for (int i = 0; i < im.width * im.height; ++i) {
                im.pixels.push_back(static_cast<uint8_t>(((i * 2654435761u) >> 13) % (1u << bits)));
            }
            const CodecRun r = readGif(GifFile(173, 97, 0).image(im).done());
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(pixelValues(r), widen(im.pixels));
        }
    }
}

// A run of one index makes the encoder send the code it is just defining (KwKwK).
TEST(GifReader, DecodesCodesThatAreBeingDefined) {
    Image im;
    im.width = 40;
    im.height = 3;
    im.pixels.assign(120, 5);
    im.pixels[60] = 2;
    const CodecRun r = readGif(GifFile(40, 3, 3).image(im).done());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(pixelValues(r), widen(im.pixels));
}

// Raw code sequences with minimum code size 2 (clear 4, end 5, first free code 6), each code as
// wide as the decoder's table then asks for.
Bytes codes(const std::vector<int>& sequence) {
    CodeWriter w;
    int nextFree = 6, width = 3;
    bool previous = false;
    for (int c : sequence) {
        w.put(c, width);
        if (c == 4) {
            nextFree = 6;
            width = 3;
            previous = false;
            continue;
        }
        if (previous && nextFree < 4096 && ++nextFree == 1 << width && width < 12) ++width;
        previous = true;
    }
    return subBlocks(w.finish());
}

TEST(GifReader, BadCodesEndTheFrameWithTheRowsSoFar) {
    struct Case {
        const char* name;
        std::vector<int> sequence;
        std::vector<uint32_t> firstRow;  // the 4 pixels of row 0; empty: no row came out
    };
    const Case cases[] = {
        {"valid", {4, 1, 2, 6, 5}, {1, 2, 1, 2}},
        {"a code above the next free code", {4, 1, 7, 5}, {}},
        {"the next free code with no code before it", {4, 6, 5}, {}},
        {"the next free code right after a clear", {4, 1, 2, 4, 6, 5}, {}},
        {"the code being defined", {4, 3, 6, 1, 5}, {3, 3, 3, 1}},
        {"data ending without an end code", {4, 1, 2, 1, 2}, {1, 2, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image im;
        im.width = 4;
        im.height = 2;
        im.data = codes(c.sequence);
        const CodecRun r = readGif(GifFile(4, 2, 2).image(im).done());
        ASSERT_EQ(r.infoResult, 0);
        EXPECT_EQ(r.loadResult, 0);
        if (c.firstRow.empty()) {
            EXPECT_TRUE(r.sink->order.empty());
            continue;
        }
        ASSERT_EQ(r.sink->order, std::vector<int>{0});
        const codec_test::Bytes& row = r.sink->rows()[0];
        EXPECT_EQ((std::vector<uint32_t>{static_cast<uint32_t>(row[0] >> 4), static_cast<uint32_t>(row[0] & 15),
                                         static_cast<uint32_t>(row[1] >> 4), static_cast<uint32_t>(row[1] & 15)}),
                  c.firstRow);
    }
}

TEST(GifReader, MinimumCodeSizesOutsideTwoToEightDecodeNothing) {
    for (int size : {1, 9, 12, 255}) {
        Image im;
        im.width = 2;
        im.minimumCodeSize = size;
        im.data = subBlocks(Bytes{0x00, 0x01, 0x02});
        const CodecRun r = readGif(GifFile(2, 1, 1).image(im).done());
        ASSERT_EQ(r.infoResult, 0) << size;
        EXPECT_EQ(r.loadResult, 0) << size;
        EXPECT_TRUE(r.sink->order.empty()) << size;
    }
}

// Indexes above what the depth holds (a minimum code size larger than the table) are masked to
// the depth: they never spill into the neighbouring pixel.
TEST(GifReader, IndexesAreMaskedToTheDepthAndPaddingIsTheLibrarys) {
    Image im;
    im.width = 5;
    im.height = 1;
    im.minimumCodeSize = 8;
    im.pixels = {0x1F, 0x02, 0xF3, 0x04, 0xA5};
    const CodecRun four = readGif(GifFile(5, 1, 4, "GIF89a", 9).image(im).done());
    ASSERT_TRUE(four.ok());
    ASSERT_EQ(four.depth(), 4);
    const codec_test::Bytes& row = four.sink->rows()[0];
    EXPECT_EQ(row[0], 0xF2);
    EXPECT_EQ(row[1], 0x34);
    EXPECT_EQ(row[2], 0x59);  // the padding nibble is the white index (the background)
    EXPECT_EQ(row[3], 0x99);

    im.pixels = {0, 7, 0, 1, 0};
    const CodecRun one = readGif(GifFile(5, 1, 1).image(im).done());
    ASSERT_TRUE(one.ok());
    ASSERT_EQ(one.depth(), 1);
    EXPECT_EQ(one.sink->rows()[0][0], 0x57);  // 0 1 0 1 0, then padding bits of 1
    EXPECT_EQ(one.sink->rows()[0][1], 0xFF);
}

TEST(GifReader, FrameSizesAreChecked) {
    Image zero;
    zero.width = 0;
    zero.height = 3;
    zero.data = subBlocks(Bytes{0x04});
    EXPECT_EQ(readGif(GifFile(4, 4).image(zero).done()).infoResult, 2);
    Image flat = zero;
    flat.width = 3;
    flat.height = 0;
    EXPECT_EQ(readGif(GifFile(4, 4).image(flat).done()).infoResult, 2);
    EXPECT_EQ(readGif(GifFile(40000, 4).done()).infoResult, 2);
    Image huge = zero;
    huge.width = 33000;
    huge.height = 2;
    EXPECT_EQ(readGif(GifFile(4, 4).image(huge).done()).infoResult, 2);
}

// A load whose record was made for a smaller frame than the file now holds delivers only the rows
// and columns that record has room for.
TEST(GifReader, LoadKeepsToTheRowsTheRecordDescribes) {
    Image im;
    im.width = 9;
    im.height = 6;
    im.pixels = pattern(9, 6, 256);
    bmp_test::TempFolder folder;
    bmp_test::writeFile(folder.file("big.gif"), GifFile(9, 6).image(im).done());
    pixmill::ByteStream stream;
    ASSERT_TRUE(stream.openFile(bmp_test::windowsPath(folder.file("big.gif")).c_str(), "rb"));
    pixmill::PxlCodecInfo info;
    info.width = 4;
    info.height = 3;
    info.bitsPerPixel = 8;
    bmp_test::CollectingSink sink(pixmill::prepareRowTransfer(info));
    pixmill::CodecCall call{info, stream};
    call.sink = &sink;
    EXPECT_EQ(pixmill::gifLoad(call), 0);
    EXPECT_EQ(sink.order, (std::vector<int>{0, 1, 2}));  // the sink reports any row outside it
    EXPECT_EQ(sink.rows()[2], (codec_test::Bytes(im.pixels.begin() + 18, im.pixels.begin() + 22)));
}

TEST(GifReader, SinkStopIsPassedOn) {
    Image im;
    im.width = 3;
    im.height = 4;
    im.pixels = pattern(3, 4, 256);
    const CodecRun r = readGif(GifFile(3, 4).image(im).done(), 0, 2);
    EXPECT_EQ(r.loadResult, 8);
    EXPECT_EQ(r.sink->order, (std::vector<int>{0, 1}));
}

Bytes textRecord(uint8_t first) {
    Bytes record(85, 0);
    for (size_t i = 0; i < 81; ++i) record[i] = static_cast<uint8_t>(first + i);
    for (size_t i = 81; i < 85; ++i) record[i] = 0xEE;  // reserved, not kept
    return record;
}

// Texts are collected only with the GIF frame word: a comment, title or text block before an
// image belongs to it; a comment and a title after the last image belong to the animation.
TEST(GifReader, CollectsCommentTitleAndTextBlock) {
    Image im;
    im.pixels = {0};
    const Bytes file = GifFile(1, 1)
                           .comment("first comment")
                           .comment("frame comment", 5)
                           .application("KVATITLE4.0", {Bytes{'T', 'i', 't'}, Bytes{'l', 'e'}})
                           .application("KVATEXTI4.0", {textRecord(10), Bytes{'a', 'b'}, Bytes{'c'}})
                           .image(im)
                           .application("kvatitle4.0", {Bytes{'A', '|', 'B'}})
                           .comment("animation text")
                           .image(im)
                           .comment("after all")
                           .application("KVATITLE4.0", {Bytes{'L', 'a', 's', 't'}})
                           .done();
    const CodecRun r = readGif(file);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.info.comment, std::optional<std::string>("frame comment"));
    ASSERT_TRUE(r.info.textBlock.has_value());
    EXPECT_EQ(r.info.textBlock->parameters[0], 10);
    EXPECT_EQ(r.info.textBlock->parameters[80], 90);
    EXPECT_EQ(r.info.textBlock->text, "abc");
    EXPECT_EQ(r.info.text, std::optional<std::string>("after all"));
    EXPECT_EQ(r.info.title, std::optional<std::string>("Last"));

    const CodecRun second = readGif(file, 1);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.info.comment, std::optional<std::string>("animation text"));
    EXPECT_FALSE(second.info.textBlock.has_value());
    EXPECT_FALSE(second.info.text.has_value());  // the animation's texts go with frame 0
    EXPECT_FALSE(second.info.title.has_value());

    codec_test::RunOptions quiet;
    quiet.gifFrameWord = 0;
    const CodecRun none = codec_test::runCodec(pixmill::gifInfo, pixmill::gifLoad, file, bmp_test::Form::File, quiet);
    ASSERT_TRUE(none.ok());
    EXPECT_FALSE(none.info.comment || none.info.title || none.info.text || none.info.textBlock);
}

TEST(GifReader, PlainTextAndUnknownExtensionsAreSkipped) {
    Image im;
    im.width = 2;
    im.pixels = {3, 4};
    const Bytes file = GifFile(2, 1).plainText().raw({0x21, 0x99, 2, 1, 2, 1, 0, 0}).image(im).done();
    const CodecRun r = readGif(file);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(pixelValues(r), (std::vector<uint32_t>{3, 4}));
}

// The block listing: kinds, starts and lengths in file order, measured here from the pieces the
// file is built of.
TEST(GifListing, ListsEveryBlockWithItsPositionAndFacts) {
    const std::string comment45(45, 'c'), comment44 = std::string(43, 'd') + "e";
    Image plain, local;
    plain.width = 3;
    plain.height = 2;
    plain.pixels = pattern(3, 2, 4);
    local = plain;
    local.localBits = 2;
    GifFile f(7, 5, 2);
    std::vector<size_t> ends = {13, 13 + 12};  // header, global table of 4 entries
    auto mark = [&] { ends.push_back(f.soFar().size()); };
    f.loop(0);
    mark();
    f.control(9, 1, 2);
    mark();
    f.comment(comment45, 10);
    mark();
    f.image(plain);
    mark();
    f.raw({0xFF});  // counted into the next entry
    f.control(3);
    mark();
    const size_t separator = f.soFar().size();
    f.image(local);
    mark();
    f.plainText();
    mark();
    f.comment(comment44);
    mark();
    f.raw({0x21, 0x42, 1, 0, 0});
    mark();
    bmp_test::TempFolder folder;
    bmp_test::writeFile(folder.file("blocks.gif"), f.done());
    const std::string path = bmp_test::windowsPath(folder.file("blocks.gif"));

    const int16_t count = PXLGetGifDetails(path.c_str(), nullptr);
    ASSERT_EQ(count, 12);
    std::vector<PxlGifBlockEntry> e(13);
    std::memset(e.data(), 0x5A, e.size() * sizeof e[0]);
    ASSERT_EQ(PXLGetGifDetails(path.c_str(), e.data()), count);
    const int kinds[] = {1, 2, 4, 5, 3, 7, 5, 6, 7, 8, 3, 0};
    std::vector<int> got;
    for (int i = 0; i < count; ++i) got.push_back(e[static_cast<size_t>(i)].kind);
    EXPECT_EQ(got, std::vector<int>(kinds, kinds + 12));
    // Each entry starts where the one before ended; the image with a local table is the exception.
    auto at = [&](size_t i) { return static_cast<int32_t>(ends[i]); };
    const int32_t sep = static_cast<int32_t>(separator);
    const int32_t starts[] = {0, 13, 25, at(2), at(3), at(4), at(5), sep, sep + 22, at(7), at(8), at(9)};
    const int32_t lengths[] = {13, 12, at(2) - 25, at(3) - at(2), at(4) - at(3), at(5) - at(4), at(6) - at(5),
                               12, at(7) - (sep + 22) + 10, at(8) - at(7), at(9) - at(8), at(10) - at(9)};
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(e[static_cast<size_t>(i)].start, starts[i]) << "entry " << i;
        EXPECT_EQ(e[static_cast<size_t>(i)].length, lengths[i]) << "entry " << i;
    }
    EXPECT_EQ(e[0].width, 7);
    EXPECT_EQ(e[0].height, 5);
    EXPECT_STREQ(e[0].text, "GIF89a");
    EXPECT_EQ(e[1].value, 2);
    EXPECT_EQ(std::string(e[2].text, 11), "NETSCAPE2.0");
    EXPECT_EQ(e[3].value, 0x05);  // disposal 1, transparent
    EXPECT_EQ(std::string(e[4].text), comment45 + "..");
    EXPECT_EQ(e[5].width, 3);
    EXPECT_EQ(e[5].height, 2);
    EXPECT_EQ(e[7].value, 2);
    EXPECT_EQ(e[8].width, 3);
    EXPECT_EQ(std::string(e[10].text), comment44);
    // Fields a kind does not name keep what the caller had there; nothing past the count is written.
    EXPECT_EQ(e[4].width, 0x5A5A5A5A);
    EXPECT_EQ(e[2].value, 0x5A5A5A5A);
    EXPECT_EQ(e[12].kind, 0x5A5A5A5A);
}

TEST(GifListing, SignExtendsTheGraphicControlByteAndFailsOnNonGifs) {
    Image im;
    im.pixels = {0};
    bmp_test::TempFolder folder;
    bmp_test::writeFile(folder.file("a.gif"), GifFile(1, 1).raw({0x21, 0xF9, 4, 0x8D, 0, 0, 0, 0}).image(im).done());
    PxlGifBlockEntry e[4] = {};
    ASSERT_EQ(PXLGetGifDetails(bmp_test::windowsPath(folder.file("a.gif")).c_str(), e), 4);
    EXPECT_EQ(e[2].value, static_cast<int8_t>(0x8D));
    bmp_test::writeFile(folder.file("b.gif"), Bytes{'G', 'I', 'X', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0});
    EXPECT_EQ(PXLGetGifDetails(bmp_test::windowsPath(folder.file("b.gif")).c_str(), e), 0);
    EXPECT_EQ(PXLGetGifDetails(bmp_test::windowsPath(folder.file("none.gif")).c_str(), e), 0);
}

// Callers of the library's own listing give their capacity: a file of many blocks never writes
// past it, and the count still tells how many there are.
TEST(GifListing, CapacityBoundsTheEntriesWritten) {
    GifFile f(1, 1, 1);
    for (int i = 0; i < 300; ++i) f.comment("x");
    bmp_test::TempFolder folder;
    bmp_test::writeFile(folder.file("many.gif"), f.done());
    std::vector<PxlGifBlockEntry> e(10);
    EXPECT_EQ(pixmill::listGifBlocks(bmp_test::windowsPath(folder.file("many.gif")).c_str(), e.data(), 10), 302u);
    EXPECT_EQ(e[9].kind, PXL_GIF_BLOCK_COMMENT);  // ASan watches the vector's end
    EXPECT_EQ(PXLGetGifDetails(bmp_test::windowsPath(folder.file("many.gif")).c_str(), nullptr), 302);
}

}  // namespace
