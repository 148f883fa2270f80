// The JPEG codec against libjpeg's own programs (same library, same decoder settings), files made
// here through libjpeg directly, and the codec's writer read back by djpeg and ImageMagick.
#include <algorithm>
#include <array>

#include "../pixmill_fixture.h"
#include "formats/jpeg_codec.h"
#include "libjpeg_test_support.h"
#include "library_codec_test_support.h"

namespace {

using namespace codec_test;
using pixmill::jpegInfo;
using pixmill::jpegLoad;
using pixmill::jpegSave;

Decoded decodeJpeg(const Bytes& file, const Bytes& prefix = {}, int stopAfter = -1) {
    return decodeWith(jpegInfo, jpegLoad, file, prefix, stopAfter);
}

// ---- files made through libjpeg in the test ----

// Rows of 'components' samples stored in the given colour space (quality 100, no subsampling),
// baseline or progressive; empty on a library error.
Bytes compressRaw(int width, int height, int components, J_COLOR_SPACE space, const Bytes& samples,
                  bool progressive = false) {
    return libjpeg_test::compress({.width = width,
                                   .height = height,
                                   .components = components,
                                   .space = space,
                                   .keepSpace = true,
                                   .quality = 100,
                                   .fullChroma = true,
                                   .progressive = progressive},
                                  samples);
}

// The first quantisation table of a file (64 values in file order) and its precision nibble.
struct Dqt {
    int precision = -1;
    std::vector<int> values;
};
Dqt firstQuantTable(const Bytes& file) {
    Dqt t;
    for (size_t i = 2; i + 4 < file.size(); ++i) {
        if (file[i] != 0xFF || file[i + 1] != 0xDB) continue;
        const size_t at = i + 4;
        if (at + 65 > file.size()) break;
        t.precision = file[at] >> 4;
        for (size_t k = 0; k < 64; ++k) t.values.push_back(file[at + 1 + k]);
        break;
    }
    return t;
}

// ---- cross-checks with djpeg and cjpeg ----

TEST(JpegCodec, CjpegFilesDecodeToExactlyWhatDjpegGivesWithTheSameSettings) {
    REQUIRE_TOOLS("libjpeg-turbo-progs", "cjpeg", "djpeg");
    struct Case {
        const char* name;
        const char* cjpegOptions;
        int bits;
        const char* detail;
        int tolerance;  // progressive files: djpeg smooths blocks, which the codec turns off
    };
    const Case cases[] = {
        {"baseline colour", "-quality 85", 24, "JFIF YCbCr", 0},
        {"baseline colour, 4:4:4", "-quality 95 -sample 1x1", 24, "JFIF YCbCr", 0},
        {"baseline grey", "-quality 85 -grayscale", 8, "JFIF GrayScale", 0},
        {"baseline with restart markers", "-quality 70 -restart 1", 24, "JFIF YCbCr", 0},
        {"optimised Huffman tables", "-quality 60 -optimize", 24, "JFIF YCbCr", 0},
        {"progressive colour", "-quality 85 -progressive", 24, "JFIF YCbCr", 12},
        {"progressive grey", "-quality 85 -progressive -grayscale", 8, "JFIF GrayScale", 12},
    };
    TempFolder folder;
    const fs::path source = folder.file("source.ppm");
    writePpm(source, 45, 33, testColour);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path jpeg = folder.file("made.jpg");
        const fs::path back = folder.file("back.pnm");
        ASSERT_TRUE(run(std::string("cjpeg ") + c.cjpegOptions + " -outfile " + quoted(jpeg) + " " + quoted(source)));
        ASSERT_TRUE(run("djpeg -dct fast -nosmooth -pnm -outfile " + quoted(back) + " " + quoted(jpeg)));
        const auto tool = readPnm(back);
        ASSERT_TRUE(tool.has_value());
        const Bytes file = bmp_test::readFile(jpeg);
        for (const Bytes& prefix : {Bytes{}, Bytes(1234, 0x5A)}) {
            SCOPED_TRACE(prefix.empty() ? "at offset 0" : "inside a larger file");
            const Decoded ours = decodeJpeg(file, prefix);
            EXPECT_EQ(ours.info.bitsPerPixel, c.bits);
            EXPECT_STREQ(ours.info.detailText, c.detail);
            EXPECT_EQ(ours.info.fileSize, static_cast<int32_t>(file.size() + prefix.size()));
            expectSamePixels(ours, *tool, c.tolerance);
        }
    }
}

// Subsampled colour is upsampled two rows at a time, which the codec asks for together: every
// row, the last of an odd height included, is what libjpeg gives one row at a time, in blue-green-
// red order with the row's padding clear, and arrives once, in order.
TEST(JpegCodec, RowsMadeInPairsArriveAsTheLibraryGivesThemOneByOne) {
    const int sizes[][2] = {{29, 17}, {30, 1}, {31, 2}, {16, 16}};
    for (const auto& size : sizes) {
        const int width = size[0];
        const int height = size[1];
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const auto redGreenBlue = [&](int y, uint8_t* row) {
            for (int x = 0; x < width; ++x) {
                const uint32_t c = testColour(x, y);
                row[3 * x] = static_cast<uint8_t>(c >> 16);
                row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
                row[3 * x + 2] = static_cast<uint8_t>(c);
            }
        };
        const Bytes file = libjpeg_test::compress({.width = width, .height = height}, redGreenBlue);
        ASSERT_FALSE(file.empty());
        int w = 0;
        int h = 0;
        const Bytes library = libjpeg_test::decompress(file, JCS_EXT_BGR, w, h);
        ASSERT_EQ(library.size(), size_t{3} * static_cast<size_t>(width * height));
        const Decoded d = decodeJpeg(file);
        ASSERT_TRUE(d.ok());
        std::vector<int> inOrder(static_cast<size_t>(height));
        for (int y = 0; y < height; ++y) inOrder[static_cast<size_t>(y)] = y;
        EXPECT_EQ(d.sink->order, inOrder);
        const size_t rowBytes = size_t{3} * static_cast<size_t>(width);
        for (int y = 0; y < height; ++y) {
            const Bytes& got = d.sink->rows()[static_cast<size_t>(y)];
            const Bytes expected(library.begin() + static_cast<long>(rowBytes * static_cast<size_t>(y)),
                                 library.begin() + static_cast<long>(rowBytes * static_cast<size_t>(y + 1)));
            EXPECT_EQ(Bytes(got.begin(), got.begin() + static_cast<long>(rowBytes)), expected) << "row " << y;
            const auto clear = [](uint8_t b) { return b == 0; };
            EXPECT_TRUE(std::all_of(got.begin() + static_cast<long>(rowBytes), got.end(), clear))
                << "padding of row " << y;
        }
    }
}

TEST(JpegCodec, GreyFilesReportEightBitsWithAGreyRamp) {
    const Bytes grey(24 * 16, 0x80);
    const Decoded d = decodeJpeg(compressRaw(24, 16, 1, JCS_GRAYSCALE, grey));
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.info.bitsPerPixel, 8);
    EXPECT_EQ(d.depth(), 8);
    for (int j : {0, 1, 127, 254, 255}) {
        EXPECT_EQ(d.info.palette[3 * j], j);
        EXPECT_EQ(d.info.palette[3 * j + 1], j);
        EXPECT_EQ(d.info.palette[3 * j + 2], j);
    }
    EXPECT_NEAR(static_cast<int>(d.rgb(5, 5) & 255), 0x80, 1);
}

// Adobe files store inks inverted; an ink of 255 on one channel must show as that colour's absence.
TEST(JpegCodec, CmykInksBecomeTheColoursTheyPrint) {
    struct Case {
        const char* name;
        std::array<uint8_t, 4> stored;  // c, m, y, k as stored (inverted)
        uint32_t expected;              // 0xRRGGBB
    };
    const Case cases[] = {
        {"cyan", {0, 255, 255, 255}, 0x00FFFF},
        {"magenta", {255, 0, 255, 255}, 0xFF00FF},
        {"yellow", {255, 255, 0, 255}, 0xFFFF00},
        {"black", {255, 255, 255, 0}, 0x000000},
        {"paper", {255, 255, 255, 255}, 0xFFFFFF},
        {"half black", {255, 255, 255, 128}, 0x808080},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes samples;
        for (int i = 0; i < 16 * 16; ++i) samples.insert(samples.end(), c.stored.begin(), c.stored.end());
        const Decoded d = decodeJpeg(compressRaw(16, 16, 4, JCS_CMYK, samples));
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        EXPECT_STREQ(d.info.detailText, "JFIF CMYK");
        EXPECT_EQ(d.info.bitsPerPixel, 24);
        const uint32_t got = d.rgb(7, 7);
        for (int shift : {0, 8, 16}) {
            EXPECT_NEAR(static_cast<int>((got >> shift) & 255), static_cast<int>((c.expected >> shift) & 255), 3)
                << std::hex << got;
        }
    }
}

TEST(JpegCodec, ImageMagickCmykFilesFollowTheInkFormulaOnTheDecodedSamples) {
    REQUIRE_IMAGEMAGICK();
    TempFolder folder;
    writePpm(folder.file("source.ppm"), 40, 24, testColour);
    const fs::path jpeg = folder.file("cmyk.jpg");
    ASSERT_TRUE(run(imageMagick() + " " + quoted(folder.file("source.ppm")) + " -colorspace CMYK " + quoted(jpeg)));
    const Bytes file = bmp_test::readFile(jpeg);
    int width = 0, height = 0;
    const Bytes inks = libjpeg_test::decompress(file, JCS_CMYK, width, height);
    ASSERT_EQ(inks.size(), size_t{40} * 24 * 4);
    const Decoded d = decodeJpeg(file);
    ASSERT_TRUE(d.ok());
    int differences = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* s = &inks[(static_cast<size_t>(y) * 40 + static_cast<size_t>(x)) * 4];
            const int k = 255 - s[3];
            auto channel = [&](int ink) { return 255 - std::min(255 - ink + k, 255); };
            const uint32_t want = static_cast<uint32_t>(channel(s[0])) << 16 |
                                  static_cast<uint32_t>(channel(s[1])) << 8 | static_cast<uint32_t>(channel(s[2]));
            if (d.rgb(x, y) != want && ++differences <= 5) {
                ADD_FAILURE() << x << "," << y << std::hex << " ours " << d.rgb(x, y) << " want " << want;
            }
        }
    }
    EXPECT_EQ(differences, 0);
}

// Two components of no known colour space would hand rows of the wrong width to an 8-bit image.
TEST(JpegCodec, ComponentsWithNoImageDepthAreRefused) {
    const Bytes samples(16 * 16 * 2, 0x40);
    const Bytes file = compressRaw(16, 16, 2, JCS_UNKNOWN, samples);
    ASSERT_FALSE(file.empty());
    const Decoded d = decodeJpeg(file);
    EXPECT_EQ(d.infoResult, 0);
    EXPECT_STREQ(d.info.detailText, "JFIF Unknown");
    EXPECT_EQ(d.loadResult, pixmill::kCodecBadFormat);
}

TEST(JpegCodec, ACutOffFileIsAReadErrorAndWarns) {
    Source source = trueColourSource(64, 48, testColour);
    source.info.option2 = 90;
    const Saved saved = saveWith(jpegSave, source);
    ASSERT_EQ(saved.result, 0);
    const Bytes cut(saved.bytes.begin(), saved.bytes.begin() + static_cast<long>(saved.bytes.size() * 2 / 3));
    winplat::testing::DebugCapture debug;
    const Decoded d = decodeJpeg(cut);
    EXPECT_EQ(d.infoResult, 0);
    EXPECT_EQ(d.loadResult, pixmill::kCodecReadError);
    EXPECT_FALSE(d.sink->complete());
    EXPECT_TRUE(debug.contains("PXL32: JPEG: refused: the data ends before the picture does"))
        << debug.text();
}

// A progressive picture is decoded whole before its first row: cut inside a scan, it gives no row.
TEST(JpegCodec, AProgressiveFileCutInsideAScanIsAReadErrorAndWarns) {
    constexpr int kSide = 96;
    Bytes samples(3 * kSide * kSide);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>((i * 7919) >> 3);
    const Bytes whole = compressRaw(kSide, kSide, 3, JCS_RGB, samples, true);
    ASSERT_FALSE(whole.empty());
    EXPECT_TRUE(decodeJpeg(whole).ok());
    // Past the first scans (of the DC coefficients), inside a later one.
    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(whole.size() * 2 / 3));
    int scans = 0;
    for (size_t i = 0; i + 1 < cut.size(); ++i) scans += cut[i] == 0xFF && cut[i + 1] == 0xDA ? 1 : 0;
    ASSERT_GE(scans, 2);
    winplat::testing::DebugCapture debug;
    const Decoded d = decodeJpeg(cut);
    EXPECT_EQ(d.infoResult, 0);
    EXPECT_EQ(d.loadResult, pixmill::kCodecReadError);
    EXPECT_TRUE(d.sink->order.empty());
    EXPECT_TRUE(debug.contains("PXL32: JPEG: refused: the data ends before the picture does")) << debug.text();
}

constexpr uint8_t kSof0[] = {0xFF, 0xC0};

TEST(JpegCodec, ABrokenHeaderCannotBeRead) {
    const Source source = trueColourSource(16, 16, testColour);
    const Bytes good = saveWith(jpegSave, source).bytes;
    ASSERT_GT(good.size(), 100u);
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const auto frame = std::search(good.begin(), good.end(), std::begin(kSof0), std::end(kSof0)) - good.begin();
    ASSERT_LT(static_cast<size_t>(frame), good.size() - 10);
    Bytes lossless = good;
    lossless[static_cast<size_t>(frame) + 1] = 0xC3;
    Bytes twelveBits = good;
    twelveBits[static_cast<size_t>(frame) + 4] = 12;  // sample precision
    Bytes noComponents = good;
    noComponents[static_cast<size_t>(frame) + 9] = 0;
    const Case cases[] = {
        {"a lossless frame", lossless},
        {"12-bit samples", twelveBits},
        {"a frame without components", noComponents},
        {"only the start marker", Bytes{0xFF, 0xD8}},
        {"start and end marker", Bytes{0xFF, 0xD8, 0xFF, 0xD9}},
    };
    winplat::testing::DebugCapture quiet;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeJpeg(c.bytes).infoResult, pixmill::kCodecCannotOpen);
    }
}

TEST(JpegCodec, TheSinkCanStopTheLoad) {
    const Bytes file = saveWith(jpegSave, trueColourSource(20, 30, testColour)).bytes;
    const Decoded d = decodeJpeg(file, {}, 4);
    EXPECT_EQ(d.loadResult, pixmill::kCodecStopped);
    EXPECT_EQ(d.sink->order.size(), 4u);
}

// ---- the writer ----

TEST(JpegCodec, QualityIsClampedToTwoThroughAHundredWithBaselineTables) {
    const Source source = trueColourSource(16, 16, testColour);
    auto table = [&](int option2) {
        Source s = source;
        s.info.option2 = static_cast<int16_t>(option2);
        const Saved saved = saveWith(jpegSave, s);
        EXPECT_EQ(saved.result, 0);
        return firstQuantTable(saved.bytes);
    };
    const Dqt q100 = table(100), q150 = table(150), q2 = table(2), q0 = table(0), q3 = table(3), qNeg = table(-5);
    ASSERT_EQ(q100.values.size(), 64u);
    EXPECT_TRUE(std::all_of(q100.values.begin(), q100.values.end(), [](int v) { return v == 1; }));
    EXPECT_EQ(q150.values, q100.values);
    EXPECT_EQ(q0.values, q2.values);
    EXPECT_EQ(qNeg.values, q2.values);
    EXPECT_NE(q3.values, q2.values);
    // Baseline: 8-bit tables, the coarsest entries held at 255.
    EXPECT_EQ(q2.precision, 0);
    EXPECT_EQ(*std::max_element(q2.values.begin(), q2.values.end()), 255);
}

// A 16 x 16 block per palette entry, so the lossy coder keeps each colour.
Source palettedSource(int bits, const std::vector<uint32_t>& colours) {
    Source s;
    const int blocks = static_cast<int>(colours.size());
    s.info.width = static_cast<int16_t>(16 * blocks);
    s.info.height = 16;
    s.info.bitsPerPixel = static_cast<int16_t>(bits);
    for (int i = 0; i < blocks; ++i) {
        s.info.setPaletteEntry(i, static_cast<uint8_t>(colours[i] >> 16), static_cast<uint8_t>(colours[i] >> 8),
                               static_cast<uint8_t>(colours[i]));
    }
    for (int y = 0; y < 16; ++y) {
        Bytes row(strideFor(s.info.width, bits), 0);
        for (int x = 0; x < s.info.width; ++x) {
            const int index = x / 16;
            if (bits == 1) row[x / 8] |= static_cast<uint8_t>(index << (7 - x % 8));
            if (bits == 4) row[x / 2] |= static_cast<uint8_t>(index << (x % 2 ? 0 : 4));
            if (bits == 8) row[x] = static_cast<uint8_t>(index);
        }
        s.rows.push_back(row);
    }
    return s;
}

// Each depth's rows in colour and in grey: palette look-ups, 5-6-5 widening and the 32-bit
// fourth byte dropped.
TEST(JpegCodec, EveryImageDepthIsSavedInColourAndGrey) {
    const std::vector<uint32_t> colours = {0xFF0000, 0x0000FF, 0x00C000, 0xFFFFFF};
    auto grey = [](uint32_t c) { return static_cast<int>((30 * (c >> 16) + 59 * ((c >> 8) & 255) + 11 * (c & 255)) / 100); };
    struct Case {
        const char* name;
        Source source;
        std::vector<uint32_t> expected;  // per 16-pixel block
    };
    std::vector<Case> cases = {
        {"1 bit", palettedSource(1, {colours[0], colours[1]}), {colours[0], colours[1]}},
        {"4 bits", palettedSource(4, colours), colours},
        {"8 bits", palettedSource(8, colours), colours},
    };
    // 5-6-5 rows: red 31, blue 31, green 48 of 63, white.
    Source s16;
    s16.info.width = 64;
    s16.info.height = 16;
    s16.info.bitsPerPixel = 16;
    const uint16_t words[4] = {0xF800, 0x001F, 48 << 5, 0xFFFF};
    // 32-bit rows: blue, green, red and a fourth byte that must not leak into the picture.
    Source s32 = s16;
    s32.info.bitsPerPixel = 32;
    for (int y = 0; y < 16; ++y) {
        Bytes r16(128, 0), r32(256, 0);
        for (int x = 0; x < 64; ++x) {
            r16[2 * x] = static_cast<uint8_t>(words[x / 16]);
            r16[2 * x + 1] = static_cast<uint8_t>(words[x / 16] >> 8);
            const uint32_t c = colours[static_cast<size_t>(x / 16)];
            r32[4 * x] = static_cast<uint8_t>(c);
            r32[4 * x + 1] = static_cast<uint8_t>(c >> 8);
            r32[4 * x + 2] = static_cast<uint8_t>(c >> 16);
            r32[4 * x + 3] = 0x77;
        }
        s16.rows.push_back(r16);
        s32.rows.push_back(r32);
    }
    cases.push_back({"16 bits (5-6-5)", s16, {0xFF0307, 0x0703FF, 0x07C307, 0xFFFFFF}});
    cases.push_back({"32 bits", s32, colours});
    for (const Case& c : cases) {
        for (const bool asGrey : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (asGrey ? ", grey" : ", colour"));
            Source s = c.source;
            s.info.option1 = asGrey ? 1 : 0;
            s.info.option2 = 100;
            const Saved saved = saveWith(jpegSave, s);
            ASSERT_EQ(saved.result, 0);
            const Decoded d = decodeJpeg(saved.bytes);
            ASSERT_TRUE(d.ok());
            EXPECT_EQ(d.info.bitsPerPixel, asGrey ? 8 : 24);
            for (size_t block = 0; block < c.expected.size(); ++block) {
                const uint32_t got = d.rgb(static_cast<int>(16 * block + 8), 8);
                const uint32_t want = c.expected[block];
                for (int shift : {0, 8, 16}) {
                    const int wanted = asGrey ? grey(want) : static_cast<int>((want >> shift) & 255);
                    EXPECT_NEAR(static_cast<int>((got >> shift) & 255), wanted, 4)
                        << "block " << block << std::hex << " got " << got;
                }
            }
        }
    }
}

TEST(JpegCodec, WrittenFilesReadInDjpegAndImageMagick) {
    REQUIRE_TOOLS("libjpeg-turbo-progs", "djpeg");
    TempFolder folder;
    for (const bool grey : {false, true}) {
        SCOPED_TRACE(grey ? "grey" : "colour");
        Source s = trueColourSource(37, 21, testColour);
        s.info.option1 = grey ? 1 : 0;
        s.info.option2 = 90;
        const Saved saved = saveWith(jpegSave, s);
        ASSERT_EQ(saved.result, 0);
        const fs::path jpeg = folder.file("ours.jpg");
        bmp_test::writeFile(jpeg, saved.bytes);
        ASSERT_TRUE(run("djpeg -dct fast -nosmooth -pnm -outfile " + quoted(folder.file("dj.pnm")) + " " + quoted(jpeg)));
        const auto tool = readPnm(folder.file("dj.pnm"));
        ASSERT_TRUE(tool.has_value());
        EXPECT_EQ(tool->channels, grey ? 1 : 3);
        expectSamePixels(decodeJpeg(saved.bytes), *tool);
        if (!imageMagick().empty()) {
            EXPECT_EQ(output(imageMagick().substr(0, imageMagick().rfind('/') + 1) + "identify -format '%w %h %[colorspace]' " +
                             quoted(jpeg)),
                      grey ? "37 21 Gray" : "37 21 sRGB");
        }
    }
}

TEST(JpegCodec, AWriteErrorEndsTheSaveWithSix) {
    Source source = trueColourSource(300, 200, testColour);
    source.info.option2 = 90;
    for (size_t limit : {size_t{0}, size_t{100}, size_t{5000}}) {
        SCOPED_TRACE(limit);
        bmp_test::MemoryCallbacks memory;
        memory.writeLimit = limit;
        pixmill::ByteStream stream(&memory.callbacks);
        Source s = source;
        VectorSource rows(s.rows);
        pixmill::CodecCall call{s.info, stream};
        call.source = &rows;
        winplat::testing::DebugCapture debug;
        EXPECT_EQ(jpegSave(call), pixmill::kCodecWriteError);
        EXPECT_TRUE(debug.contains("PXL32: JPEG: ")) << debug.text();
    }
}

TEST(JpegCodec, AFullDiskEndsTheSaveWithSix) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "this system has no /dev/full";
    Source s = trueColourSource(16, 16, testColour);
    pixmill::ByteStream stream;
    ASSERT_TRUE(stream.openFile("C:/dev/full", "wb"));
    VectorSource rows(s.rows);
    pixmill::CodecCall call{s.info, stream};
    call.source = &rows;
    winplat::testing::DebugCapture quiet;
    EXPECT_EQ(jpegSave(call), pixmill::kCodecWriteError);
}

// ---- through the front end ----

class JpegFiles : public PixmillTest {};

TEST_F(JpegFiles, SaveLoadAndDescribeThroughTheEntryPoints) {
    TempFolder folder;
    const std::string path = bmp_test::windowsPath(folder.file("picture.jpg"));
    std::vector<Rgb> pixels;
    for (int i = 0; i < 32 * 16; ++i) pixels.push_back(i % 32 < 16 ? Rgb{250, 10, 10} : Rgb{10, 10, 250});
    const PxlImageId id = make24(32, 16, pixels);
    ASSERT_EQ(PXLSaveImage(id, path.c_str(), PXL_FORMAT_JPG, 0, 95, nullptr), 1);
    PxlFileInfo info{};
    ASSERT_EQ(PXLGetInfoFile(path.c_str(), &info), 1);
    EXPECT_EQ(info.formatId, PXL_FORMAT_JPG);
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_STREQ(info.detailText, "JFIF YCbCr");
    const PxlImageId back = PXLLoadImage(0, path.c_str(), nullptr);
    ASSERT_NE(back, 0);
    EXPECT_EQ(PXLbpp(back), 24);
    {
        pixmill::ImageLock image = pixmill::lockImage(back, pixmill::Access::Read);
        ASSERT_TRUE(image);
        std::vector<uint8_t> rgb(3 * 32);
        pixmill::readRowRgb(*image, 8, rgb.data());
        EXPECT_NEAR(rgb[3 * 4], 250, 6);
        EXPECT_NEAR(rgb[3 * 28 + 2], 250, 6);
    }

    ASSERT_EQ(PXLSaveImage(id, path.c_str(), PXL_FORMAT_JPG, 1, 95, nullptr), 1);
    ASSERT_EQ(PXLGetInfoFile(path.c_str(), &info), 1);
    EXPECT_EQ(info.bitsPerPixel, 8);
    EXPECT_STREQ(info.detailText, "JFIF GrayScale");
}

}  // namespace
