// The BMI codec on pictures built field by field: what the reader takes from each block, what it
// refuses, where it leaves a stream, and the writer's append rules.
#include <functional>

#include "bmi_test_support.h"

namespace {

using namespace bmi_test;
using bmp_test::Form;
using codec_test::CodecRun;

constexpr Form kForms[] = {Form::File, Form::Ole, Form::Callbacks};

TEST(BmiReader, ReadsFramePaletteBlocksAndRowsOnEveryKind) {
    for (Form form : kForms) {
        SCOPED_TRACE(bmp_test::formName(form));
        const CodecRun r = readBmi(smallPicture().build(), form);
        ASSERT_TRUE(r.ok()) << r.infoResult << " " << r.loadResult;
        EXPECT_EQ(r.info.width, 3);
        EXPECT_EQ(r.info.height, 2);
        EXPECT_EQ(r.info.bitsPerPixel, 8);
        EXPECT_EQ(r.info.frameCount, 1);
        EXPECT_STREQ(r.info.detailText, "LZW compression");
        EXPECT_EQ(r.info.rotationAngle, 90);
        EXPECT_EQ(codec_test::pixelValues(r), (std::vector<uint32_t>{1, 2, 3, 3, 2, 1}));
        EXPECT_EQ(r.rgb(0, 0), 0xFF0000u);
        EXPECT_EQ(r.rgb(1, 0), 0x00FF00u);
        ASSERT_EQ(r.entryCount, 1);
        const PxlTransparencyEntry& e = r.entries[0];
        EXPECT_EQ((std::array<int32_t, 7>{e.red, e.green, e.blue, e.tolerance, e.kind, e.seedX, e.seedY}),
                  (std::array<int32_t, 7>{1, 2, 3, 4, 1, 5, 6}));
        EXPECT_EQ(r.ticks, 2);  // one progress call a row
    }
}

TEST(BmiReader, ReadsRowsAcrossStoredAndCompressedChunksAndAtAnOffset) {
    // 5 x 5 at 24 bits (stride 16): rows 0-1 compressed, row 2 stored, rows 3-4 compressed.
    std::vector<Bytes> rows;
    for (int y = 0; y < 5; ++y) {
        Bytes row(16, 0);
        for (int i = 0; i < 15; ++i) row[static_cast<size_t>(i)] = static_cast<uint8_t>(y * 16 + i % 3);
        rows.push_back(row);
    }
    Frame f;
    f.width = 5;
    f.height = 5;
    f.bits = 24;
    f.paletteFlag = 0;
    f.compressionWord = 0;
    f.chunkSize = 32;
    f.chunks = {zlibChunk(concat({rows[0], rows[1]})), chunk(0, rows[2]), zlibChunk(concat({rows[3], rows[4]}))};
    Picture p;
    p.width = 5;
    p.height = 5;
    p.bits = 24;
    p.paletteFlag = 0;
    p.blocks = {{1, f.build()}};
    const CodecRun r = readBmi(p.build(), Form::File, codec_test::atOffset(Bytes(33, 0xEE)));
    ASSERT_TRUE(r.ok()) << r.infoResult << " " << r.loadResult;
    EXPECT_STREQ(r.info.detailText, "no compression");
    for (int y = 0; y < 5; ++y) EXPECT_EQ(r.sink->rows()[static_cast<size_t>(y)], rows[static_cast<size_t>(y)]) << y;
    EXPECT_EQ(r.entryCount, 0);  // no transparency block
}

// The transparency count is taken as 10 when it is above 10 or negative; a block shorter than its
// count says is a read error.
TEST(BmiReader, TransparencyCounts) {
    std::vector<std::array<int32_t, 7>> ten;
    for (int i = 0; i < 10; ++i) ten.push_back({i, i, i, i, 0, 0, 0});
    struct Case {
        const char* name;
        Bytes block;
        int16_t infoResult;
        int32_t entries;
    };
    const Case cases[] = {
        {"count 25 with 10 entries there", transparencyBlock(25, ten), 0, 10},
        {"count -1", transparencyBlock(-1, ten), 0, 10},
        {"count 0", transparencyBlock(0, {}), 0, 0},
        {"count 3, two entries there", transparencyBlock(3, {ten[0], ten[1]}), 3, -1},
        {"count 25, nine entries there", transparencyBlock(25, {ten.begin(), ten.begin() + 9}), 3, -1},
        {"no count", Bytes{1, 0}, 3, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture p = smallPicture();
        p.blocks[1].second = c.block;
        std::swap(p.blocks[1], p.blocks.back());  // the block last, so a short one runs into the end
        const CodecRun r = readBmi(p.build(), Form::Callbacks);
        EXPECT_EQ(r.infoResult, c.infoResult);
        if (c.infoResult == 0) {
            EXPECT_EQ(r.entryCount, c.entries);
            EXPECT_EQ(r.loadResult, 0);
            if (c.entries == 10) {
                EXPECT_EQ(r.entries[9].red, 9);
            }
        }
    }
}

struct Damage {
    const char* name;
    std::function<void(Picture&, Frame&)> change;
    int16_t infoResult;
    int16_t loadResult;  // when the info read succeeds
};

// A picture of 4 x 3 at 8 bits (stride 4, chunks of up to 20 bytes) whose frame the case changes.
Bytes damaged(const Damage& d) {
    Frame f;
    f.width = 4;
    f.height = 3;
    f.paletteFlag = 0;
    f.chunkSize = 20;
    f.chunks = {zlibChunk(Bytes{1, 2, 3, 4, 5, 6, 7, 8}), chunk(0, Bytes{9, 10, 11, 12})};
    Picture p;
    p.width = 4;
    p.height = 3;
    p.palette.assign(256, 0x808080);
    d.change(p, f);
    p.blocks.push_back({1, f.build()});
    return p.build();
}

TEST(BmiReader, RefusesDamagedHeadersAndChunks) {
    const Damage cases[] = {
        {"valid", [](Picture&, Frame&) {}, 0, 0},
        {"header word at 17 is 0", [](Picture& p, Frame&) { p.one = 0; }, 2, -1},
        {"header depth 16", [](Picture& p, Frame&) { p.bits = 16; }, 2, -1},
        {"header depth 2", [](Picture& p, Frame&) { p.bits = 2; }, 2, -1},
        {"header width 0", [](Picture& p, Frame&) { p.width = 0; }, 2, -1},
        {"header width 40000", [](Picture& p, Frame&) { p.width = 40000; }, 2, -1},
        {"image bytes one too many", [](Picture&, Frame& f) { f.imageBytes = 13; }, 2, -1},
        {"chunk size 0", [](Picture&, Frame& f) { f.chunkSize = 0; }, 2, -1},
        {"chunk size below the stride", [](Picture&, Frame& f) { f.chunkSize = 3; }, 2, -1},
        {"frame depth 16", [](Picture&, Frame& f) { f.bits = 16; }, 2, -1},
        {"frame height 0", [](Picture&, Frame& f) { f.height = 0; }, 2, -1},
        {"stored chunk longer than the chunk size",
         [](Picture&, Frame& f) { f.chunks = {chunk(0, Bytes(24, 1))}; }, 0, 3},
        {"compressed chunk longer than the chunk size",
         [](Picture&, Frame& f) { f.chunks = {chunk(1, Bytes(21, 1))}; }, 0, 3},
        {"stored chunk of a row and a half",
         [](Picture&, Frame& f) { f.chunks = {chunk(0, Bytes(6, 1))}; }, 0, 3},
        {"compressed chunk of a row and a half",
         [](Picture&, Frame& f) { f.chunks = {zlibChunk(Bytes(6, 1)), chunk(0, Bytes(8, 1))}; }, 0, 3},
        {"empty chunk", [](Picture&, Frame& f) { f.chunks = {chunk(0, Bytes{})}; }, 0, 3},
        {"chunk kind 2", [](Picture&, Frame& f) { f.chunks = {chunk(2, Bytes(8, 1)), chunk(0, Bytes(4, 1))}; }, 0, 3},
        {"corrupt zlib data",
         [](Picture&, Frame& f) { f.chunks = {chunk(1, Bytes{0x78, 0x9C, 0xFF, 0xFF, 0xFF}), chunk(0, Bytes(4, 1))}; }, 0, 3},
        {"rows missing: chunks end early", [](Picture&, Frame& f) { f.chunks.pop_back(); }, 0, 3},
        {"truncated chunk data",
         [](Picture&, Frame& f) { f.chunks.back().resize(f.chunks.back().size() - 1); }, 0, 3},
    };
    for (Form form : kForms) {
        for (const Damage& d : cases) {
            SCOPED_TRACE(std::string(bmp_test::formName(form)) + ": " + d.name);
            const CodecRun r = readBmi(damaged(d), form);
            EXPECT_EQ(r.infoResult, d.infoResult);
            if (r.infoResult == 0) {
                EXPECT_EQ(r.loadResult, d.loadResult);
            }
        }
    }
}

// Older writers put another letter after "TarvoBMI": the reader looks at the first eight only.
TEST(BmiReader, MagicIsTheFirstEightLetters) {
    Bytes bytes = smallPicture().build();
    bytes[8] = 'b';
    EXPECT_TRUE(readBmi(bytes, Form::File).ok());
    bytes[7] = 'i';
    EXPECT_EQ(readBmi(bytes, Form::File).infoResult, 2);
}

TEST(BmiReader, FramesAreCountedAndAMissingWantedFrameIsNotLoaded) {
    Picture p = smallPicture();
    Frame second;
    second.width = 2;
    second.height = 1;
    second.bits = 1;
    second.palette = {0x000000, 0xFFFFFF};
    second.chunks = {chunk(0, Bytes{0x80, 0, 0, 0})};
    p.blocks.push_back({1, second.build()});
    const CodecRun first = readBmi(p.build(), Form::Ole);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.info.frameCount, 2);
    EXPECT_EQ(first.info.width, 3);

    const CodecRun r = readBmi(p.build(), Form::Ole, codec_test::wantedFrame(1));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.info.width, 2);
    EXPECT_EQ(r.info.bitsPerPixel, 1);
    EXPECT_EQ(codec_test::pixelValues(r), (std::vector<uint32_t>{1, 0}));
    EXPECT_EQ(r.rgb(0, 0), 0xFFFFFFu);  // the frame's own palette

    const CodecRun beyond = readBmi(p.build(), Form::Ole, codec_test::wantedFrame(2));
    EXPECT_EQ(beyond.infoResult, 0);
    EXPECT_EQ(beyond.info.frameCount, 2);
    EXPECT_EQ(beyond.loadResult, 2);
}

TEST(BmiReader, StopsWhenTheSinkAsksAndReportsIt) {
    const CodecRun r = readBmi(smallPicture().build(), Form::File, codec_test::stopAfter(1));
    EXPECT_EQ(r.loadResult, 8);
    EXPECT_EQ(r.sink->order, std::vector<int>{0});
}

// A file that changed between the info read and the load is not decoded into rows of another shape.
TEST(BmiReader, LoadRefusesAFrameOfAnotherShapeThanTheRecordSays) {
    bmp_test::MemoryCallbacks memory;
    memory.data = smallPicture().build();
    pixmill::ByteStream stream(&memory.callbacks);
    pixmill::PxlCodecInfo info;
    info.width = 4;
    info.height = 2;
    info.bitsPerPixel = 8;
    bmp_test::CollectingSink sink(pixmill::prepareRowTransfer(info));
    pixmill::CodecCall call{info, stream};
    call.sink = &sink;
    EXPECT_EQ(pixmill::bmiLoad(call), 2);
    EXPECT_TRUE(sink.order.empty());
}

// After an info read an IStream is back at the picture's start, a callback stream at its end;
// after a load both stand at its end; after a failure both are back at the start.
TEST(BmiReader, StreamPositionsAfterReads) {
    const Bytes bytes = smallPicture().build();
    const int64_t end = static_cast<int64_t>(bytes.size());
    const CodecRun ole = readBmi(bytes, Form::Ole);
    EXPECT_EQ(ole.positionAfterInfo, 0);
    EXPECT_EQ(ole.positionAfterLoad, end);
    const CodecRun callbacks = readBmi(bytes, Form::Callbacks);
    EXPECT_EQ(callbacks.positionAfterInfo, end);
    EXPECT_EQ(callbacks.positionAfterLoad, end);

    Bytes bad = bytes;
    bad.resize(bad.size() - 3);  // the last chunk cut
    for (Form form : {Form::Ole, Form::Callbacks}) {
        const CodecRun r = readBmi(bad, form);
        EXPECT_EQ(r.loadResult, 3);
        EXPECT_EQ(r.positionAfterLoad, 0) << bmp_test::formName(form);
    }
    Bytes badHeader = bytes;
    badHeader[17] = 0;
    for (Form form : {Form::Ole, Form::Callbacks}) {
        const CodecRun r = readBmi(badHeader, form);
        EXPECT_EQ(r.infoResult, 2);
        EXPECT_EQ(r.positionAfterInfo, 0) << bmp_test::formName(form);
    }
}

// Saves rows given by the test at a base offset inside a callback stream.
struct Save {
    bmp_test::MemoryCallbacks memory;
    pixmill::FrameAppendState append;

    int16_t frame(int16_t wantedFrame, int width, int height, int bits, uint8_t fill, bool withState = true) {
        pixmill::PxlCodecInfo info;
        info.width = static_cast<int16_t>(width);
        info.height = static_cast<int16_t>(height);
        info.bitsPerPixel = static_cast<int16_t>(bits);
        info.wantedFrame = wantedFrame;
        std::vector<Bytes> rows(static_cast<size_t>(height), Bytes(stride(width, bits), fill));
        bmp_test::VectorSource source(rows);
        pixmill::ByteStream stream(&memory.callbacks);
        pixmill::CodecCall call{info, stream};
        call.source = &source;
        call.offset = memory.position;
        call.append = withState ? &append : nullptr;
        return pixmill::bmiSave(call);
    }
};

uint32_t entryType(const Bytes& b, size_t directory, int index) {
    return bmp_test::get16(b, directory + 6 * static_cast<size_t>(index));
}

TEST(BmiWriter, AppendsOneFrameThroughTheSpareEntryAndRefusesASecond) {
    Save s;
    s.memory.data = Bytes(10, 0xAA);
    s.memory.position = 10;
    ASSERT_EQ(s.frame(0, 5, 4, 8, 7), 0);
    const size_t directory = 10 + 21 + 1024;
    std::vector<uint32_t> types;
    for (int i = 0; i < 6; ++i) types.push_back(entryType(s.memory.data, directory, i));
    EXPECT_EQ(types, (std::vector<uint32_t>{3, 5, 7, 1, 3, 255}));
    EXPECT_EQ(s.memory.position, static_cast<int64_t>(s.memory.data.size()));

    ASSERT_EQ(s.frame(1, 3, 2, 1, 0x40), 0);
    types.clear();
    for (int i = 0; i < 6; ++i) types.push_back(entryType(s.memory.data, directory, i));
    EXPECT_EQ(types, (std::vector<uint32_t>{3, 5, 7, 1, 1, 255}));
    EXPECT_EQ(bmp_test::get32(s.memory.data, directory + 32), s.memory.data.size() - 10);  // end offset

    // The spare entry is used: a further append would run past the directory into the comment.
    const Bytes before = s.memory.data;
    const int64_t position = s.memory.position;
    EXPECT_EQ(s.frame(2, 3, 2, 1, 0x40), 2);
    EXPECT_EQ(s.memory.data, before);
    EXPECT_EQ(s.memory.position, position);

    // Both frames read back from the picture at its offset.
    Bytes picture(s.memory.data.begin() + 10, s.memory.data.end());
    const CodecRun first = readBmi(picture, Form::Callbacks);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.info.frameCount, 2);
    EXPECT_EQ(codec_test::pixelValues(first), std::vector<uint32_t>(20, 7));
    const CodecRun second = readBmi(picture, Form::Callbacks, codec_test::wantedFrame(1));
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(codec_test::pixelValues(second), (std::vector<uint32_t>{0, 1, 0, 0, 1, 0}));
}

TEST(BmiWriter, AppendWithoutAPictureWrittenBeforeWritesNothing) {
    Save s;
    EXPECT_EQ(s.frame(1, 3, 2, 8, 1), 2);
    EXPECT_EQ(s.frame(1, 3, 2, 8, 1, false), 2);
    EXPECT_TRUE(s.memory.data.empty());
}

// A full medium ends the save with a write error and puts the stream back where it began.
TEST(BmiWriter, WriteFailureIsReportedAndTheStreamPositionRestored) {
    for (size_t limit : {size_t{5}, size_t{30}, size_t{1100}, size_t{1180}}) {
        Save s;
        s.memory.writeLimit = limit;
        EXPECT_EQ(s.frame(0, 5, 4, 8, 7), 6) << limit;
        EXPECT_EQ(s.memory.position, 0) << limit;
    }
}

TEST(BmiWriter, TwentyFourBitPicturesHaveNoPalette) {
    Save s;
    ASSERT_EQ(s.frame(0, 2, 3, 24, 9), 0);
    const Bytes& b = s.memory.data;
    EXPECT_EQ(bmp_test::get16(b, 13), 0u);  // header palette flag
    EXPECT_EQ(bmp_test::get16(b, 15), 24u);
    const size_t frame = bmp_test::get32(b, 21 + 6 * 3 + 2);
    EXPECT_EQ(bmp_test::get16(b, frame + 6), 0u);  // frame palette flag
    EXPECT_EQ(bmp_test::get16(b, frame + 14), 4000u);
    // The chunk follows the 16-byte frame header directly.
    const Bytes rows = concat(std::vector<Bytes>(3, Bytes(8, 9)));
    const Bytes expected = zlibChunk(rows);
    EXPECT_EQ(Bytes(b.begin() + static_cast<long>(frame) + 16, b.begin() + static_cast<long>(frame) + 16 +
                                                                   static_cast<long>(expected.size())),
              expected);
}

TEST(BmiChunkSize, FollowsTheRowStride) {
    const std::pair<uint32_t, uint32_t> cases[] = {
        {4, 4000}, {100, 4000}, {199, 4000}, {200, 4000}, {252, 5040}, {1599, 31980},
        {1600, 32000}, {6000, 32000}, {32000, 32000}, {33000, 33000}, {65532, 65532},
    };
    for (const auto& [stride, size] : cases) EXPECT_EQ(pixmill::bmiChunkSize(stride), size) << stride;
}

}  // namespace
