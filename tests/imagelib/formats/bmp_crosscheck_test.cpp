// The bitmap codec against independent programs: bitmaps that ImageMagick and netpbm write
// (each variant they make) load here pixel for pixel as those programs decode them, and the
// bitmaps written here decode in both programs to the pixels that were saved.
//
// The programs run on files in a temporary folder whose names this test makes; nothing from
// outside reaches a command line.
#include <gtest/gtest.h>

#include <optional>

#include "bmp_test_support.h"
#include "pnm_reader.h"
#include "support/tool_runner.h"

namespace {

using namespace bmp_test;
namespace fs = std::filesystem;

using tool_runner::quoted;
using tool_runner::run;

struct Tools {
    std::string convert;  // ImageMagick's convert, empty when missing
    bool netpbm = false;
};

const Tools& tools() {
    static const Tools found{tool_runner::imageMagick(),
                             !tool_runner::firstMissing({"ppmtobmp", "bmptopnm", "ppmtoppm", "pnmquant"})};
    return found;
}

// A decoded picture as 0x00RRGGBB values, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

// Reads a binary PPM (P6) with 8- or 16-bit samples.
std::optional<Picture> readPpm(const fs::path& path) {
    const std::optional<pnm_test::Pnm> pnm = pnm_test::readPnm(path);
    if (!pnm || pnm->channels != 3) return std::nullopt;
    return Picture{pnm->width, pnm->height, pnm_test::rgbPixels(*pnm)};
}

void writePpm(const fs::path& path, const Picture& p) {
    std::string head = "P6\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n255\n";
    Bytes b(head.begin(), head.end());
    for (uint32_t v : p.pixels)
        b.insert(b.end(),
                 {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
    writeFile(path, b);
}

// The source picture: flat areas (long runs for RLE), gradients and an odd width.
Picture sourcePicture() {
    Picture p;
    p.width = 37;
    p.height = 23;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            uint32_t v;
            if (y < 6) {
                v = x < 20 ? 0xC81E1Eu : 0x1EC81Eu;
            } else {
                v = static_cast<uint32_t>((x * 7) & 255) << 16 | static_cast<uint32_t>((y * 11) & 255) << 8 |
                    static_cast<uint32_t>((x * y) & 255);
            }
            p.pixels.push_back(v);
        }
    }
    return p;
}

// How our pixels relate to the tool's: equal, or 16-bit channels that keep only their top bits
// (bit fields widen by shifting, while the tools scale to the full range).
enum class Match { Exact, Fields565, Fields555 };

uint32_t expected(uint32_t tool, Match match) {
    if (match == Match::Exact) return tool;
    const uint32_t greenMask = match == Match::Fields565 ? 0xFC : 0xF8;
    return tool & (0xF80000u | greenMask << 8 | 0xF8u);
}

void expectSamePixels(const Decoded& ours, const Picture& tool, Match match) {
    ASSERT_TRUE(ours.ok()) << "info " << ours.infoResult << " load " << ours.loadResult;
    ASSERT_EQ(ours.info.width, tool.width);
    ASSERT_EQ(ours.info.height, tool.height);
    int differences = 0;
    for (int y = 0; y < tool.height; ++y) {
        for (int x = 0; x < tool.width; ++x) {
            if (ours.rgb(x, y) != expected(tool.at(x, y), match) && ++differences <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": ours " << std::hex << ours.rgb(x, y)
                              << ", tool " << tool.at(x, y);
            }
        }
    }
    EXPECT_EQ(differences, 0);
}

struct ToolFile {
    int bits;  // what the tool must have written, so a changed tool cannot pass unnoticed
    uint32_t headerSize;
    uint32_t compression;
};

void expectVariant(const Bytes& file, const ToolFile& want) {
    ASSERT_GE(file.size(), 30u);
    EXPECT_EQ(get32(file, 14), want.headerSize);
    if (want.headerSize == 12) {
        EXPECT_EQ(get16(file, 24), static_cast<uint32_t>(want.bits));
    } else {
        EXPECT_EQ(get16(file, 28), static_cast<uint32_t>(want.bits));
        EXPECT_EQ(get32(file, 30), want.compression);
    }
}

TEST(BmpCrossCheck, ImageMagickBitmapsLoadAsImageMagickDecodesThem) {
    REQUIRE_IMAGEMAGICK();
    struct Case {
        const char* name;
        const char* options;  // between the source and the output
        const char* coder;
        ToolFile variant;
        Match match;
    };
    const Case cases[] = {
        {"bmp3 1 bit", "-colors 2 -type Palette", "bmp3", {1, 40, 0}, Match::Exact},
        {"bmp3 4 bits", "-colors 16 -compress None", "bmp3", {4, 40, 0}, Match::Exact},
        {"bmp3 8 bits", "-colors 200 -compress None", "bmp3", {8, 40, 0}, Match::Exact},
        {"bmp3 24 bits", "", "bmp3", {24, 40, 0}, Match::Exact},
        {"bmp3 32 bits", "-alpha set -define bmp3:alpha=true", "bmp3", {32, 40, 0}, Match::Exact},
        {"default (V5) 24 bits", "", "bmp", {24, 124, 0}, Match::Exact},
        {"default (V5) 32-bit bit fields", "-alpha set", "bmp", {32, 124, 3}, Match::Exact},
        {"RLE8", "-colors 200 -compress RLE", "bmp3", {8, 40, 1}, Match::Exact},
        {"RGB565", "-define bmp:subtype=RGB565", "bmp", {16, 124, 3}, Match::Fields565},
        {"RGB555", "-define bmp:subtype=RGB555", "bmp", {16, 124, 3}, Match::Fields555},
    };
    TempFolder folder;
    const fs::path source = folder.file("source.ppm");
    writePpm(source, sourcePicture());
    const std::string& im = tools().convert;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path bmp = folder.file("im.bmp");
        const fs::path back = folder.file("im.ppm");
        ASSERT_TRUE(run(im + " " + quoted(source) + " " + c.options + " " + c.coder + ":" + quoted(bmp)));
        ASSERT_TRUE(run(im + " " + quoted(bmp) + " -depth 8 ppm:" + quoted(back)));
        const Bytes file = readFile(bmp);
        expectVariant(file, c.variant);
        const std::optional<Picture> tool = readPpm(back);
        ASSERT_TRUE(tool.has_value());
        expectSamePixels(decode(file, Form::File), *tool, c.match);
        if (c.variant.compression != 3) expectSamePixels(decode(file, Form::Callbacks), *tool, c.match);
    }
}

// An RLE4 file (ImageMagick writes none): runs, absolute blocks with and without padding, an
// end of line per row and the end mark.
Bytes rle4File() {
    InfoBitmap b;
    b.width = 11;
    b.height = 3;
    b.bits = 4;
    b.compression = 2;
    for (int i = 0; i < 16; ++i) {
        b.palette.push_back(static_cast<uint32_t>(i * 8) << 16 | static_cast<uint32_t>(255 - i * 16) << 8 |
                            static_cast<uint32_t>(i * 16));
    }
    // clang-format off
    b.pixels = Bytes{
        0x0B, 0x12,                          // bottom row: 1 2 1 2 ... eleven pixels
        0x00, 0x00,                          // end of line
        0x00, 0x05, 0x34, 0x56, 0x70, 0x00,  // absolute 3 4 5 6 7, padded to a word
        0x06, 0x89,                          // 8 9 8 9 8 9
        0x00, 0x00,
        0x00, 0x03, 0xAB, 0xC0,              // absolute A B C, two bytes: no padding
        0x08, 0xDE,                          // D E D E D E D E
        0x00, 0x00,
        0x00, 0x01,                          // end of bitmap
    };
    // clang-format on
    b.imageSize = static_cast<uint32_t>(b.pixels->size());
    return b.build();
}

TEST(BmpCrossCheck, Rle4LoadsAsImageMagickAndNetpbmDecodeIt) {
    if (tools().convert.empty() && !tools().netpbm) {
        GTEST_SKIP() << "neither ImageMagick nor netpbm is installed (tools/deps.txt lists both)";
    }
    TempFolder folder;
    const Bytes file = rle4File();
    const fs::path bmp = folder.file("rle4.bmp");
    writeFile(bmp, file);
    const Decoded ours = decode(file, Form::File);
    if (!tools().convert.empty()) {
        SCOPED_TRACE("ImageMagick");
        ASSERT_TRUE(
            run(tools().convert + " " + quoted(bmp) + " -depth 8 ppm:" + quoted(folder.file("im.ppm"))));
        const auto tool = readPpm(folder.file("im.ppm"));
        ASSERT_TRUE(tool.has_value());
        expectSamePixels(ours, *tool, Match::Exact);
    }
    if (tools().netpbm) {
        SCOPED_TRACE("netpbm");
        ASSERT_TRUE(run("bmptopnm " + quoted(bmp) + " | ppmtoppm > " + quoted(folder.file("pbm.ppm"))));
        const auto tool = readPpm(folder.file("pbm.ppm"));
        ASSERT_TRUE(tool.has_value());
        expectSamePixels(ours, *tool, Match::Exact);
    }
}

// A black and white picture as a raw PBM (1 = black).
void writePbm(const fs::path& path, const Picture& p) {
    std::string head = "P4\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n";
    Bytes b(head.begin(), head.end());
    for (int y = 0; y < p.height; ++y) {
        Bytes row(static_cast<size_t>((p.width + 7) / 8), 0);
        for (int x = 0; x < p.width; ++x) {
            const uint32_t v = p.at(x, y);
            const int grey =
                static_cast<int>(((v >> 16) & 255) * 30 + ((v >> 8) & 255) * 59 + (v & 255) * 11) / 100;
            if (grey < 100) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    writeFile(path, b);
}

TEST(BmpCrossCheck, NetpbmBitmapsLoadAsNetpbmDecodesThem) {
    REQUIRE_TOOLS("netpbm", "ppmtobmp", "bmptopnm", "ppmtoppm", "pnmquant");
    TempFolder folder;
    const fs::path source = folder.file("source.ppm");
    const Picture picture = sourcePicture();
    writePpm(source, picture);
    writePbm(folder.file("bw.pbm"), picture);
    ASSERT_TRUE(run("pnmquant 16 " + quoted(source) + " > " + quoted(folder.file("q16.ppm"))));
    ASSERT_TRUE(run("pnmquant 200 " + quoted(source) + " > " + quoted(folder.file("q200.ppm"))));
    struct Case {
        const char* name;
        const char* input;
        const char* options;
        ToolFile variant;
    };
    const Case cases[] = {
        {"Windows 1 bit", "bw.pbm", "", {1, 40, 0}},
        {"OS/2 1 bit", "bw.pbm", "-os2", {1, 12, 0}},
        {"Windows 4 bits", "q16.ppm", "-bpp=4", {4, 40, 0}},
        {"OS/2 4 bits", "q16.ppm", "-os2 -bpp=4", {4, 12, 0}},
        {"Windows 8 bits", "q200.ppm", "-bpp=8", {8, 40, 0}},
        {"OS/2 8 bits", "q200.ppm", "-os2 -bpp=8", {8, 12, 0}},
        {"Windows 24 bits", "source.ppm", "", {24, 40, 0}},
        {"OS/2 24 bits", "source.ppm", "-os2", {24, 12, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path bmp = folder.file("n.bmp");
        const fs::path back = folder.file("n.ppm");
        ASSERT_TRUE(run("ppmtobmp " + std::string(c.options) + " " + quoted(folder.file(c.input)) + " > " +
                        quoted(bmp)));
        ASSERT_TRUE(run("bmptopnm " + quoted(bmp) + " | ppmtoppm > " + quoted(back)));
        const Bytes file = readFile(bmp);
        expectVariant(file, c.variant);
        const auto tool = readPpm(back);
        ASSERT_TRUE(tool.has_value());
        expectSamePixels(decode(file, Form::File), *tool, Match::Exact);
        expectSamePixels(decode(file, Form::Ole), *tool, Match::Exact);
    }
}

// Our writer's files, for each depth it writes, decoded by both programs.
TEST(BmpCrossCheck, WrittenBitmapsDecodeToTheSavedPixelsInBothPrograms) {
    if (tools().convert.empty() || !tools().netpbm) {
        GTEST_SKIP() << "needs both ImageMagick and netpbm (tools/deps.txt lists imagemagick and netpbm)";
    }
    const Picture picture = sourcePicture();
    TempFolder folder;
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        // Indexed pictures use a palette of their own; the 1-bit one has white at index 0, as a
        // min-is-white picture has.
        std::vector<uint32_t> palette;
        if (bits == 1) palette = {0xFFFFFF, 0x000000};
        for (int i = 0; bits > 1 && bits <= 8 && i < (1 << bits); ++i) {
            palette.push_back(static_cast<uint32_t>((i * 37) & 255) << 16 |
                              static_cast<uint32_t>((i * 91) & 255) << 8 | static_cast<uint32_t>(255 - i));
        }
        std::vector<Bytes> rows;
        Picture want;
        want.width = picture.width;
        want.height = picture.height;
        for (int y = 0; y < picture.height; ++y) {
            Bytes row(rowBytes(picture.width, bits), 0);
            for (int x = 0; x < picture.width; ++x) {
                const uint32_t v = picture.at(x, y);
                if (bits == 24) {
                    row[3 * static_cast<size_t>(x)] = static_cast<uint8_t>(v);
                    row[3 * static_cast<size_t>(x) + 1] = static_cast<uint8_t>(v >> 8);
                    row[3 * static_cast<size_t>(x) + 2] = static_cast<uint8_t>(v >> 16);
                    want.pixels.push_back(v);
                    continue;
                }
                const uint32_t index = (v ^ (v >> 9) ^ (v >> 17)) % (1u << bits);
                const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits);
                row[bit / 8] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
                want.pixels.push_back(palette[index]);
            }
            rows.push_back(row);
        }
        pixmill::PxlCodecInfo info;
        info.width = static_cast<int16_t>(picture.width);
        info.height = static_cast<int16_t>(picture.height);
        info.bitsPerPixel = static_cast<int16_t>(bits);
        for (size_t i = 0; i < palette.size(); ++i) {
            info.setPaletteEntry(static_cast<int>(i), static_cast<uint8_t>(palette[i] >> 16),
                                 static_cast<uint8_t>(palette[i] >> 8), static_cast<uint8_t>(palette[i]));
        }
        const fs::path bmp = folder.file("ours.bmp");
        {
            pixmill::ByteStream stream;
            ASSERT_TRUE(stream.openFile(windowsPath(bmp).c_str(), "wb"));
            VectorSource source(rows);
            pixmill::CodecCall call{info, stream};
            call.source = &source;
            ASSERT_EQ(pixmill::bmpSave(call), pixmill::kCodecOk);
        }
        const fs::path viaMagick = folder.file("im.ppm");
        const fs::path viaNetpbm = folder.file("pbm.ppm");
        ASSERT_TRUE(run(tools().convert + " " + quoted(bmp) + " -depth 8 ppm:" + quoted(viaMagick)));
        ASSERT_TRUE(run("bmptopnm " + quoted(bmp) + " | ppmtoppm > " + quoted(viaNetpbm)));
        for (const fs::path& decoded : {viaMagick, viaNetpbm}) {
            SCOPED_TRACE(decoded.filename().string());
            const auto tool = readPpm(decoded);
            ASSERT_TRUE(tool.has_value());
            ASSERT_EQ(tool->width, want.width);
            ASSERT_EQ(tool->height, want.height);
            EXPECT_EQ(tool->pixels, want.pixels);
        }
    }
}

}  // namespace
