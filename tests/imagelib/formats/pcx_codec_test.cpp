// The PCX codec on files built field by field: the packing rules byte for byte, every depth the
// reader takes, the palettes, the headers it refuses, and what the writer makes.
#include <gtest/gtest.h>

#include "../pixmill_fixture.h"
#include "file_codec_test_support.h"
#include "formats/pcx_codec.h"
#include "formats/pcx_rle.h"

namespace {

using namespace file_codec_test;
using bmp_test::get16;
using bmp_test::set16;

const Codec kPcx{pixmill::pcxInfo, pixmill::pcxLoad, pixmill::pcxSave};

Bytes encoded(const Bytes& line) {
    Bytes out;
    pixmill::encodePcxLine(line, out);
    return out;
}

TEST(PcxRle, EncoderFollowsTheByteRules) {
    struct Case {
        const char* name;
        Bytes line;
        Bytes packed;
    };
    const Case cases[] = {
        {"three equal bytes: a count of two, then the last byte alone", {0x41, 0x41, 0x41}, {0xC2, 0x41, 0x41}},
        {"a single byte of 0xC0 or more is escaped", {0xC5}, {0xC1, 0xC5}},
        {"plain bytes stand for themselves", {0x01, 0x3F, 0xBF}, {0x01, 0x3F, 0xBF}},
        {"zeros at the line's end run into the byte after it, which counts as 0", {0x07, 0x00, 0x00}, {0x07, 0xC2, 0x00}},
        {"a lone zero at the end is written as a run of one", {0x07, 0x00}, {0x07, 0xC1, 0x00}},
        {"runs stop at 63",
         Bytes(100, 0x41),
         {0xFF, 0x41, 0xE4, 0x41, 0x41}},
        {"two equal high bytes", {0xD0, 0xD0}, {0xC1, 0xD0, 0xC1, 0xD0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(encoded(c.line), c.packed);
    }
}

TEST(PcxRle, EveryLineDecodesToItself) {
    // Lines mixing runs, escapes and the 63 limit, packed and unpacked again.
    for (int seed = 0; seed < 50; ++seed) {
        Bytes line;
        uint32_t state = static_cast<uint32_t>(seed) * 2654435761u + 1;
        const int length = 1 + seed * 7 % 200;
        while (static_cast<int>(line.size()) < length) {
            state = state * 1103515245u + 12345u;
            const uint8_t value = static_cast<uint8_t>(state >> 24);
            const size_t repeat = (state >> 8) % 3 == 0 ? (state >> 12) % 90 + 1 : 1;
            line.insert(line.end(), std::min(repeat, static_cast<size_t>(length) - line.size()), value);
        }
        TempFolder folder;
        writeFile(folder.file("line"), encoded(line));
        pixmill::ByteStream stream;
        ASSERT_TRUE(stream.openFile(windowsPath(folder.file("line")).c_str(), "rb"));
        pixmill::BufferedInput in(stream, 0, stream.fileLength());
        Bytes back(line.size(), 0xEE);
        ASSERT_TRUE(pixmill::decodePcxLine(in, back));
        EXPECT_EQ(back, line) << "seed " << seed;
        EXPECT_EQ(in.position(), in.end()) << "seed " << seed;
    }
}

// A PCX file: the 128-byte header, then the packed data and whatever follows.
struct PcxFile {
    PcxFile(int v, int bpp, int pl, int x0, int y0, int x1, int y1, int bpl, std::vector<uint32_t> m = {})
        : version(v), bitsPerPlane(bpp), planes(pl), xmin(x0), ymin(y0), xmax(x1), ymax(y1), bytesPerLine(bpl),
          map(std::move(m)) {}
    int version;
    int bitsPerPlane;
    int planes;
    int xmin, ymin, xmax, ymax;
    int bytesPerLine;
    std::vector<uint32_t> map;  // header colour map, 0x00RRGGBB
    Bytes data;

    Bytes build() const {
        Bytes b(128, 0);
        b[0] = 0x0A;
        b[1] = static_cast<uint8_t>(version);
        b[2] = 1;
        b[3] = static_cast<uint8_t>(bitsPerPlane);
        set16(b, 4, static_cast<uint32_t>(xmin));
        set16(b, 6, static_cast<uint32_t>(ymin));
        set16(b, 8, static_cast<uint32_t>(xmax));
        set16(b, 10, static_cast<uint32_t>(ymax));
        for (size_t i = 0; i < map.size() && i < 16; ++i) {
            b[16 + 3 * i] = static_cast<uint8_t>(map[i] >> 16);
            b[17 + 3 * i] = static_cast<uint8_t>(map[i] >> 8);
            b[18 + 3 * i] = static_cast<uint8_t>(map[i]);
        }
        b[65] = static_cast<uint8_t>(planes);
        set16(b, 66, static_cast<uint32_t>(bytesPerLine));
        b.insert(b.end(), data.begin(), data.end());
        return b;
    }
};

// Packed lines of the given plane lines, each line packed by itself.
Bytes packLines(const std::vector<Bytes>& lines) {
    Bytes out;
    for (const Bytes& l : lines) {
        const Bytes p = encoded(l);
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

Bytes trailingPalette(uint32_t seed) {
    Bytes p{0x0C};
    for (uint32_t i = 0; i < 256; ++i) {
        p.push_back(static_cast<uint8_t>(i * seed));
        p.push_back(static_cast<uint8_t>(255 - i));
        p.push_back(static_cast<uint8_t>(i ^ seed));
    }
    return p;
}

TEST(PcxCodec, DepthsAreReadAsTheirRowsSay) {
    const std::vector<uint32_t> map = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0x111111, 0x222222, 0x333333,
                                       0x444444, 0x555555, 0x666666, 0x777777, 0x888888, 0x999999, 0xAAAAAA,
                                       0xBBBBBB, 0xCCCCCC};
    struct Case {
        const char* name;
        PcxFile file;
        std::vector<Bytes> lines;  // plane lines of both rows, in file order
        int depth;                 // of the record
        std::vector<Bytes> rows;   // what must arrive, the bytes of the row that matter
    };
    const Case cases[] = {
        {"1 bit", {2, 1, 1, 0, 0, 9, 1, 2, map}, {{0xA5, 0x80}, {0x0F, 0x00}}, 1, {{0xA5, 0x80}, {0x0F, 0x00}}},
        {"1 bit in four planes: plane l is bit l",
         {2, 1, 4, 0, 0, 3, 0, 1, map},
         {{0x80}, {0x40}, {0x20}, {0xF0}},
         4,
         {{0x9A, 0xC8}}},  // pixels 1|8, 2|8, 4|8, 8
        {"1 bit in two planes", {2, 1, 2, 0, 0, 2, 0, 1, map}, {{0xC0}, {0x60}}, 2, {{0x13, 0x20}}},
        {"packed 4 bits", {5, 4, 1, 0, 0, 2, 0, 2, map}, {{0x1F, 0xA0}}, 4, {{0x1F, 0xA0}}},
        {"packed 2 bits", {5, 2, 1, 0, 0, 4, 0, 2, map}, {{0x1B, 0xC0}}, 2, {{0x01, 0x23, 0x30}}},
        {"24 bits in red, green and blue planes",
         {5, 8, 3, 0, 0, 1, 0, 2, map},
         {{1, 2}, {3, 4}, {5, 6}},
         24,
         {{5, 3, 1, 6, 4, 2}}},
        {"window not at 0 and padded lines", {5, 8, 1, 10, 20, 12, 21, 4, map}, {{7, 8, 9, 0}, {1, 2, 3, 0}}, 8,
         {{7, 8, 9}, {1, 2, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PcxFile f = c.file;
        f.data = packLines(c.lines);
        const Decoded d = decodeWith(kPcx, f.build());
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        EXPECT_EQ(d.info.bitsPerPixel, c.depth);
        EXPECT_EQ(d.info.width, f.xmax - f.xmin + 1);
        EXPECT_EQ(d.info.height, f.ymax - f.ymin + 1);
        for (size_t y = 0; y < c.rows.size(); ++y) {
            const Bytes& got = d.sink->rows()[y];
            EXPECT_EQ(Bytes(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(c.rows[y].size())), c.rows[y])
                << "row " << y;
        }
    }
}

TEST(PcxCodec, RunsAreCutAtTheLineEnd) {
    PcxFile f{5, 8, 1, 0, 0, 3, 1, 4, {}};
    f.data = {0xC6, 0x07, 0x01, 0x02, 0x03, 0x04};  // a run of six into a line of four, then a line
    const Decoded d = decodeWith(kPcx, f.build());
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(Bytes(d.sink->rows()[0].begin(), d.sink->rows()[0].begin() + 4), (Bytes{7, 7, 7, 7}));
    EXPECT_EQ(Bytes(d.sink->rows()[1].begin(), d.sink->rows()[1].begin() + 4), (Bytes{1, 2, 3, 4}));
}

TEST(PcxCodec, PalettesComeFromTheFileEndTheHeaderOrTheDefaultMap) {
    const std::vector<uint32_t> map = {0x010203, 0x040506};
    PcxFile eight{5, 8, 1, 0, 0, 1, 0, 2, map};
    eight.data = packLines({{1, 2}});
    const Bytes withPalette = [&] {
        Bytes b = eight.build();
        const Bytes p = trailingPalette(3);
        b.insert(b.end(), p.begin(), p.end());
        return b;
    }();
    const Bytes palette = trailingPalette(3);

    {
        SCOPED_TRACE("8 bits, version 5, palette behind 0x0C");
        const Decoded d = decodeWith(kPcx, withPalette);
        ASSERT_TRUE(d.ok());
        EXPECT_TRUE(std::equal(palette.begin() + 1, palette.end(), d.info.palette.begin()));
        EXPECT_EQ(d.info.flags, pixmill::kFlagPaletteLate);
    }
    {
        SCOPED_TRACE("the same picture inside a larger file, with more bytes after it");
        Bytes container = withPalette;
        container.insert(container.end(), 2000, 0x5A);
        const Decoded d = decodeWith(kPcx, container, Bytes(300, 0x0C));
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        EXPECT_TRUE(std::equal(palette.begin() + 1, palette.end(), d.info.palette.begin()));
    }
    {
        SCOPED_TRACE("8 bits, version 5, no 0x0C: the header's map stays");
        const Decoded d = decodeWith(kPcx, eight.build());
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.rgb(0, 0), 0x040506u);
        EXPECT_EQ(d.info.flags, 0);
    }
    {
        SCOPED_TRACE("version 3: the default 16 colours");
        PcxFile v3{3, 1, 4, 0, 0, 1, 0, 1, map};
        v3.data = packLines({{0x80}, {0x80}, {0x80}, {0x80}});  // pixel 0 = 15, pixel 1 = 0
        const Decoded d = decodeWith(kPcx, v3.build());
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.rgb(0, 0), 0xFFFFFFu);
        EXPECT_EQ(d.rgb(1, 0), 0x000000u);
        EXPECT_EQ(d.info.palette[3 * 8], 192);
    }
    {
        SCOPED_TRACE("1 bit: black and white whatever the header says");
        PcxFile one{5, 1, 1, 0, 0, 7, 0, 2, {0xFF0000, 0x00FF00}};
        one.data = packLines({{0x80, 0}});
        const Decoded d = decodeWith(kPcx, one.build());
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.rgb(0, 0), 0xFFFFFFu);
        EXPECT_EQ(d.rgb(1, 0), 0x000000u);
    }
}

TEST(PcxCodec, HeadersThatCannotBeReadAreRefused) {
    struct Case {
        const char* name;
        PcxFile file;
        int manufacturer;
    };
    const Case cases[] = {
        {"not made by the PCX maker", {5, 8, 1, 0, 0, 3, 3, 4, {}}, 0x0B},
        {"window right edge before left", {5, 8, 1, 10, 0, 9, 3, 4, {}}, 0x0A},
        {"window bottom above top", {5, 8, 1, 0, 10, 3, 9, 4, {}}, 0x0A},
        {"bytes per line short of the row", {5, 8, 1, 0, 0, 9, 3, 9, {}}, 0x0A},
        {"1-bit bytes per line short of the row", {5, 1, 1, 0, 0, 16, 3, 2, {}}, 0x0A},
        {"8 bits in two planes", {5, 8, 2, 0, 0, 3, 3, 4, {}}, 0x0A},
        {"8 bits in four planes", {5, 8, 4, 0, 0, 3, 3, 4, {}}, 0x0A},
        {"1 bit in five planes", {5, 1, 5, 0, 0, 3, 3, 1, {}}, 0x0A},
        {"wider than any picture", {5, 8, 1, 0, 0, 40000, 0, 40001, {}}, 0x0A},
        {"16 bits per plane", {5, 16, 1, 0, 0, 3, 3, 8, {}}, 0x0A},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PcxFile f = c.file;
        f.data = Bytes(4096, 0x01);
        Bytes b = f.build();
        b[0] = static_cast<uint8_t>(c.manufacturer);
        const Decoded d = decodeWith(kPcx, b);
        EXPECT_EQ(d.infoResult, pixmill::kCodecBadFormat);
        // The loader checks for itself too.
        TempFolder folder;
        writeFile(folder.file("x.pcx"), b);
        pixmill::ByteStream stream;
        ASSERT_TRUE(stream.openFile(windowsPath(folder.file("x.pcx")).c_str(), "rb"));
        pixmill::PxlCodecInfo info;
        CollectingSink sink(pixmill::RowLayout{8, 4, 1, 1});
        pixmill::CodecCall call{info, stream};
        call.sink = &sink;
        EXPECT_EQ(pixmill::pcxLoad(call), pixmill::kCodecBadFormat);
        EXPECT_TRUE(sink.order.empty());
    }
}

TEST(PcxCodec, ALoadStopsWhenTheSinkSaysSo) {
    PcxFile f{5, 8, 1, 0, 0, 3, 9, 4, {}};
    std::vector<Bytes> lines(10, Bytes{1, 2, 3, 4});
    f.data = packLines(lines);
    const Decoded d = decodeWith(kPcx, f.build(), {}, 3);
    EXPECT_EQ(d.loadResult, pixmill::kCodecStopped);
    EXPECT_EQ(d.sink->order.size(), 3u);
}

// Rows of a picture at a depth, at the image stride, with a palette where it has one.
struct Source {
    pixmill::PxlCodecInfo info;
    std::vector<Bytes> rows;
};

Source sourceAt(int bits, int width = 21, int height = 7) {
    std::vector<uint32_t> palette;
    for (int i = 0; bits <= 8 && i < (1 << bits); ++i) {
        palette.push_back(static_cast<uint32_t>(i * 37 % 256) << 16 | static_cast<uint32_t>(i * 91 % 256) << 8 |
                          static_cast<uint32_t>(255 - i));
    }
    Source s{recordFor(width, height, bits, palette), {}};
    const uint32_t stride = bmp_test::rowBytes(width, bits);
    for (int y = 0; y < height; ++y) {
        Bytes row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const int v = (x / 3 + y * 5 + (x * x) % 7) & 255;
            if (bits == 24) {
                row[3 * static_cast<size_t>(x)] = static_cast<uint8_t>(v);
                row[3 * static_cast<size_t>(x) + 1] = static_cast<uint8_t>(x * 11);
                row[3 * static_cast<size_t>(x) + 2] = static_cast<uint8_t>(y * 40 + 200);
            } else if (bits == 8) {
                row[static_cast<size_t>(x)] = static_cast<uint8_t>(v * 13 + 0xC0);
            } else if (bits == 4) {
                row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4));
            } else if (v & 1) {
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        s.rows.push_back(row);
    }
    return s;
}

TEST(PcxCodec, WrittenFilesReadBackToTheSavedPixels) {
    struct Case {
        int bits;
        int version, bitsPerPlane, planes, bytesPerLine;
    };
    const Case cases[] = {{1, 2, 1, 1, 3}, {4, 2, 1, 4, 3}, {8, 5, 8, 1, 21}, {24, 5, 8, 3, 21}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const Source s = sourceAt(c.bits);
        const Written w = encodeWith(kPcx, s.info, s.rows);
        ASSERT_EQ(w.result, 0);
        ASSERT_GE(w.bytes.size(), 128u);
        EXPECT_EQ(w.bytes[0], 0x0A);
        EXPECT_EQ(w.bytes[1], c.version);
        EXPECT_EQ(w.bytes[2], 1);
        EXPECT_EQ(w.bytes[3], c.bitsPerPlane);
        EXPECT_EQ(get16(w.bytes, 8), 20u);
        EXPECT_EQ(get16(w.bytes, 10), 6u);
        EXPECT_EQ(w.bytes[65], c.planes);
        EXPECT_EQ(get16(w.bytes, 66), static_cast<uint32_t>(c.bytesPerLine));
        if (c.bits == 8) {
            ASSERT_GE(w.bytes.size(), 128u + 769u);
            EXPECT_EQ(w.bytes[w.bytes.size() - 769], 0x0C);
            EXPECT_TRUE(std::equal(s.info.palette.begin(), s.info.palette.end(), w.bytes.end() - 768));
        }
        const Decoded d = decodeWith(kPcx, w.bytes);
        ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
        const int width = s.info.width;
        const size_t used = c.bits == 24 ? 3 * static_cast<size_t>(width) : (static_cast<size_t>(width) * c.bits + 7) / 8;
        for (int y = 0; y < s.info.height; ++y) {
            const Bytes& got = d.sink->rows()[static_cast<size_t>(y)];
            EXPECT_TRUE(std::equal(s.rows[static_cast<size_t>(y)].begin(),
                                   s.rows[static_cast<size_t>(y)].begin() + static_cast<std::ptrdiff_t>(used), got.begin()))
                << "row " << y;
        }
        if (c.bits == 4 || c.bits == 8) {  // 1-bit files read as black and white
            for (int i = 0; i < (1 << c.bits) && i < 16; ++i) {
                EXPECT_EQ(d.info.palette[3 * i + 1], s.info.palette[3 * i + 1]) << "entry " << i;
            }
        }
        // The same rows give the same bytes: nothing uninitialised reaches the file.
        EXPECT_EQ(encodeWith(kPcx, s.info, s.rows).bytes, w.bytes);
    }
}

class PcxSave : public PixmillTest {};

// A 5 x 3 image of 16 (5-6-5) or 32 bits with distinct pixels.
PxlImageId deepImage(int bits) {
    const PxlImageId id = PXLCreateImage(5, 3, bits == 16 ? PXL_BITS_565 : 32);
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
    if (!image) return 0;
    for (int y = 0; y < 3; ++y) {
        uint8_t* row = pixmill::rowFromTop(*image, y);
        for (int x = 0; x < 5; ++x) {
            const int v = x * 3 + y * 17 + 1;
            if (bits == 16) {
                const uint32_t p = static_cast<uint32_t>((v * 7) & 31) << 11 | static_cast<uint32_t>((v * 5) & 63) << 5 |
                                   static_cast<uint32_t>(v & 31);
                row[2 * x] = static_cast<uint8_t>(p);
                row[2 * x + 1] = static_cast<uint8_t>(p >> 8);
            } else {
                row[4 * x] = static_cast<uint8_t>(v * 9);
                row[4 * x + 1] = static_cast<uint8_t>(v * 41);
                row[4 * x + 2] = static_cast<uint8_t>(255 - v);
                row[4 * x + 3] = 0x7F;
            }
        }
    }
    return id;
}

std::vector<uint8_t> rgbRows(PxlImageId id) {
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Read);
    std::vector<uint8_t> all;
    if (!image) return all;
    std::vector<uint8_t> row(static_cast<size_t>(image->width()) * 3);
    for (int y = 0; y < image->height(); ++y) {
        pixmill::readRowRgb(*image, y, row.data());
        all.insert(all.end(), row.begin(), row.end());
    }
    return all;
}

TEST_F(PcxSave, DeeperImagesAreWrittenAsTwentyFourBits) {
    TempFolder folder;
    const std::string path = windowsPath(folder.file("deep.pcx"));
    for (int bits : {16, 32}) {
        SCOPED_TRACE(bits);
        const PxlImageId deep = deepImage(bits);
        ASSERT_NE(deep, 0);
        ASSERT_EQ(PXLSaveImage(deep, path.c_str(), PXL_FORMAT_PCX, 0, 0, nullptr), 1);
        const Bytes file = readFile(folder.file("deep.pcx"));
        ASSERT_GE(file.size(), 128u);
        EXPECT_EQ(file[3], 8);
        EXPECT_EQ(file[65], 3);
        const PxlImageId back = PXLLoadImage(0, path.c_str(), nullptr);
        ASSERT_NE(back, 0);
        EXPECT_EQ(PXLbpp(back), 24);
        const PxlImageId expected = PXLColorConvert(deep, 24, 0, 0, 0, nullptr, nullptr);
        EXPECT_EQ(rgbRows(back), rgbRows(expected));
        if (bits == 32) {
            EXPECT_EQ(rgbRows(back), rgbRows(deep));
        }
        PXLDeleteImage(deep);
        PXLDeleteImage(back);
        PXLDeleteImage(expected);
    }
}

}  // namespace
