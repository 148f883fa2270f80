// The PNG codec against netpbm's and ImageMagick's decoding of files made by pnmtopng (every
// colour type and bit depth, interlaced or not, with transparency), files damaged in ways libpng
// only warns about, and the codec's writer checked by pngcheck and read back.
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "../pixmill_fixture.h"
#include "formats/png_codec.h"
#include "library_codec_test_support.h"

namespace {

using namespace codec_test;
using pixmill::pngInfo;
using pixmill::pngLoad;
using pixmill::pngSave;

Decoded decodePng(const Bytes& file, const Bytes& prefix = {}, int stopAfter = -1) {
    return decodeWith(pngInfo, pngLoad, file, prefix, stopAfter);
}

uint32_t be32(const Bytes& b, size_t at) {
    return uint32_t{b.at(at)} << 24 | uint32_t{b.at(at + 1)} << 16 | uint32_t{b.at(at + 2)} << 8 | b.at(at + 3);
}
void putBe32(Bytes& b, uint32_t v) {
    for (int shift : {24, 16, 8, 0}) b.push_back(static_cast<uint8_t>(v >> shift));
}

struct Ihdr {
    int bitDepth = -1;
    int colourType = -1;
    bool interlaced = false;
    bool hasTrns = false;
};
Ihdr ihdrOf(const Bytes& png) {
    Ihdr h;
    if (png.size() < 33) return h;
    h.bitDepth = png[24];
    h.colourType = png[25];
    h.interlaced = png[28] == 1;
    for (size_t at = 8; at + 8 <= png.size();) {
        const uint32_t length = be32(png, at);
        if (std::equal(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8, "tRNS")) h.hasTrns = true;
        at += 12 + size_t{length};
    }
    return h;
}

// A chunk with its length and checksum.
Bytes chunk(const char* type, const Bytes& data) {
    Bytes b;
    putBe32(b, static_cast<uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    b.insert(b.end(), typed.begin(), typed.end());
    putBe32(b, static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
    return b;
}

// Inserts a chunk right after IHDR.
Bytes withChunkAfterHeader(const Bytes& png, const Bytes& extra) {
    Bytes out(png.begin(), png.begin() + 33);
    out.insert(out.end(), extra.begin(), extra.end());
    out.insert(out.end(), png.begin() + 33, png.end());
    return out;
}

// ---- sources for pnmtopng ----

Bytes pnmHeader(const char* magic, int width, int height, int maxval) {
    const std::string head = std::string(magic) + "\n" + std::to_string(width) + " " + std::to_string(height) + "\n" +
                             std::to_string(maxval) + "\n";
    return Bytes(head.begin(), head.end());
}
void putSample(Bytes& b, uint32_t v, int maxval) {
    if (maxval > 255) b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
}

constexpr int kWidth = 29;
constexpr int kHeight = 17;

Bytes greyPgm(int maxval) {
    Bytes b = pnmHeader("P5", kWidth, kHeight, maxval);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) putSample(b, static_cast<uint32_t>(x * 7919 + y * 104729) % (uint32_t(maxval) + 1), maxval);
    }
    return b;
}

Bytes colourPpm(int maxval) {
    Bytes b = pnmHeader("P6", kWidth, kHeight, maxval);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t c = testColour(x, y);
            for (int shift : {16, 8, 0}) {
                const uint32_t v = (c >> shift) & 255;
                putSample(b, maxval > 255 ? v * 257 ^ static_cast<uint32_t>((x * 31 + y * 17 + shift) & 0xFF) : v, maxval);
            }
        }
    }
    return b;
}

// A picture of 'count' distinct colours.
Bytes fewColoursPpm(int count) {
    Bytes b = pnmHeader("P6", kWidth, kHeight, 255);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int i = (x + y * kWidth) % count;
            b.insert(b.end(), {static_cast<uint8_t>(20 + i * 37 % 230), static_cast<uint8_t>(200 - i * 13 % 190),
                               static_cast<uint8_t>(i * 101 % 256)});
        }
    }
    return b;
}

Bytes alphaPgm(int maxval) {
    Bytes b = pnmHeader("P5", kWidth, kHeight, maxval);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) putSample(b, static_cast<uint32_t>((x * 40 + y * 9) % (maxval + 1)), maxval);
    }
    return b;
}

struct MatrixCase {
    const char* name;
    Bytes source;
    const char* options;
    bool alpha16;  // the alpha file is 16-bit
    bool alpha;
    int bitDepth, colourType;
    bool trns;
    int bits;  // what the codec reports
};

std::vector<MatrixCase> matrix() {
    const char* transparentColour = "-transparent =rgb:14/c8/00";  // colour 0 of fewColoursPpm
    return {
        {"grey 1", greyPgm(1), "", false, false, 1, 0, false, 1},
        {"grey 2", greyPgm(3), "", false, false, 2, 0, false, 8},
        {"grey 4", greyPgm(15), "", false, false, 4, 0, false, 4},
        {"grey 8", greyPgm(255), "", false, false, 8, 0, false, 8},
        {"grey 16", greyPgm(65535), "", false, false, 16, 0, false, 8},
        {"grey 2 with tRNS", greyPgm(3), "-transparent =rgb:55/55/55", false, false, 2, 0, true, 8},
        {"RGB 8", colourPpm(255), "", false, false, 8, 2, false, 24},
        {"RGB 16", colourPpm(65535), "", false, false, 16, 2, false, 24},
        {"palette 1", fewColoursPpm(2), "", false, false, 1, 3, false, 1},
        {"palette 2", fewColoursPpm(4), "", false, false, 2, 3, false, 24},
        {"palette 4", fewColoursPpm(16), "", false, false, 4, 3, false, 4},
        {"palette 8", fewColoursPpm(200), "", false, false, 8, 3, false, 8},
        {"palette 8 with tRNS", fewColoursPpm(200), transparentColour, false, false, 8, 3, true, 8},
        {"palette 2 with tRNS", fewColoursPpm(4), transparentColour, false, false, 2, 3, true, 24},
        {"grey + alpha 8", greyPgm(255), "", false, true, 8, 4, false, 8},
        {"grey + alpha 16", greyPgm(65535), "", true, true, 16, 4, false, 8},
        {"RGBA 8", colourPpm(255), "", false, true, 8, 6, false, 24},
        {"RGBA 16", colourPpm(65535), "", true, true, 16, 6, false, 24},
    };
}

TEST(PngCodec, EveryColourTypeAndDepthLoadsAsNetpbmAndImageMagickDecodeIt) {
    REQUIRE_TOOLS("netpbm", "pnmtopng", "pngtopnm");
    TempFolder folder;
    for (const MatrixCase& c : matrix()) {
        Decoded plain;
        for (const bool interlaced : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (interlaced ? ", interlaced" : ""));
            const fs::path source = folder.file("source.pnm");
            const fs::path alpha = folder.file("alpha.pgm");
            const fs::path png = folder.file("made.png");
            bmp_test::writeFile(source, c.source);
            bmp_test::writeFile(alpha, alphaPgm(c.alpha16 ? 65535 : 255));
            std::string command = "pnmtopng " + std::string(c.options) + (interlaced ? " -interlace" : "");
            if (c.alpha) command += " -alpha=" + quoted(alpha);
            ASSERT_TRUE(run(command + " " + quoted(source) + " > " + quoted(png)));
            const Bytes file = bmp_test::readFile(png);
            const Ihdr h = ihdrOf(file);
            ASSERT_EQ(h.bitDepth, c.bitDepth) << "pnmtopng made another variant";
            ASSERT_EQ(h.colourType, c.colourType) << "pnmtopng made another variant";
            ASSERT_EQ(h.hasTrns, c.trns);
            ASSERT_EQ(h.interlaced, interlaced);

            const Decoded d = decodePng(file);
            ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
            const Decoded lent = decodeWith(pngInfo, pngLoad, file, {}, -1, true);
            ASSERT_TRUE(lent.ok());
            EXPECT_EQ(lent.sink->rows(), d.sink->rows()) << "rows decoded in the rows a sink lends differ";
            EXPECT_EQ(lent.sink->inPlace, interlaced ? 0 : kHeight);
            EXPECT_EQ(d.info.bitsPerPixel, c.bits);
            EXPECT_STREQ(d.info.detailText, interlaced ? "LZW interlaced" : "LZW compression");
            EXPECT_EQ(d.info.flags, interlaced ? pixmill::kFlagNotScalable : 0);

            ASSERT_TRUE(run("pngtopnm " + quoted(png) + " > " + quoted(folder.file("nb.pnm"))));
            const auto netpbm = readPnm(folder.file("nb.pnm"));
            ASSERT_TRUE(netpbm.has_value());
            {
                SCOPED_TRACE("netpbm");
                expectSamePixels(d, *netpbm);
            }
            if (!imageMagick().empty()) {
                SCOPED_TRACE("ImageMagick");
                ASSERT_TRUE(run(imageMagick() + " " + quoted(png) + " -alpha off -depth 8 ppm:" + quoted(folder.file("im.ppm"))));
                const auto im = readPnm(folder.file("im.ppm"));
                ASSERT_TRUE(im.has_value());
                // ImageMagick rounds 16-bit samples to 8 bits; libpng keeps the high byte.
                expectSamePixels(d, *im, c.bitDepth == 16 ? 1 : 0);
            }
            if (!interlaced) {
                plain = d;
            } else {
                for (int y = 0; y < kHeight; ++y) EXPECT_EQ(d.sink->rows()[static_cast<size_t>(y)], plain.sink->rows()[static_cast<size_t>(y)]);
            }
        }
    }
}

TEST(PngCodec, APictureInsideALargerFileLoads) {
    const Saved saved = saveWith(pngSave, trueColourSource(21, 9, testColour));
    ASSERT_EQ(saved.result, 0);
    const Decoded alone = decodePng(saved.bytes);
    const Decoded inside = decodePng(saved.bytes, Bytes(777, 0xA5));
    ASSERT_TRUE(alone.ok());
    ASSERT_TRUE(inside.ok());
    EXPECT_EQ(inside.info.fileSize, static_cast<int32_t>(saved.bytes.size() + 777));
    EXPECT_EQ(inside.sink->rows(), alone.sink->rows());
    EXPECT_EQ(alone.rgb(20, 8), testColour(20, 8));
}

// libpng warns about these files yet decodes them whole; the warning must not end the load.
TEST(PngCodec, FilesLibpngOnlyWarnsAboutLoad) {
    const Bytes good = saveWith(pngSave, trueColourSource(12, 7, testColour)).bytes;
    Bytes badChecksum = chunk("tEXt", Bytes{'a', 0, 'b'});
    badChecksum.back() ^= 0xFF;
    Bytes iccp = {'x', 0, 0};  // a profile name, deflate, then a stream that is no profile
    const Bytes notAProfile = {0x78, 0x9C, 0x63, 0x60, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01};
    iccp.insert(iccp.end(), notAProfile.begin(), notAProfile.end());
    const Bytes badSrgbIntent = chunk("sRGB", Bytes{9});
    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"an ancillary chunk with a bad checksum", withChunkAfterHeader(good, badChecksum)},
        {"an ICC profile that is not one", withChunkAfterHeader(good, chunk("iCCP", iccp))},
        {"an sRGB chunk with an unknown intent", withChunkAfterHeader(good, badSrgbIntent)},
        {"an unknown ancillary chunk", withChunkAfterHeader(good, chunk("zzZz", Bytes(5, 1)))},
    };
    const Decoded plain = decodePng(good);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        winplat::testing::DebugCapture debug;
        const Decoded d = decodePng(c.file);
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult << " " << debug.text();
        EXPECT_EQ(d.sink->rows(), plain.sink->rows());
    }
    winplat::testing::DebugCapture debug;
    decodePng(cases[0].file);
    EXPECT_TRUE(debug.contains("PXL32: PNG warning: ")) << debug.text();
}

TEST(PngCodec, ACutOffImageDataIsAFormatError) {
    const Saved saved = saveWith(pngSave, trueColourSource(40, 30, testColour));
    ASSERT_EQ(saved.result, 0);
    const Bytes cut(saved.bytes.begin(), saved.bytes.end() - 40);  // into the image data
    winplat::testing::DebugCapture debug;
    const Decoded d = decodePng(cut);
    EXPECT_EQ(d.infoResult, 0);
    EXPECT_EQ(d.loadResult, pixmill::kCodecBadFormat);
    EXPECT_TRUE(debug.contains("PXL32: PNG error: ")) << debug.text();
}

TEST(PngCodec, BreakingOffAnInterlacedLoadStopsIt) {
    Source s = trueColourSource(40, 30, testColour);
    s.info.option1 = 0x80;
    const Saved saved = saveWith(pngSave, s);
    ASSERT_EQ(saved.result, 0);
    static int rowsSeen;
    rowsSeen = 0;
    TempFolder folder;
    bmp_test::writeFile(folder.file("i.png"), saved.bytes);
    pixmill::ByteStream stream;
    ASSERT_TRUE(stream.openFile(bmp_test::windowsPath(folder.file("i.png")).c_str(), "rb"));
    pixmill::PxlCodecInfo info;
    pixmill::CodecCall call{info, stream};
    ASSERT_EQ(pngInfo(call), 0);
    stream.seek(0, SEEK_SET);
    CollectingSink sink(pixmill::prepareRowTransfer(info));
    call.sink = &sink;
    call.progress = [] {
        if (++rowsSeen == 10) PXLBreakLoad();
    };
    pixmill::startLoad();
    EXPECT_EQ(pngLoad(call), pixmill::kCodecStopped);
    EXPECT_EQ(rowsSeen, 10);
    EXPECT_TRUE(sink.order.empty()) << "an interlaced picture hands over no rows before its last pass";
    pixmill::startLoad();
}

TEST(PngCodec, TheSinkCanStopTheLoad) {
    const Saved saved = saveWith(pngSave, trueColourSource(10, 12, testColour));
    const Decoded d = decodePng(saved.bytes, {}, 3);
    EXPECT_EQ(d.loadResult, pixmill::kCodecStopped);
    EXPECT_EQ(d.sink->order.size(), 3u);
}

// ---- the writer ----

Source indexedSource(int bits, int width, int height) {
    Source s;
    s.info.width = static_cast<int16_t>(width);
    s.info.height = static_cast<int16_t>(height);
    s.info.bitsPerPixel = static_cast<int16_t>(bits);
    const int entries = 1 << bits;
    for (int i = 0; i < entries; ++i) {
        s.info.setPaletteEntry(i, static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 31));
    }
    for (int y = 0; y < height; ++y) {
        Bytes row(strideFor(width, bits), 0);
        for (int x = 0; x < width; ++x) {
            const int index = (x * 3 + y * 5) % entries;
            if (bits == 1) row[x / 8] |= static_cast<uint8_t>(index << (7 - x % 8));
            if (bits == 4) row[x / 2] |= static_cast<uint8_t>(index << (x % 2 ? 0 : 4));
            if (bits == 8) row[x] = static_cast<uint8_t>(index);
        }
        s.rows.push_back(row);
    }
    return s;
}

// A sink that lends its rows gets them decoded in place, byte for byte what a sink that copies
// gets, partial last bytes of 1- and 4-bit rows included; interlaced pictures, complete only after
// their last pass, still come from the codec's own rows.
TEST(PngCodec, RowsLentByTheSinkGetWhatCopiedRowsGet) {
    const Source sources[] = {indexedSource(1, 29, 7), indexedSource(4, 13, 9), indexedSource(8, 19, 11),
                              trueColourSource(23, 13, testColour)};
    for (const Source& source : sources) {
        for (const bool interlaced : {false, true}) {
            const std::string bits = std::to_string(source.info.bitsPerPixel);
            SCOPED_TRACE(bits + (interlaced ? " bits, interlaced" : " bits"));
            Source s = source;
            s.info.option1 = interlaced ? 0x80 : 0;
            const Saved saved = saveWith(pngSave, s);
            ASSERT_EQ(saved.result, 0);
            const Decoded copied = decodePng(saved.bytes);
            const Decoded lent = decodeWith(pngInfo, pngLoad, saved.bytes, {}, -1, true);
            ASSERT_TRUE(copied.ok());
            ASSERT_TRUE(lent.ok());
            EXPECT_EQ(lent.sink->rows(), copied.sink->rows());
            EXPECT_EQ(lent.sink->inPlace, interlaced ? 0 : s.info.height);
        }
    }
}

TEST(PngCodec, TheSinkCanStopALoadIntoLentRows) {
    const Saved saved = saveWith(pngSave, trueColourSource(10, 12, testColour));
    const Decoded d = decodeWith(pngInfo, pngLoad, saved.bytes, {}, 3, true);
    EXPECT_EQ(d.loadResult, pixmill::kCodecStopped);
    EXPECT_EQ(d.sink->order.size(), 3u);
    EXPECT_EQ(d.sink->inPlace, 3);
}

TEST(PngCodec, WrittenFilesPassPngcheckAndReadBackAsSaved) {
    struct Case {
        const char* name;
        Source source;
        int bitDepth, colourType, paletteEntries;
    };
    const Case cases[] = {
        {"1 bit", indexedSource(1, 33, 7), 1, 3, 2},
        {"4 bits", indexedSource(4, 13, 9), 4, 3, 16},
        {"8 bits", indexedSource(8, 19, 11), 8, 3, 256},
        {"24 bits", trueColourSource(23, 13, testColour), 8, 2, 0},
    };
    const bool pngcheck = have("pngcheck");
    TempFolder folder;
    for (const Case& c : cases) {
        for (const bool interlaced : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (interlaced ? ", interlaced" : ""));
            Source s = c.source;
            s.info.option1 = interlaced ? 0x80 : 0;
            const Saved saved = saveWith(pngSave, s);
            ASSERT_EQ(saved.result, 0);
            const Ihdr h = ihdrOf(saved.bytes);
            EXPECT_EQ(h.bitDepth, c.bitDepth);
            EXPECT_EQ(h.colourType, c.colourType);
            EXPECT_EQ(h.interlaced, interlaced);
            if (c.paletteEntries) {
                const std::string_view name = "PLTE";
                const auto plte = std::search(saved.bytes.begin(), saved.bytes.end(), name.begin(), name.end());
                ASSERT_NE(plte, saved.bytes.end());
                EXPECT_EQ(be32(saved.bytes, static_cast<size_t>(plte - saved.bytes.begin()) - 4), 3u * c.paletteEntries);
            }
            if (pngcheck) {
                bmp_test::writeFile(folder.file("ours.png"), saved.bytes);
                EXPECT_TRUE(run("pngcheck -q " + quoted(folder.file("ours.png"))));
            }
            const Decoded d = decodePng(saved.bytes);
            ASSERT_TRUE(d.ok());
            for (int y = 0; y < s.info.height; ++y) {
                const size_t used = (static_cast<size_t>(s.info.width) * static_cast<size_t>(d.depth()) + 7) / 8;
                const Bytes& got = d.sink->rows()[static_cast<size_t>(y)];
                EXPECT_TRUE(std::equal(got.begin(), got.begin() + static_cast<long>(used), s.rows[static_cast<size_t>(y)].begin()))
                    << "row " << y;
            }
            for (int i = 0; i < c.paletteEntries; ++i) EXPECT_EQ(d.info.palette[3 * i + 1], s.info.palette[3 * i + 1]);
        }
    }
    if (!pngcheck) GTEST_SKIP() << "pngcheck is not installed (tools/deps.txt lists it): written files were only read back";
}

// Sixteen- and 32-bit images are written as 8-bit RGB from their converted rows.
TEST(PngCodec, DeeperImagesAreWrittenAsRgb) {
    Source s16;
    s16.info.width = 3;
    s16.info.height = 1;
    s16.info.bitsPerPixel = 16;
    s16.rows = {Bytes{0x00, 0xF8, 0x1F, 0x00, 0xE0, 0x07, 0, 0}};  // red, blue, green in 5-6-5
    Source s32 = s16;
    s32.info.bitsPerPixel = 32;
    s32.rows = {Bytes{0x10, 0x20, 0x30, 0xFF, 0x40, 0x50, 0x60, 0xFF, 0x70, 0x80, 0x90, 0xFF}};
    const Decoded d16 = decodePng(saveWith(pngSave, s16).bytes);
    const Decoded d32 = decodePng(saveWith(pngSave, s32).bytes);
    ASSERT_TRUE(d16.ok());
    ASSERT_TRUE(d32.ok());
    EXPECT_EQ(d16.rgb(0, 0), 0xFF0307u);  // a 6-bit 0 widens to 3, a 5-bit 0 to 7
    EXPECT_EQ(d16.rgb(1, 0), 0x0703FFu);
    EXPECT_EQ(d16.rgb(2, 0), 0x07FF07u);
    EXPECT_EQ(d32.rgb(0, 0), 0x302010u);
    EXPECT_EQ(d32.rgb(2, 0), 0x908070u);
}

TEST(PngCodec, AWriteErrorEndsTheSaveWithSix) {
    Source s = trueColourSource(200, 100, testColour);
    for (size_t limit : {size_t{0}, size_t{8}, size_t{40}, size_t{400}}) {
        SCOPED_TRACE(limit);
        bmp_test::MemoryCallbacks memory;
        memory.writeLimit = limit;
        pixmill::ByteStream stream(&memory.callbacks);
        VectorSource rows(s.rows);
        pixmill::CodecCall call{s.info, stream};
        call.source = &rows;
        winplat::testing::DebugCapture quiet;
        EXPECT_EQ(pngSave(call), pixmill::kCodecWriteError);
    }
}

// ---- through the front end ----

class PngFiles : public PixmillTest {};

TEST_F(PngFiles, SaveAndLoadKeepEveryPixel) {
    TempFolder folder;
    const std::string path = bmp_test::windowsPath(folder.file("picture.png"));
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        const PxlImageId id = PXLCreateImage(17, 5, bits);
        uint8_t* data = PXLGetBits(id);
        for (int i = 0; i < PXLSizeImage(id); ++i) data[i] = static_cast<uint8_t>(i * 13 + 5);
        // Row padding is not part of the picture.
        const int stride = PXLCalcScanBytes(17, bits);
        for (int y = 0; y < 5; ++y) {
            for (int i = (17 * bits + 7) / 8; i < stride; ++i) data[y * stride + i] = 0;
            if (bits < 8 && (17 * bits) % 8) data[y * stride + (17 * bits) / 8] &= static_cast<uint8_t>(0xFF << (8 - (17 * bits) % 8));
        }
        ASSERT_EQ(PXLSaveImage(id, path.c_str(), PXL_FORMAT_PNG, 0x80, 0, nullptr), 1);
        PxlFileInfo info{};
        ASSERT_EQ(PXLGetInfoFile(path.c_str(), &info), 1);
        EXPECT_EQ(info.formatId, PXL_FORMAT_PNG);
        EXPECT_STREQ(info.detailText, "LZW interlaced");
        const PxlImageId back = PXLLoadImage(0, path.c_str(), nullptr);
        ASSERT_NE(back, 0);
        EXPECT_EQ(PXLCompareImages(id, back), 1);
    }
}

}  // namespace
