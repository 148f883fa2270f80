// Small files whose headers claim huge pictures: each load ends in a failure, and none hands over
// more than its data can hold. Where the format tells before an image is made (plain rows, a
// least size for run-length data, a strip table, chunk counts), the info call refuses, so the
// front end never makes the picture. A counting sink keeps no rows and stops a loader that pads on
// past its budget, so a padding loader fails here quickly instead of writing gigabytes; what a
// load keeps resident (a decoder's own buffers too) is held to the same budget.
//
// Large pictures of one colour that compress small still load whole.
//
// This program fails every single allocation above 256 MB when built with AddressSanitizer
// (allocation_cap.cpp).
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include <jpeglib.h>
#include <tiffio.h>
#include <zlib.h>

#include "bmi_test_support.h"
#include "formats/bmi_codec.h"
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
#include "libjpeg_test_support.h"
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

// What the process holds resident, from /proc/self/status: the field (VmRSS, VmHWM) in bytes.
std::optional<uint64_t> residentField(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) != 0) continue;
        std::istringstream value(line.substr(field.size() + 1));
        uint64_t kilobytes = 0;
        if (value >> kilobytes) return kilobytes * 1024;
    }
    return std::nullopt;
}

// Sets the process's resident peak back to what it holds now; false where the system does not let it.
bool resetResidentPeak() {
    std::ofstream refs("/proc/self/clear_refs");
    refs << "5";
    refs.flush();
    return refs.good() && residentField("VmHWM") && residentField("VmRSS");
}

struct Outcome {
    int16_t info = -1;
    int16_t load = -1;
    uint64_t rows = 0;
    uint64_t bytes = 0;
    int height = 0;
    std::optional<uint64_t> residentGrowth;  // the peak over what was resident before, when measured
};

Outcome run(CodecFn info, CodecFn load, const Bytes& file, bool measureResident = false) {
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
    std::optional<uint64_t> before;
    if (measureResident && resetResidentPeak()) before = residentField("VmRSS");
    o.load = load(call);
    if (before) {
        const std::optional<uint64_t> peak = residentField("VmHWM");
        if (peak) o.residentGrowth = *peak > *before ? *peak - *before : 0;
    }
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

// A picture compressed by libjpeg itself from the rows 'rowAt' writes (grey, or red-green-blue for
// three components), baseline or progressive, with a restart marker every 'restartRows' rows of
// blocks (0: none); empty on a library error.
Bytes libjpegFile(int width, int height, int components, bool progressive,
                  const libjpeg_test::RowWriter& rowAt, int restartRows = 0) {
    return libjpeg_test::compress({.width = width,
                                   .height = height,
                                   .components = components,
                                   .space = components == 1 ? JCS_GRAYSCALE : JCS_RGB,
                                   .progressive = progressive,
                                   .restartRows = restartRows},
                                  rowAt);
}

Bytes progressiveSample(int components) {
    return libjpegFile(64, 48, components, true, [components](int y, uint8_t* row) {
        for (int i = 0; i < 64 * components; ++i) row[i] = static_cast<uint8_t>(i * 5 + y * 11);
    });
}

// The frame header (baseline or progressive) made to claim a picture of side x side.
Bytes claimingSide(Bytes file, int side) {
    size_t frame = markerAt(file, 0xC0);
    if (frame == file.size()) frame = markerAt(file, 0xC2);
    EXPECT_LT(frame + 9, file.size());
    if (frame + 9 >= file.size()) return {};
    for (size_t at : {frame + 5, frame + 7}) {
        file[at] = static_cast<uint8_t>(side >> 8);
        file[at + 1] = static_cast<uint8_t>(side & 0xFF);
    }
    return file;
}

// A small picture's frame header made to claim the largest picture; the coded data then end.
Bytes jpegHuge(int option1) {
    Bytes file = claimingSide(jpegSample(option1), kHuge);
    if (!file.empty()) file.resize(file.size() - 2);  // no end marker
    return file;
}

// The same with the file's own end marker: it comes where coded data are still wanted.
Bytes jpegHugeWithItsEnd(int option1) {
    return claimingSide(jpegSample(option1), kHuge);
}

// Every scan of a small progressive picture, under a frame header claiming side x side: each scan's
// data stop at the next scan's marker.
Bytes jpegProgressive(int components, int side) {
    return claimingSide(progressiveSample(components), side);
}

// The same cut a few bytes into the first scan's coded data.
Bytes jpegProgressiveCut(int components) {
    Bytes file = jpegProgressive(components, kHuge);
    const size_t scan = markerAt(file, 0xDA);
    if (scan == file.size()) return {};
    const size_t header = 2 + (size_t{file[scan + 2]} << 8 | file[scan + 3]);
    file.resize(std::min(file.size(), scan + header + 6));
    return file;
}

// A grey picture under a frame header claiming the largest picture, its restart interval the
// longest, and for coded data a byte before each of many restart markers: every interval needs
// bits past its marker, and the markers would have the library pad a whole picture.
Bytes jpegRestartMarkersOnly() {
    Bytes file = claimingSide(jpegSample(1), kHuge);
    const size_t scan = markerAt(file, 0xDA);
    if (scan == file.size()) return {};
    const size_t header = 2 + (size_t{file[scan + 2]} << 8 | file[scan + 3]);
    file.resize(scan + header);
    const Bytes restartInterval = {0xFF, 0xDD, 0x00, 0x04, 0xFF, 0xFF};
    file.insert(file.begin() + static_cast<long>(scan), restartInterval.begin(), restartInterval.end());
    for (int k = 0; k < 4000; ++k) {
        file.insert(file.end(), {0x00, 0xFF, static_cast<uint8_t>(0xD0 + k % 8)});
    }
    file.insert(file.end(), {0xFF, 0xD9});
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
Bytes tiffOneStrip(uint16_t compression, const Bytes& data, uint32_t width = kHuge) {
    struct Tag {
        uint16_t id, type;
        uint32_t value;
    };
    const uint32_t dataAt = 8;
    const Tag tags[] = {
        {256, 4, width},  {257, 4, kHuge}, {258, 3, 8},     {259, 3, compression},   {262, 3, 1},
        {273, 4, dataAt}, {277, 3, 1},     {278, 4, kHuge}, {279, 4, width * kHuge},
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

// A PackBits strip of all the rows whose runs make 12288 bytes: the loader decodes row by row
// until the runs end, whether the rows are as wide as the widest picture or 4096 bytes (three
// whole rows).
constexpr uint32_t kNarrowRow = 4096;

Bytes tiffPackBits(uint32_t width) {
    Bytes runs;
    for (int i = 0; i < 96; ++i) runs.insert(runs.end(), {0x81, 0x07});
    return tiffOneStrip(32773, runs, width);
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

// A BMI frame claiming the largest picture whose chunks stop early. The frame's chunks each hold
// as many rows as the chunk size allows; 'chunkData' is what each given chunk holds.
Bytes bmiHuge(int bits, int chunks, const Bytes& chunkData, uint8_t kind) {
    bmi_test::Frame f;
    f.width = kHuge;
    f.height = kHuge;
    f.bits = bits;
    f.paletteFlag = 0;
    f.chunkSize = 65535;
    for (int i = 0; i < chunks; ++i) f.chunks.push_back(bmi_test::chunk(kind, chunkData));
    bmi_test::Picture p;
    p.width = kHuge;
    p.height = kHuge;
    p.bits = bits;
    p.paletteFlag = 0;
    p.blocks.push_back({1, f.build()});
    return p.build();
}

// Three rows of an 8-bit picture, one chunk each.
Bytes bmiRows() {
    const Bytes packed = bmi_test::zlibChunk(Bytes(bmi_test::stride(kHuge, 8), 9));
    return bmiHuge(8, 3, Bytes(packed.begin() + 3, packed.end()), 1);
}

// A chunk for every 15 rows of a 1-bit picture, as many as the picture needs, each an empty zlib
// stream: too many bytes for a count of chunks alone to refuse, far too few for the rows.
Bytes bmiTinyChunks() {
    const int rowsPerChunk = static_cast<int>(65535 / bmi_test::stride(kHuge, 1));
    return bmiHuge(1, (kHuge + rowsPerChunk - 1) / rowsPerChunk, Bytes{0x78, 0x9C, 0x03, 0x00}, 1);
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

// Progressive pictures are decoded whole in the library's coefficient arrays: 11000 x 11000 in
// colour needs about 360 MB of them in allocations under 256 MB each, so its case still runs under
// the allocation cap, where the largest picture's arrays are refused.
constexpr int kArraysUnderTheCap = 11000;

std::vector<Case> hostileCases() {
    return {
        {"BMI rows in chunks", pixmill::bmiInfo, pixmill::bmiLoad, bmiRows, Expect::RefusedByInfo},
        {"BMI tiny chunks", pixmill::bmiInfo, pixmill::bmiLoad, bmiTinyChunks, Expect::RefusedByInfo},
        {"BMP plain rows", pixmill::bmpInfo, pixmill::bmpLoad, bmpPlain, Expect::RefusedByInfo},
        {"BMP run-length data without an end mark", pixmill::bmpInfo, pixmill::bmpLoad, bmpRunLength,
         Expect::LoadFails},
        {"GIF data cut inside a sub-block", pixmill::gifInfo, pixmill::gifLoad, gifCut, Expect::LoadFails},
        {"JPEG colour", pixmill::jpegInfo, pixmill::jpegLoad, [] { return jpegHuge(0); }, Expect::LoadFails},
        {"JPEG grey", pixmill::jpegInfo, pixmill::jpegLoad, [] { return jpegHuge(1); }, Expect::LoadFails},
        {"JPEG colour with its end marker", pixmill::jpegInfo, pixmill::jpegLoad,
         [] { return jpegHugeWithItsEnd(0); }, Expect::LoadFails},
        {"JPEG restart markers with no data between them", pixmill::jpegInfo, pixmill::jpegLoad,
         jpegRestartMarkersOnly, Expect::LoadFails},
        {"JPEG progressive colour", pixmill::jpegInfo, pixmill::jpegLoad,
         [] { return jpegProgressive(3, kHuge); }, Expect::LoadFails},
        {"JPEG progressive grey", pixmill::jpegInfo, pixmill::jpegLoad,
         [] { return jpegProgressive(1, kHuge); }, Expect::LoadFails},
        {"JPEG progressive colour cut in its first scan", pixmill::jpegInfo, pixmill::jpegLoad,
         [] { return jpegProgressiveCut(3); }, Expect::LoadFails},
        {"JPEG progressive colour, arrays under the cap", pixmill::jpegInfo, pixmill::jpegLoad,
         [] { return jpegProgressive(3, kArraysUnderTheCap); }, Expect::LoadFails},
        {"PNG image data cut", pixmill::pngInfo, pixmill::pngLoad, pngCut, Expect::LoadFails},
        {"TIFF plain strip", pixmill::tiffInfo, pixmill::tiffLoad,
         [] { return tiffOneStrip(1, Bytes(300, 7)); }, Expect::RefusedByInfo},
        {"TIFF PackBits strip", pixmill::tiffInfo, pixmill::tiffLoad, [] { return tiffPackBits(kHuge); },
         Expect::LoadFails},
        {"TIFF PackBits strip of narrow rows", pixmill::tiffInfo, pixmill::tiffLoad,
         [] { return tiffPackBits(kNarrowRow); }, Expect::LoadFails},
        {"PCX", pixmill::pcxInfo, pixmill::pcxLoad, pcxHuge, Expect::RefusedByInfo},
        {"Targa plain", pixmill::targaInfo, pixmill::targaLoad, [] { return targaHuge(3); },
         Expect::RefusedByInfo},
        {"Targa run-length", pixmill::targaInfo, pixmill::targaLoad, [] { return targaHuge(11); },
         Expect::RefusedByInfo},
        {"MacPaint rows cut", pixmill::macPaintInfo, pixmill::macPaintLoad, macPaintCut, Expect::LoadFails},
        {"WPG", pixmill::wpgInfo, pixmill::wpgLoad, wpgHuge, Expect::LoadFails},
    };
}

TEST(HostileSizes, SmallFilesClaimingHugePicturesFailWithoutFillingThem) {
    winplat::testing::DebugCapture quiet;
    for (const Case& c : hostileCases()) {
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

// Nor does a loader fill memory of its own for them: a progressive JPEG's coefficient arrays, say,
// are only written as far as the coded data go.
TEST(HostileSizes, TheirLoadsKeepLittleMemoryResident) {
    if (!resetResidentPeak()) GTEST_SKIP() << "the system does not let the resident peak be reset";
    winplat::testing::DebugCapture quiet;
    for (const Case& c : hostileCases()) {
        SCOPED_TRACE(c.name);
        const Outcome o = run(c.info, c.load, c.make(), true);
        if (o.info != pixmill::kCodecOk) continue;
        ASSERT_TRUE(o.residentGrowth.has_value());
        EXPECT_LT(*o.residentGrowth, kWriteBudget);
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

// Coded data damaged inside one restart interval are no cut: the library pads that interval and
// picks up again at its marker, so the picture loads whole, as damaged files always did.
TEST(HostileSizes, AJpegDamagedInsideOneRestartIntervalStillLoads) {
    winplat::testing::DebugCapture quiet;
    constexpr int kSide = 128;
    Bytes file = libjpegFile(
        kSide, kSide, 3, false,
        [](int y, uint8_t* row) {
            for (int i = 0; i < kSide * 3; ++i) row[i] = static_cast<uint8_t>(i * 7 + y * 13);
        },
        1);
    // The data between the fourth and the fifth restart marker, but for its first two bytes.
    std::vector<size_t> markers;
    for (size_t i = 0; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] >= 0xD0 && file[i + 1] <= 0xD7) markers.push_back(i);
    }
    ASSERT_GE(markers.size(), 5u);
    ASSERT_GT(markers[4] - markers[3], 8u);
    file.erase(file.begin() + static_cast<long>(markers[3] + 4), file.begin() + static_cast<long>(markers[4]));

    const Outcome o = run(pixmill::jpegInfo, pixmill::jpegLoad, file);
    EXPECT_EQ(o.info, pixmill::kCodecOk);
    EXPECT_EQ(o.load, pixmill::kCodecOk);
    EXPECT_EQ(o.rows, uint64_t{kSide});
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

// Saves a picture of one colour through a codec; the file's bytes, empty when the save failed.
Bytes savedOfOneColour(CodecFn save, int side, int bits, int quality = 0) {
    pixmill::PxlCodecInfo record;
    record.width = static_cast<int16_t>(side);
    record.height = static_cast<int16_t>(side);
    record.bitsPerPixel = static_cast<int16_t>(bits);
    record.option2 = static_cast<int16_t>(quality);
    for (int i = 0; i < 256; ++i) record.setPaletteEntry(i, static_cast<uint8_t>(i), 0, 0);
    OneColourRows rows(pixmill::prepareRowTransfer(record).stride);
    TempFolder folder;
    const std::string path = bmp_test::windowsPath(folder.file("large.bin"));
    {
        pixmill::ByteStream stream;
        if (!stream.openFile(path.c_str(), "wb")) return {};
        pixmill::CodecCall call{record, stream};
        call.source = &rows;
        if (save(call) != pixmill::kCodecOk) return {};
    }
    return bmp_test::readFile(folder.file("large.bin"));
}

// A grey picture of one level written by libtiff in deflated strips of 64 rows.
Bytes libtiffDeflated(int side) {
    TempFolder folder;
    const std::string path = folder.file("large.tif").string();
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return {};
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(side));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(side));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 64);
    Bytes row(static_cast<size_t>(side), 77);
    bool written = true;
    for (int y = 0; y < side && written; ++y)
        written = TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(y), 0) == 1;
    TIFFClose(t);
    return written ? bmp_test::readFile(path) : Bytes{};
}

// Data far smaller than their pictures that still fill them, in the formats that pack one colour
// that small; JPEG progressive too, whose arrays of 8000 x 8000 grey stay under the cap.
TEST(HostileSizes, LargePicturesOfOneColourStillLoad) {
    constexpr int kSide = 8000;
    struct Large {
        const char* name;
        CodecFn info;
        CodecFn load;
        std::function<Bytes()> make;
    };
    const Large cases[] = {
        {"BMI (the codec's writer)", pixmill::bmiInfo, pixmill::bmiLoad,
         [] { return savedOfOneColour(pixmill::bmiSave, kSide, 8); }},
        {"JPEG baseline colour (the codec's writer)", pixmill::jpegInfo, pixmill::jpegLoad,
         [] { return savedOfOneColour(pixmill::jpegSave, kSide, 24, 75); }},
        {"JPEG progressive grey (libjpeg)", pixmill::jpegInfo, pixmill::jpegLoad,
         [] {
             return libjpegFile(kSide, kSide, 1, true,
                                [](int, uint8_t* row) { std::fill_n(row, kSide, 200); });
         }},
        {"TIFF deflate grey (libtiff)", pixmill::tiffInfo, pixmill::tiffLoad,
         [] { return libtiffDeflated(kSide); }},
    };
    for (const Large& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = c.make();
        ASSERT_FALSE(file.empty());
        ASSERT_LT(file.size(), size_t{1} << 20);
        const Outcome o = run(c.info, c.load, file);
        EXPECT_EQ(o.info, pixmill::kCodecOk);
        EXPECT_EQ(o.load, pixmill::kCodecOk);
        EXPECT_EQ(o.rows, static_cast<uint64_t>(kSide));
    }
}

}  // namespace
