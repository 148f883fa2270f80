// Small files whose headers claim huge pictures: each load ends in a failure, and none hands over
// more than its data can hold. Where the format tells before an image is made (plain rows, a
// least size for run-length data, a strip table), the info call refuses, so the front end never
// makes the picture. A counting sink keeps no rows and stops a loader that pads on past its
// budget, so a padding loader fails here quickly instead of writing gigabytes.
//
// A large picture of one colour that compresses small still loads whole.
#include <zlib.h>

#include <functional>

#include "formats/bmp_codec.h"
#include "formats/gif_codec.h"
#include "formats/jpeg_codec.h"
#include "formats/macpaint_codec.h"
#include "formats/pcx_codec.h"
#include "formats/png_codec.h"
#include "formats/targa_codec.h"
#include "formats/tiff_codec.h"
#include "formats/wpg_codec.h"
#include "gif_test_support.h"
#include "library_codec_test_support.h"

namespace {

using namespace codec_test;
using bmp_test::put16;
using bmp_test::put32;

constexpr int kHuge = 32767;
// What a load may hand over: far below the claimed pictures (about 1 GB at 8 bits).
constexpr uint64_t kWriteBudget = uint64_t{256} << 20;

// Counts what is handed over and keeps nothing; past the budget it stops the codec.
class CountingSink final : public pixmill::RowSink {
  public:
    explicit CountingSink(uint32_t stride) : stride_(stride) {}
    int16_t putRow(const uint8_t*, int) override {
        ++rows;
        bytes += stride_;
        return bytes > kWriteBudget ? pixmill::kCodecStopped : pixmill::kCodecOk;
    }
    uint64_t rows = 0;
    uint64_t bytes = 0;

  private:
    uint32_t stride_;
};

struct Outcome {
    int16_t info = -1;
    int16_t load = -1;
    uint64_t rows = 0;
    uint64_t bytes = 0;
    int height = 0;
};

Outcome run(CodecFn info, CodecFn load, const Bytes& file) {
    Outcome o;
    TempFolder folder;
    bmp_test::writeFile(folder.file("picture.bin"), file);
    pixmill::ByteStream stream;
    if (!stream.openFile(bmp_test::windowsPath(folder.file("picture.bin")).c_str(), "rb")) {
        ADD_FAILURE() << "cannot open the test file";
        return o;
    }
    pixmill::PxlCodecInfo record;
    pixmill::CodecCall call{record, stream};
    o.info = info(call);
    if (o.info != pixmill::kCodecOk) return o;
    o.height = record.height;
    stream.seek(0, SEEK_SET);
    CountingSink sink(pixmill::prepareRowTransfer(record).stride);
    call.sink = &sink;
    o.load = load(call);
    o.rows = sink.rows;
    o.bytes = sink.bytes;
    return o;
}

// --- Crafted files -----------------------------------------------------------------------------

Bytes bmpPlain() {
    bmp_test::InfoBitmap b;
    b.width = kHuge;
    b.height = kHuge;
    b.bits = 8;
    b.pixels = Bytes(200, 0x11);
    return b.build();
}

// Runs of one row, then the data end with no end-of-bitmap mark.
Bytes bmpRunLength() {
    bmp_test::InfoBitmap b;
    b.width = kHuge;
    b.height = kHuge;
    b.bits = 8;
    b.compression = 1;
    Bytes data;
    for (int i = 0; i < 40; ++i) data.insert(data.end(), {0xFF, 0x05});
    b.imageSize = static_cast<uint32_t>(data.size());
    b.pixels = data;
    return b.build();
}

// A frame's data that stop in the middle of a sub-block at the end of the file.
Bytes gifCut() {
    gif_test::Image im;
    im.width = kHuge;
    im.height = kHuge;
    im.pixels = gif_test::pattern(64, 64, 256);
    im.data = gif_test::subBlocks(gif_test::lzwEncode(im.pixels, 8), 255, false);
    Bytes file = gif_test::GifFile(kHuge, kHuge).image(im).soFar();
    file.resize(file.size() - 10);
    return file;
}

size_t markerAt(const Bytes& file, uint8_t marker) {
    for (size_t i = 0; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == marker) return i;
    }
    return file.size();
}

Bytes jpegSample(int option1) {
    Source s = trueColourSource(64, 48, testColour);
    s.info.option1 = option1;  // 1: grey
    s.info.option2 = 90;
    return saveWith(pixmill::jpegSave, s).bytes;
}

// A small picture's frame header made to claim the largest picture; the coded data then end.
Bytes jpegHuge(int option1) {
    Bytes file = jpegSample(option1);
    const size_t frame = markerAt(file, 0xC0);
    EXPECT_LT(frame + 9, file.size());
    if (frame + 9 >= file.size()) return {};
    for (size_t at : {frame + 5, frame + 7}) {
        file[at] = static_cast<uint8_t>(kHuge >> 8);
        file[at + 1] = static_cast<uint8_t>(kHuge & 0xFF);
    }
    file.resize(file.size() - 2);  // no end marker
    return file;
}

void putBig32(Bytes& b, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(v >> shift));
}

void pngChunk(Bytes& file, const char* type, const Bytes& data) {
    putBig32(file, static_cast<uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    file.insert(file.end(), body.begin(), body.end());
    putBig32(file, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// A grey picture of the largest size whose image data hold ten rows, then the file ends.
Bytes pngCut() {
    Bytes file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    putBig32(header, kHuge);
    putBig32(header, kHuge);
    header.insert(header.end(), {8, 0, 0, 0, 0});  // 8-bit grey, not interlaced
    pngChunk(file, "IHDR", header);
    const Bytes rows(10 * (kHuge + 1), 0);
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    Bytes packed(size);
    EXPECT_EQ(compress2(packed.data(), &size, rows.data(), static_cast<uLong>(rows.size()), 9), Z_OK);
    packed.resize(size - 4);  // without the stream's checksum: the data simply stop
    pngChunk(file, "IDAT", packed);
    return file;
}

// A little-endian TIFF of one grey strip that claims every row of the picture.
Bytes tiffOneStrip(uint16_t compression, const Bytes& data) {
    struct Tag {
        uint16_t id, type;
        uint32_t value;
    };
    const uint32_t dataAt = 8;
    const Tag tags[] = {
        {256, 4, kHuge},       {257, 4, kHuge}, {258, 3, 8},
        {259, 3, compression}, {262, 3, 1},     {273, 4, dataAt},
        {277, 3, 1},           {278, 4, kHuge}, {279, 4, uint32_t{kHuge} * kHuge},
    };
    Bytes file = {'I', 'I', 42, 0};
    put32(file, static_cast<uint32_t>(dataAt + data.size()));
    file.insert(file.end(), data.begin(), data.end());
    put16(file, static_cast<uint32_t>(std::size(tags)));
    for (const Tag& t : tags) {
        put16(file, t.id);
        put16(file, t.type);
        put32(file, 1);
        put32(file, t.value);
    }
    put32(file, 0);
    return file;
}

// PCX and Targa headers claiming the largest 8-bit picture, with a little data.
Bytes pcxHuge() {
    Bytes file(128, 0);
    file[0] = 0x0A;
    file[1] = 5;
    file[2] = 1;
    file[3] = 8;
    bmp_test::set16(file, 8, kHuge - 1);
    bmp_test::set16(file, 10, kHuge - 1);
    file[65] = 1;
    bmp_test::set16(file, 66, kHuge + 1);
    for (int i = 0; i < 100; ++i) file.insert(file.end(), {0xFF, 0x07});
    return file;
}

Bytes targaHuge(uint8_t type) {
    Bytes file = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put16(file, kHuge);
    put16(file, kHuge);
    file.push_back(8);
    file.push_back(0x20);
    for (int i = 0; i < 100; ++i) file.insert(file.end(), {0xFF, 0x07});
    return file;
}

// A MacPaint file whose packed rows stop after a few bytes.
Bytes macPaintCut() {
    Bytes file(512, 0);
    for (int i = 0; i < 20; ++i) file.insert(file.end(), {0xF0, 0x00});
    return file;
}

// A WPG bitmap record of the largest 1-bit picture whose rows hold a few runs.
Bytes wpgHuge() {
    Bytes file = {0xFF, 'W', 'P', 'C'};
    put32(file, 16);
    file.resize(16, 0);
    Bytes fields;
    put16(fields, kHuge);
    put16(fields, kHuge);
    put16(fields, 1);
    put16(fields, 75);
    put16(fields, 75);
    for (int i = 0; i < 20; ++i) fields.insert(fields.end(), {0xFF, 0x00});
    file.push_back(0x0B);
    file.push_back(0xFF);
    put16(file, static_cast<uint32_t>(fields.size()));
    file.insert(file.end(), fields.begin(), fields.end());
    file.insert(file.end(), {0x10, 0x00});
    return file;
}

// --- The table ---------------------------------------------------------------------------------

enum class Expect {
    RefusedByInfo,  // the data cannot fill the picture, and the header says so
    LoadFails,      // only decoding finds the data short: it stops there
};

struct Case {
    const char* name;
    CodecFn info;
    CodecFn load;
    std::function<Bytes()> make;
    Expect expect;
};

bool isFailure(int16_t code) {
    return code == pixmill::kCodecCannotOpen || code == pixmill::kCodecBadFormat ||
           code == pixmill::kCodecReadError || code == pixmill::kCodecNoMemory;
}

TEST(HostileSizes, SmallFilesClaimingHugePicturesFailWithoutFillingThem) {
    winplat::testing::DebugCapture quiet;
    const Case cases[] = {
        {"BMP plain rows", pixmill::bmpInfo, pixmill::bmpLoad, bmpPlain, Expect::RefusedByInfo},
        {"BMP run-length data without an end mark", pixmill::bmpInfo, pixmill::bmpLoad, bmpRunLength,
         Expect::LoadFails},
        {"GIF data cut inside a sub-block", pixmill::gifInfo, pixmill::gifLoad, gifCut, Expect::LoadFails},
        {"JPEG colour", pixmill::jpegInfo, pixmill::jpegLoad, [] { return jpegHuge(0); }, Expect::LoadFails},
        {"JPEG grey", pixmill::jpegInfo, pixmill::jpegLoad, [] { return jpegHuge(1); }, Expect::LoadFails},
        {"PNG image data cut", pixmill::pngInfo, pixmill::pngLoad, pngCut, Expect::LoadFails},
        {"TIFF plain strip", pixmill::tiffInfo, pixmill::tiffLoad,
         [] { return tiffOneStrip(1, Bytes(300, 7)); }, Expect::RefusedByInfo},
        {"TIFF PackBits strip", pixmill::tiffInfo, pixmill::tiffLoad,
         [] {
             Bytes runs;
             for (int i = 0; i < 100; ++i) runs.insert(runs.end(), {0x81, 0x07});
             return tiffOneStrip(32773, runs);
         },
         Expect::LoadFails},
        {"PCX", pixmill::pcxInfo, pixmill::pcxLoad, pcxHuge, Expect::RefusedByInfo},
        {"Targa plain", pixmill::targaInfo, pixmill::targaLoad, [] { return targaHuge(3); },
         Expect::RefusedByInfo},
        {"Targa run-length", pixmill::targaInfo, pixmill::targaLoad, [] { return targaHuge(11); },
         Expect::RefusedByInfo},
        {"MacPaint rows cut", pixmill::macPaintInfo, pixmill::macPaintLoad, macPaintCut, Expect::LoadFails},
        {"WPG", pixmill::wpgInfo, pixmill::wpgLoad, wpgHuge, Expect::LoadFails},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = c.make();
        ASSERT_FALSE(file.empty());
        ASSERT_LT(file.size(), size_t{1} << 20);
        const Outcome o = run(c.info, c.load, file);
        if (c.expect == Expect::RefusedByInfo) {
            EXPECT_TRUE(isFailure(o.info)) << "info gave " << o.info;
            continue;
        }
        ASSERT_EQ(o.info, pixmill::kCodecOk);
        EXPECT_TRUE(isFailure(o.load)) << "load gave " << o.load << " after " << o.rows << " rows";
        EXPECT_LT(o.rows, static_cast<uint64_t>(o.height)) << "every row was handed over";
        EXPECT_LE(o.bytes, kWriteBudget);
    }
}

// The end marker alone missing after complete coded data is no cut: the picture loads.
TEST(HostileSizes, AJpegWithoutItsEndMarkerStillLoads) {
    winplat::testing::DebugCapture quiet;
    for (int option1 : {0, 1}) {
        Bytes file = jpegSample(option1);
        ASSERT_EQ(file[file.size() - 2], 0xFF);
        ASSERT_EQ(file[file.size() - 1], 0xD9);
        file.resize(file.size() - 2);
        const Outcome o = run(pixmill::jpegInfo, pixmill::jpegLoad, file);
        EXPECT_EQ(o.info, pixmill::kCodecOk);
        EXPECT_EQ(o.load, pixmill::kCodecOk) << option1;
        EXPECT_EQ(o.rows, 48u);
    }
}

// Hands out one row for every index: a picture of one colour.
class OneColourRows final : public pixmill::RowSource {
  public:
    explicit OneColourRows(uint32_t stride) : row_(stride, 3) {}
    void getRow(uint8_t* row, int) override { std::copy(row_.begin(), row_.end(), row); }

  private:
    Bytes row_;
};

TEST(HostileSizes, ALargePngOfOneColourStillLoads) {
    constexpr int kSide = 8000;
    pixmill::PxlCodecInfo record;
    record.width = kSide;
    record.height = kSide;
    record.bitsPerPixel = 8;
    for (int i = 0; i < 256; ++i) record.setPaletteEntry(i, static_cast<uint8_t>(i), 0, 0);
    OneColourRows rows(pixmill::prepareRowTransfer(record).stride);
    TempFolder folder;
    const std::string path = bmp_test::windowsPath(folder.file("large.png"));
    {
        pixmill::ByteStream stream;
        ASSERT_TRUE(stream.openFile(path.c_str(), "wb"));
        pixmill::CodecCall call{record, stream};
        call.source = &rows;
        ASSERT_EQ(pixmill::pngSave(call), pixmill::kCodecOk);
    }
    const Bytes file = bmp_test::readFile(folder.file("large.png"));
    // 64 million pixels in under 1 MB: data that fill a picture far larger than themselves.
    ASSERT_LT(file.size(), size_t{1} << 20);
    const Outcome o = run(pixmill::pngInfo, pixmill::pngLoad, file);
    EXPECT_EQ(o.info, pixmill::kCodecOk);
    EXPECT_EQ(o.load, pixmill::kCodecOk);
    EXPECT_EQ(o.rows, static_cast<uint64_t>(kSide));
}

}  // namespace
