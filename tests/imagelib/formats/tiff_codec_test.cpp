// The TIFF codec against libtiff's tiff2rgba (through tifftopnm) on files made by netpbm,
// ImageMagick and tiffcp in every compression and photometric interpretation the codec reads,
// files made here through libtiff for the layouts the tools do not make, and the codec's writer
// checked by tiffinfo and read back by ImageMagick.
#include <tiffio.h>

#include <algorithm>
#include <array>

#include "../pixmill_fixture.h"
#include "formats/tiff_codec.h"
#include "library_codec_test_support.h"

namespace {

using namespace codec_test;
using pixmill::tiffInfo;
using pixmill::tiffLoad;
using pixmill::tiffSave;

Decoded decodeTiff(const Bytes& file, const Bytes& prefix = {}, int stopAfter = -1) {
    return decodeWith(tiffInfo, tiffLoad, file, prefix, stopAfter);
}

// ---- files made through libtiff in the test ----

struct TiffSpec {
    uint32_t width = 8;
    uint32_t height = 4;
    uint16_t bitsPerSample = 8;
    uint16_t samples = 1;
    uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t compression = COMPRESSION_NONE;
    uint32_t rowsPerStrip = 0;  // 0: the whole picture
    uint16_t extraSamples = 0;  // number of unassociated alpha samples at the end
    std::vector<uint16_t> colourMap;  // red, green, blue arrays one after another
    Bytes pixels;  // packed rows, top first
};

Bytes makeTiff(const TiffSpec& s) {
    TempFolder folder;
    const fs::path path = folder.file("made.tif");
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return {};
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, s.width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, s.height);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, s.bitsPerSample);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, s.samples);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, s.photometric);
    TIFFSetField(t, TIFFTAG_COMPRESSION, s.compression);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    const uint32_t rows = s.rowsPerStrip ? s.rowsPerStrip : s.height;
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rows);
    if (s.extraSamples) {
        std::vector<uint16_t> kinds(s.extraSamples, EXTRASAMPLE_UNASSALPHA);
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, s.extraSamples, kinds.data());
    }
    if (!s.colourMap.empty()) {
        const size_t n = s.colourMap.size() / 3;
        TIFFSetField(t, TIFFTAG_COLORMAP, s.colourMap.data(), s.colourMap.data() + n, s.colourMap.data() + 2 * n);
    }
    const tmsize_t scanline = TIFFScanlineSize(t);
    for (uint32_t first = 0, strip = 0; first < s.height; first += rows, ++strip) {
        const uint32_t n = std::min(rows, s.height - first);
        TIFFWriteEncodedStrip(t, strip, const_cast<uint8_t*>(s.pixels.data()) + first * scanline, n * scanline);
    }
    TIFFClose(t);
    return bmp_test::readFile(path);
}

// A minimal little-endian file written field by field: 4 x 2 pixels of 8-bit grey, one strip,
// and no RowsPerStrip tag (which then means the whole picture).
Bytes tinyGreyWithoutRowsPerStrip() {
    Bytes b = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const uint16_t entries = 7;
    b.insert(b.end(), {static_cast<uint8_t>(entries), 0});
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        b.insert(b.end(), {static_cast<uint8_t>(tag), static_cast<uint8_t>(tag >> 8), static_cast<uint8_t>(type),
                           static_cast<uint8_t>(type >> 8)});
        bmp_test::put32(b, count);
        bmp_test::put32(b, value);
    };
    const uint32_t pixelsAt = 8 + 2 + 12 * entries + 4;
    entry(256, 3, 1, 4);         // ImageWidth
    entry(257, 3, 1, 2);         // ImageLength
    entry(258, 3, 1, 8);         // BitsPerSample
    entry(259, 3, 1, 1);         // Compression: none
    entry(262, 3, 1, 1);         // Photometric: black is zero
    entry(273, 4, 1, pixelsAt);  // StripOffsets
    entry(279, 4, 1, 8);         // StripByteCounts
    bmp_test::put32(b, 0);       // no next directory
    b.insert(b.end(), {0, 40, 80, 120, 160, 200, 240, 255});
    return b;
}

// ---- cross-checks with the tools ----

struct ToolCase {
    const char* name;
    const char* make;       // command making base.tif from the sources (netpbm or ImageMagick)
    const char* tiffcp;     // options of a tiffcp pass, or empty
    uint16_t photometric;   // what the file must have, so a changed tool cannot pass unnoticed
    uint16_t compression;
    uint16_t bitsPerSample;
    int bits;               // what the codec reports
    const char* detail;
    int tolerance = 0;      // tiff2rgba rounds 16-bit samples; the codec keeps their high byte
};

struct Tags {
    uint16_t photometric = 0, compression = 0, bitsPerSample = 0;
};
Tags tagsOf(const fs::path& path) {
    Tags t;
    TIFFSetWarningHandler(nullptr);
    if (TIFF* tiff = TIFFOpen(path.c_str(), "r")) {
        TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &t.photometric);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &t.compression);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &t.bitsPerSample);
        TIFFClose(tiff);
    }
    return t;
}

TEST(TiffCodec, ToolFilesOfEveryCompressionAndPhotometricLoadAsTiff2rgbaDecodesThem) {
    REQUIRE_TOOLS("libtiff-tools", "tiffcp", "tiff2rgba");
    REQUIRE_TOOLS("netpbm", "tifftopnm", "pnmtotiff");
    const ToolCase cases[] = {
        {"RGB, none", "pnmtotiff -truecolor rgb.ppm", "", PHOTOMETRIC_RGB, COMPRESSION_NONE, 8, 24, "no compression"},
        {"RGB, PackBits", "pnmtotiff -truecolor rgb.ppm", "-c packbits", PHOTOMETRIC_RGB, COMPRESSION_PACKBITS, 8, 24, "RLE compression"},
        {"RGB, LZW", "pnmtotiff -truecolor rgb.ppm", "-c lzw", PHOTOMETRIC_RGB, COMPRESSION_LZW, 8, 24, "LZW compression"},
        {"RGB, Deflate", "pnmtotiff -truecolor rgb.ppm", "-c zip", PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE, 8, 24, "Deflate compression"},
        {"RGB, JPEG", "pnmtotiff -truecolor rgb.ppm", "-c jpeg -r 16", PHOTOMETRIC_YCBCR, COMPRESSION_JPEG, 8, 24, "JPEG DCT compression (YCBCR)"},
        {"RGB, several strips", "pnmtotiff -truecolor rgb.ppm", "-c lzw -r 5", PHOTOMETRIC_RGB, COMPRESSION_LZW, 8, 24, "LZW compression"},
        {"RGB 16 bits a sample", "pnmtotiff -truecolor rgb16.ppm", "-c lzw", PHOTOMETRIC_RGB, COMPRESSION_LZW, 16, 24, "LZW compression", 1},
        {"palette", "pnmtotiff pal.ppm", "-c lzw", PHOTOMETRIC_PALETTE, COMPRESSION_LZW, 8, 8, "LZW compression"},
        {"grey, black is zero", "pnmtotiff grey.pgm", "-c packbits", PHOTOMETRIC_MINISBLACK, COMPRESSION_PACKBITS, 8, 8, "RLE compression"},
        {"grey, white is zero", "pnmtotiff -miniswhite grey.pgm", "-c lzw", PHOTOMETRIC_MINISWHITE, COMPRESSION_LZW, 8, 8, "LZW compression"},
        {"grey 16 bits", "pnmtotiff grey16.pgm", "-c zip", PHOTOMETRIC_MINISBLACK, COMPRESSION_ADOBE_DEFLATE, 16, 8, "Deflate compression"},
        {"1 bit, black is zero", "pnmtotiff -minisblack bw.pbm", "", PHOTOMETRIC_MINISBLACK, COMPRESSION_NONE, 1, 1, "no compression"},
        {"1 bit, G3", "pnmtotiff -miniswhite bw.pbm", "-c g3", PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX3, 1, 1, "CCITT Group 3 fax encoding"},
        {"1 bit, G4", "pnmtotiff -miniswhite bw.pbm", "-c g4", PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4, 1, 1, "CCITT Group 4 fax encoding"},
        {"1 bit, PackBits", "pnmtotiff -miniswhite bw.pbm", "-c packbits", PHOTOMETRIC_MINISWHITE, COMPRESSION_PACKBITS, 1, 1, "RLE compression"},
    };
    TempFolder folder;
    writePpm(folder.file("rgb.ppm"), 45, 33, testColour);
    {
        Bytes b = {'P', '6', '\n', '4', '5', ' ', '3', '3', '\n', '6', '5', '5', '3', '5', '\n'};
        for (int y = 0; y < 33; ++y) {
            for (int x = 0; x < 45; ++x) {
                for (int shift : {16, 8, 0}) {
                    const uint32_t v = ((testColour(x, y) >> shift) & 255) * 257 ^ static_cast<uint32_t>((x * 37 + y) & 255);
                    b.insert(b.end(), {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
                }
            }
        }
        bmp_test::writeFile(folder.file("rgb16.ppm"), b);
    }
    writePpm(folder.file("pal.ppm"), 45, 33, [](int x, int y) { return static_cast<uint32_t>((x / 5 + y / 4) % 7) * 0x251F0Bu; });
    ASSERT_TRUE(run("cd " + quoted(folder.path()) + " && ppmtopgm rgb.ppm > grey.pgm && pnmdepth 65535 grey.pgm > grey16.pgm && "
                    "pgmtopbm -threshold grey.pgm > bw.pbm"));
    for (const ToolCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string in = quoted(folder.path());
        ASSERT_TRUE(run("cd " + in + " && " + c.make + " > base.tif"));
        if (*c.tiffcp) {
            ASSERT_TRUE(run("cd " + in + " && tiffcp " + c.tiffcp + " base.tif made.tif"));
        } else {
            ASSERT_TRUE(run("cd " + in + " && cp base.tif made.tif"));
        }
        const Tags tags = tagsOf(folder.file("made.tif"));
        ASSERT_EQ(tags.photometric, c.photometric) << "the tools made another variant";
        ASSERT_EQ(tags.compression, c.compression) << "the tools made another variant";
        ASSERT_EQ(tags.bitsPerSample, c.bitsPerSample) << "the tools made another variant";
        ASSERT_TRUE(run("cd " + in + " && tiff2rgba made.tif rgba.tif && tifftopnm rgba.tif > rgba.pnm"));
        const auto tool = readPnm(folder.file("rgba.pnm"));
        ASSERT_TRUE(tool.has_value());
        const Bytes file = bmp_test::readFile(folder.file("made.tif"));
        const Decoded d = decodeTiff(file);
        EXPECT_EQ(d.info.bitsPerPixel, c.bits);
        EXPECT_STREQ(d.info.detailText, c.detail);
        expectSamePixels(d, *tool, c.tolerance);
    }
}

TEST(TiffCodec, ImageMagickCmykFilesLoadAsTiff2rgbaDecodesThem) {
    REQUIRE_IMAGEMAGICK();
    REQUIRE_TOOLS("libtiff-tools", "tiff2rgba");
    REQUIRE_TOOLS("netpbm", "tifftopnm");
    TempFolder folder;
    writePpm(folder.file("rgb.ppm"), 30, 20, testColour);
    const std::string in = quoted(folder.path());
    ASSERT_TRUE(run("cd " + in + " && " + imageMagick() + " rgb.ppm -colorspace CMYK -compress lzw cmyk.tif"));
    ASSERT_EQ(tagsOf(folder.file("cmyk.tif")).photometric, PHOTOMETRIC_SEPARATED);
    ASSERT_TRUE(run("cd " + in + " && tiff2rgba cmyk.tif rgba.tif && tifftopnm rgba.tif > rgba.pnm"));
    const Decoded d = decodeTiff(bmp_test::readFile(folder.file("cmyk.tif")));
    EXPECT_EQ(d.info.flags, pixmill::kFlagCmykTiff);
    EXPECT_STREQ(d.info.detailText, "LZW compression (CMYK)");
    // tiff2rgba scales by the ink left over ((255 - k) (255 - c) / 255); the codec subtracts: the two
    // agree where either factor is full and stay close elsewhere.
    expectSamePixels(d, *readPnm(folder.file("rgba.pnm")), 64);
}

// Inks taken out of white, each channel clamped at 0.
TEST(TiffCodec, CmykInksAreSubtractedFromWhite) {
    TiffSpec s;
    s.width = 4;
    s.height = 1;
    s.samples = 4;
    s.photometric = PHOTOMETRIC_SEPARATED;
    s.pixels = {255, 0, 0, 0, 0, 0, 0, 255, 100, 50, 20, 10, 200, 200, 200, 100};
    const Decoded d = decodeTiff(makeTiff(s));
    ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
    EXPECT_EQ(d.rgb(0, 0), 0x00FFFFu);
    EXPECT_EQ(d.rgb(1, 0), 0x000000u);
    EXPECT_EQ(d.rgb(2, 0), static_cast<uint32_t>(145 << 16 | 195 << 8 | 225));
    EXPECT_EQ(d.rgb(3, 0), 0x000000u);
}

TEST(TiffCodec, TilesAndSeparatePlanesAreRefusedWithThree) {
    REQUIRE_TOOLS("libtiff-tools", "tiffcp");
    REQUIRE_TOOLS("netpbm", "pnmtotiff");
    TempFolder folder;
    writePpm(folder.file("rgb.ppm"), 40, 40, testColour);
    const std::string in = quoted(folder.path());
    ASSERT_TRUE(run("cd " + in + " && pnmtotiff -truecolor rgb.ppm > base.tif && tiffcp -t -w 16 -l 16 base.tif tiled.tif && "
                    "tiffcp -p separate base.tif planes.tif"));
    for (const char* name : {"tiled.tif", "planes.tif"}) {
        SCOPED_TRACE(name);
        const Decoded d = decodeTiff(bmp_test::readFile(folder.file(name)));
        EXPECT_EQ(d.infoResult, 0);
        EXPECT_EQ(d.loadResult, pixmill::kCodecReadError);
    }
}

// ---- layouts made through libtiff ----

TEST(TiffCodec, GreyRampsFollowThePhotometricInterpretation) {
    struct Case {
        const char* name;
        uint16_t bits;
        uint16_t photometric;
        std::vector<uint8_t> palette;  // the grey levels of the first entries
    };
    const Case cases[] = {
        {"1 bit, white is zero", 1, PHOTOMETRIC_MINISWHITE, {255, 0}},
        {"1 bit, black is zero", 1, PHOTOMETRIC_MINISBLACK, {0, 255}},
        {"2 bits, black is zero", 2, PHOTOMETRIC_MINISBLACK, {0, 85, 170, 255}},
        {"4 bits, black is zero", 4, PHOTOMETRIC_MINISBLACK, {0, 17, 34, 51}},
        {"4 bits, white is zero", 4, PHOTOMETRIC_MINISWHITE, {255, 238, 221, 204}},
        {"8 bits, white is zero", 8, PHOTOMETRIC_MINISWHITE, {255, 254, 253, 252}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TiffSpec s;
        s.bitsPerSample = c.bits;
        s.photometric = c.photometric;
        s.pixels.assign(static_cast<size_t>(s.height) * ((s.width * c.bits + 7) / 8), 0x1B);
        const Decoded d = decodeTiff(makeTiff(s));
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        EXPECT_EQ(d.info.bitsPerPixel, c.bits);
        for (size_t i = 0; i < c.palette.size(); ++i) EXPECT_EQ(d.info.palette[3 * i], c.palette[i]) << "entry " << i;
        const int lastEntry = (1 << c.bits) - 1;
        EXPECT_EQ(d.info.palette[3 * static_cast<size_t>(lastEntry)], c.photometric == PHOTOMETRIC_MINISWHITE ? 0 : 255);
    }
}

// 2-bit pixels are widened into the 4-bit image: 0x1B holds indexes 0, 1, 2, 3.
TEST(TiffCodec, TwoBitPixelsAreWidenedToFour) {
    TiffSpec s;
    s.width = 5;
    s.height = 1;
    s.bitsPerSample = 2;
    s.photometric = PHOTOMETRIC_PALETTE;
    s.colourMap.assign(3 * 4, 0);
    for (int i = 0; i < 4; ++i) s.colourMap[static_cast<size_t>(i)] = static_cast<uint16_t>(i * 0x5555);
    s.pixels = {0x1B, 0xC0};
    const Decoded d = decodeTiff(makeTiff(s));
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.depth(), 4);
    EXPECT_EQ(d.sink->rows()[0][0], 0x01);
    EXPECT_EQ(d.sink->rows()[0][1], 0x23);
    EXPECT_EQ(d.sink->rows()[0][2], 0x30);
    EXPECT_EQ(d.rgb(3, 0), 0xFF0000u);
}

TEST(TiffCodec, ColourMapsOfSixteenAndEightBitValues) {
    struct Case {
        const char* name;
        std::array<uint16_t, 2> red;
        std::array<uint8_t, 2> expected;
    };
    const Case cases[] = {
        {"16-bit values are scaled", {0x8080, 0xFFFF}, {128, 255}},
        {"values below 256 are 8-bit", {0x0080, 0x00FF}, {128, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TiffSpec s;
        s.bitsPerSample = 1;
        s.photometric = PHOTOMETRIC_PALETTE;
        s.colourMap = {c.red[0], c.red[1], 0, 0, 0, 0};
        s.pixels.assign(4, 0x0F);
        const Decoded d = decodeTiff(makeTiff(s));
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.info.palette[0], c.expected[0]);
        EXPECT_EQ(d.info.palette[3], c.expected[1]);
    }
}

// Sixteen-bit grey and grey with alpha load as 8-bit grey: the high byte, the grey byte.
TEST(TiffCodec, WideGreyAndGreyWithAlphaLoadAsEightBitGrey) {
    TiffSpec grey16;
    grey16.width = 3;
    grey16.height = 1;
    grey16.bitsPerSample = 16;
    for (uint16_t v : {0x12FF, 0xAB00, 0xFFFF}) grey16.pixels.insert(grey16.pixels.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
    TiffSpec greyAlpha = grey16;
    greyAlpha.bitsPerSample = 8;
    greyAlpha.samples = 2;
    greyAlpha.extraSamples = 1;
    greyAlpha.pixels = {0x12, 0x00, 0xAB, 0x7F, 0xFF, 0xFF};
    for (const TiffSpec* s : {&grey16, &greyAlpha}) {
        const Decoded d = decodeTiff(makeTiff(*s));
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        EXPECT_EQ(d.info.bitsPerPixel, 8);
        EXPECT_EQ(d.sink->rows()[0][0], 0x12);
        EXPECT_EQ(d.sink->rows()[0][1], 0xAB);
        EXPECT_EQ(d.sink->rows()[0][2], 0xFF);
        EXPECT_EQ(d.info.palette[3 * 0xAB], 0xAB);
    }
}

TEST(TiffCodec, UnreadableLayoutsAreRefusedWithThree) {
    struct Case {
        const char* name;
        TiffSpec spec;
    };
    TiffSpec ycbcr;
    ycbcr.samples = 3;
    ycbcr.photometric = PHOTOMETRIC_YCBCR;
    ycbcr.pixels.assign(8 * 4 * 3, 128);
    TiffSpec lab = ycbcr;
    lab.photometric = PHOTOMETRIC_CIELAB;
    TiffSpec cmyk16;
    cmyk16.samples = 4;
    cmyk16.bitsPerSample = 16;
    cmyk16.photometric = PHOTOMETRIC_SEPARATED;
    cmyk16.pixels.assign(8 * 4 * 8, 0);
    TiffSpec odd;
    odd.bitsPerSample = 12;
    odd.pixels.assign(12 * 4, 0);
    TiffSpec palette16;
    palette16.bitsPerSample = 16;
    palette16.photometric = PHOTOMETRIC_PALETTE;
    palette16.pixels.assign(8 * 4 * 2, 0);
    palette16.colourMap.assign(3 * 65536, 0);
    const Case cases[] = {
        {"uncompressed YCbCr", ycbcr},
        {"CIELAB", lab},
        {"16-bit CMYK", cmyk16},
        {"12-bit grey", odd},
        {"16-bit palette", palette16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        winplat::testing::DebugCapture quiet;
        const Decoded d = decodeTiff(makeTiff(c.spec));
        EXPECT_EQ(d.infoResult, 0);
        EXPECT_EQ(d.loadResult, pixmill::kCodecReadError);
    }
}

TEST(TiffCodec, StripsOfEverySizeAndAMissingRowsPerStrip) {
    TiffSpec s;
    s.width = 6;
    s.height = 17;
    s.rowsPerStrip = 5;  // three full strips and a short one
    for (uint32_t i = 0; i < 6 * 17; ++i) s.pixels.push_back(static_cast<uint8_t>(i * 3));
    const Decoded d = decodeTiff(makeTiff(s));
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.sink->order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(d.sink->rows()[16][5], static_cast<uint8_t>((16 * 6 + 5) * 3));

    const Decoded tiny = decodeTiff(tinyGreyWithoutRowsPerStrip());
    ASSERT_TRUE(tiny.ok()) << tiny.infoResult << " " << tiny.loadResult;
    EXPECT_EQ(tiny.sink->rows()[1][3], 255);
}

TEST(TiffCodec, APictureInsideALargerFileLoads) {
    const Bytes file = tinyGreyWithoutRowsPerStrip();
    const Decoded alone = decodeTiff(file);
    const Decoded inside = decodeTiff(file, Bytes(4099, 0x49));
    ASSERT_TRUE(inside.ok()) << inside.infoResult << " " << inside.loadResult;
    EXPECT_EQ(inside.sink->rows(), alone.sink->rows());
    EXPECT_EQ(inside.info.fileSize, static_cast<int32_t>(file.size() + 4099));
}

TEST(TiffCodec, LibraryWarningsGoToTheDebugOutput) {
    Bytes file = tinyGreyWithoutRowsPerStrip();
    file[8 + 2 + 12 * 4] = 0x34;  // Photometric's tag number becomes an unknown private tag
    file[8 + 2 + 12 * 4 + 1] = 0x92;
    winplat::testing::DebugCapture debug;
    decodeTiff(file);
    EXPECT_TRUE(debug.contains(" Warning: TIFF: ")) << debug.text();
}

TEST(TiffCodec, TheSinkCanStopTheLoad) {
    TiffSpec s;
    s.pixels.assign(32, 1);
    const Decoded d = decodeTiff(makeTiff(s), {}, 2);
    EXPECT_EQ(d.loadResult, pixmill::kCodecStopped);
    EXPECT_EQ(d.sink->order.size(), 2u);
}

// ---- the writer ----

Source bitonal(int width, int height) {
    Source s;
    s.info.width = static_cast<int16_t>(width);
    s.info.height = static_cast<int16_t>(height);
    s.info.bitsPerPixel = 1;
    s.info.setPaletteEntry(0, 0, 0, 0);
    s.info.setPaletteEntry(1, 255, 255, 255);
    for (int y = 0; y < height; ++y) {
        Bytes row(strideFor(width, 1), 0);
        for (int x = 0; x < width; ++x) {
            if ((x / 3 + y / 2) % 2) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        s.rows.push_back(row);
    }
    return s;
}

TEST(TiffCodec, EveryWriterOptionMakesAFileTheToolsRead) {
    struct Case {
        const char* name;
        Source source;
        int32_t option1;
        const char* compression;  // as tiffinfo names it
        const char* photometric;
        int tolerance;
        int imageMagickTolerance;  // ImageMagick multiplies inks where the codec subtracts them
    };
    Source palette = bitonal(37, 19);
    palette.info.bitsPerPixel = 8;
    palette.info.setPaletteEntry(1, 200, 30, 90);
    const Case cases[] = {
        {"true colour, none", trueColourSource(37, 19, testColour), 1, "None", "RGB color", 0, 0},
        {"true colour, PackBits", trueColourSource(37, 19, testColour), 2, "PackBits", "RGB color", 0, 0},
        {"true colour, LZW", trueColourSource(37, 19, testColour), 4, "LZW", "RGB color", 0, 0},
        {"true colour, G4 asked for", trueColourSource(37, 19, testColour), 8, "None", "RGB color", 0, 0},
        {"true colour, JPEG", trueColourSource(37, 19, testColour), 16, "JPEG", "RGB color", 16, 16},
        {"true colour, default", trueColourSource(37, 19, testColour), 0, "LZW", "RGB color", 0, 0},
        {"CMYK, LZW", trueColourSource(37, 19, testColour), 0x44, "LZW", "separated", 0, 64},
        {"1 bit, G4", bitonal(37, 19), 8, "CCITT Group 4", "palette color", 0, 0},
        {"1 bit, LZW", bitonal(37, 19), 4, "LZW", "palette color", 0, 0},
        {"8 bits, JPEG asked for", palette, 16, "None", "palette color", 0, 0},
    };
    const bool tiffinfo = have("tiffinfo");
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Source s = c.source;
        s.info.option1 = c.option1;
        s.info.option2 = 90;
        const Saved saved = saveWith(tiffSave, s);
        ASSERT_EQ(saved.result, 0);
        const fs::path path = folder.file("ours.tif");
        bmp_test::writeFile(path, saved.bytes);
        if (tiffinfo) {
            const std::string text = output("tiffinfo " + quoted(path) + " 2>&1");
            EXPECT_NE(text.find(std::string("Compression Scheme: ") + c.compression), std::string::npos) << text;
            EXPECT_NE(text.find(std::string("Photometric Interpretation: ") + c.photometric), std::string::npos) << text;
            EXPECT_NE(text.find("Software: Tarvo Bitmap Library 32"), std::string::npos) << text;
            EXPECT_NE(text.find("Resolution: 96, 96 pixels/inch"), std::string::npos) << text;
            EXPECT_EQ(text.find("rror"), std::string::npos) << text;
        }
        const Decoded d = decodeTiff(saved.bytes);
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        for (int y = 0; y < s.info.height; ++y) {
            for (int x = 0; x < s.info.width; ++x) {
                const uint32_t want = s.info.bitsPerPixel == 24 ? testColour(x, y) : [&] {
                    const int i = (s.rows[static_cast<size_t>(y)][static_cast<size_t>(x / 8)] >> (7 - x % 8)) & 1;
                    const auto* p = &s.info.palette[3 * static_cast<size_t>(i)];
                    return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
                }();
                if (s.info.bitsPerPixel == 8) continue;  // the 8-bit source holds bytes, not bits
                const uint32_t got = d.rgb(x, y);
                for (int shift : {0, 8, 16}) {
                    ASSERT_NEAR(static_cast<int>((got >> shift) & 255), static_cast<int>((want >> shift) & 255), c.tolerance)
                        << x << "," << y;
                }
            }
        }
        if (!imageMagick().empty()) {
            ASSERT_TRUE(run(imageMagick() + " " + quoted(path) + " -alpha off -depth 8 ppm:" + quoted(folder.file("im.ppm"))))
                << "ImageMagick cannot read the file";
            const auto im = readPnm(folder.file("im.ppm"));
            ASSERT_TRUE(im.has_value());
            expectSamePixels(d, *im, c.imageMagickTolerance);
        }
    }
    if (!tiffinfo) GTEST_SKIP() << "tiffinfo is not installed (tools/deps.txt lists libtiff-tools): tags were not checked";
}

TEST(TiffCodec, AWriteErrorEndsTheSaveWithSix) {
    Source s = trueColourSource(300, 200, testColour);
    s.info.option1 = 1;
    for (size_t limit : {size_t{0}, size_t{4}, size_t{9000}, size_t{100000}}) {
        SCOPED_TRACE(limit);
        bmp_test::MemoryCallbacks memory;
        memory.writeLimit = limit;
        pixmill::ByteStream stream(&memory.callbacks);
        VectorSource rows(s.rows);
        pixmill::CodecCall call{s.info, stream};
        call.source = &rows;
        winplat::testing::DebugCapture quiet;
        const int16_t result = tiffSave(call);
        EXPECT_TRUE(result == pixmill::kCodecWriteError || result == pixmill::kCodecCannotCreate) << result;
    }
}

// ---- through the front end ----

class TiffFiles : public PixmillTest {};

TEST_F(TiffFiles, SaveLoadAndLoadFromAnOffset) {
    TempFolder folder;
    const std::string path = bmp_test::windowsPath(folder.file("picture.tif"));
    std::vector<Rgb> pixels;
    for (int i = 0; i < 23 * 11; ++i) pixels.push_back(Rgb{i % 256, (i * 7) % 256, (i * 13) % 256});
    const PxlImageId id = make24(23, 11, pixels);
    ASSERT_EQ(PXLSaveImage(id, path.c_str(), PXL_FORMAT_TIFF, 4, 0, nullptr), 1);
    const PxlImageId back = PXLLoadImage(0, path.c_str(), nullptr);
    ASSERT_NE(back, 0);
    EXPECT_EQ(PXLCompareImages(id, back), 1);

    Bytes container(5000, 0x42);
    const Bytes tiff = bmp_test::readFile(folder.file("picture.tif"));
    container.insert(container.end(), tiff.begin(), tiff.end());
    bmp_test::writeFile(folder.file("container.bin"), container);
    const std::string containerPath = bmp_test::windowsPath(folder.file("container.bin"));
    const PxlImageId embedded = PXLLoadImageOffset(0, containerPath.c_str(), 5000, nullptr);
    ASSERT_NE(embedded, 0);
    EXPECT_EQ(PXLCompareImages(id, embedded), 1);
}

}  // namespace
