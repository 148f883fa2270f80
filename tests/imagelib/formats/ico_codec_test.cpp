// The icon codec on files built field by field: the entry choice, masked pixels, depths, the
// refusals, damaged files, and icons written here read back.
#include <set>

#include "../pixmill_fixture.h"
#include "ico_test_support.h"

namespace {

using namespace ico_test;
using codec_test::CodecRun;
using codec_test::pixelValues;

IconEntry sized(int width, int height, int bits) {
    IconEntry e;
    e.width = width;
    e.height = height;
    e.bits = bits;
    for (int i = 0; i < width * height; ++i) {
        e.pixels.push_back(bits > 8 ? 0x102030u * static_cast<uint32_t>(i % 7) : static_cast<uint32_t>(i % (1 << bits)));
    }
    return e;
}

TEST(IcoReader, ChoosesTheRichestThenTheLargerEntry) {
    struct Case {
        const char* name;
        std::vector<IconEntry> entries;
        int width, height, bits;
    };
    const Case cases[] = {
        {"16 colours 16 x 16 and 32 x 32", {sized(16, 16, 4), sized(32, 32, 4)}, 32, 32, 4},
        {"a 2-colour 48 x 48 added", {sized(16, 16, 4), sized(32, 32, 4), sized(48, 48, 1)}, 32, 32, 4},
        {"16 x 32 and 32 x 16: the first stays", {sized(16, 32, 4), sized(32, 16, 4)}, 16, 32, 4},
        {"256 colours over 16", {sized(32, 32, 4), sized(16, 16, 8)}, 16, 16, 8},
        {"24 bits over 256 colours", {sized(16, 16, 8), sized(8, 8, 24)}, 8, 8, 24},
        {"32 bits load as 24", {sized(8, 8, 4), sized(8, 8, 32)}, 8, 8, 24},
        {"the only entry", {sized(5, 3, 1)}, 5, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CodecRun r = readIcon(iconFile(c.entries));
        ASSERT_TRUE(r.ok()) << r.infoResult << " " << r.loadResult;
        EXPECT_EQ(r.info.width, c.width);
        EXPECT_EQ(r.info.height, c.height);
        EXPECT_EQ(r.info.bitsPerPixel, c.bits);
        EXPECT_STREQ(r.info.detailText, "ICON standard");
        EXPECT_EQ(r.info.whiteIndex, 15);
    }
}

// PNG-compressed entries and bitmaps this reader does not take are passed over; an icon left
// with none of its own fails.
TEST(IcoReader, PassesOverEntriesItCannotRead) {
    IconEntry png = sized(64, 64, 32);
    png.bitmap = Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    IconEntry sixteen = sized(32, 32, 4);
    sixteen.bitmap = sixteen.build();
    bmp_test::set16(*sixteen.bitmap, 14, 16);  // a 16-bit bitmap
    IconEntry badHeader = sized(32, 32, 8);
    badHeader.bitmap = badHeader.build();
    (*badHeader.bitmap)[0] = 41;
    const CodecRun r = readIcon(iconFile({png, sized(16, 16, 4), sixteen, badHeader}));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.info.width, 16);
    EXPECT_EQ(r.info.bitsPerPixel, 4);
    EXPECT_EQ(readIcon(iconFile({png})).infoResult, 3);
}

TEST(IcoReader, RefusesBadHeadersAndMissingData) {
    Bytes good = iconFile({sized(8, 8, 4)});
    struct Case {
        const char* name;
        Bytes bytes;
        int16_t info;
        int16_t load;
    };
    Bytes reserved = good, type = good, noEntries = iconFile({sized(8, 8, 4)}, 0), manyEntries(good.begin(), good.begin() + 6 + 16);
    bmp_test::set16(manyEntries, 4, 2);  // two entries, the file ends after the first
    reserved[0] = 1;
    type[2] = 2;
    Bytes past = good;
    bmp_test::set32(past, 6 + 12, 100000);  // the bitmap offset beyond the end
    Bytes cut = good;
    cut.resize(cut.size() - 1);  // the last mask byte missing
    const Case cases[] = {
        {"reserved word not 0", reserved, 2, -1},
        {"type not 1", type, 2, -1},
        {"no entries", noEntries, 2, -1},
        {"more entries than the directory holds", manyEntries, 2, -1},
        {"bitmap past the end", past, 3, -1},
        {"mask cut short", cut, 0, 3},
        {"header only", Bytes(good.begin(), good.begin() + 6), 2, -1},
    };
    for (const Case& c : cases) {
        const CodecRun r = readIcon(c.bytes);
        EXPECT_EQ(r.infoResult, c.info) << c.name;
        if (c.info == 0) {
            EXPECT_EQ(r.loadResult, c.load) << c.name;
        }
    }
}

// Masked pixels take the palette entry nearest white (the lowest such index); colour rows and
// mask rows are padded to 32 bits, so odd widths show whether each row is found where it is.
TEST(IcoReader, MaskedPixelsTakeThePaletteEntryNearestWhite) {
    for (int bits : {1, 4, 8}) {
        for (int width : {1, 5, 9, 33}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(width));
            IconEntry e = sized(width, 3, bits);
            e.palette.assign(static_cast<size_t>(1 << bits), 0x000000);
            e.palette[0] = 0x102030;
            e.palette[static_cast<size_t>((1 << bits) - 1)] = 0xF0F0F0;  // nearest white
            if (bits > 1) e.palette[2] = 0xF0F0F0;                     // as near, lower index
            for (int i = 0; i < width * 3; ++i) e.mask.push_back(i % 3 == 1);
            const CodecRun r = readIcon(iconFile({e}));
            ASSERT_TRUE(r.ok());
            const uint32_t white = bits == 1 ? 1 : 2;
            std::vector<uint32_t> expected;
            for (int i = 0; i < width * 3; ++i) expected.push_back(e.mask[static_cast<size_t>(i)] ? white : e.pixels[static_cast<size_t>(i)]);
            EXPECT_EQ(pixelValues(r), expected);
            EXPECT_EQ(r.rgb(0, 0), 0x102030u);  // the file's palette, 1 bit too
        }
    }
}

TEST(IcoReader, TrueColourEntriesLoadAsTwentyFourBitsWithWhiteUnderTheMask) {
    for (int bits : {24, 32}) {
        for (int headerSize : {40, 12}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, header " + std::to_string(headerSize));
            IconEntry e = sized(3, 2, bits);
            e.headerSize = headerSize;
            e.pixels = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203};
            e.mask = {false, true, false, false, false, true};
            const CodecRun r = readIcon(iconFile({e}));
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(r.depth(), 24);
            EXPECT_EQ(pixelValues(r), (std::vector<uint32_t>{0x112233, 0xFFFFFF, 0x778899, 0xAABBCC, 0xDDEEFF, 0xFFFFFF}));
            EXPECT_EQ(r.sink->order, (std::vector<int>{1, 0}));  // bottom row first
        }
    }
}

TEST(IcoReader, ShortPaletteByColoursUsedAndCoreHeaders) {
    IconEntry e = sized(4, 2, 8);
    e.colorsUsed = 3;
    e.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    e.pixels = {0, 1, 2, 1, 2, 0, 0, 1};
    const CodecRun r = readIcon(iconFile({e}));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(pixelValues(r), e.pixels);
    EXPECT_EQ(r.rgb(2, 0), 0x0000FFu);

    IconEntry core = sized(4, 2, 4);
    core.headerSize = 12;
    core.palette = std::vector<uint32_t>(16, 0x123456);
    const CodecRun c = readIcon(iconFile({core}));
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(pixelValues(c), core.pixels);
    EXPECT_EQ(c.rgb(0, 0), 0x123456u);
}

TEST(IcoReader, DamagedIconsEndInAResult) {
    IconEntry e = sized(9, 5, 4);
    for (int i = 0; i < 45; ++i) e.mask.push_back(i % 4 == 0);
    const Bytes whole = iconFile({sized(4, 4, 1), e});
    ASSERT_TRUE(readIcon(whole).ok());
    const std::set<int16_t> failures = {2, 3};
    auto check = [&](const Bytes& bytes, const std::string& what) {
        const CodecRun r = readIcon(bytes);
        if (r.infoResult != 0) {
            EXPECT_TRUE(failures.count(r.infoResult)) << what << ": info " << r.infoResult;
        } else if (r.loadResult == 0) {
            EXPECT_TRUE(r.sink->complete()) << what;
        } else {
            EXPECT_TRUE(failures.count(r.loadResult)) << what << ": load " << r.loadResult;
        }
    };
    for (size_t n = 0; n < whole.size(); ++n) check(Bytes(whole.begin(), whole.begin() + static_cast<long>(n)), "prefix " + std::to_string(n));
    for (size_t at = 0; at < 6 + 32 + 41; ++at) {
        for (uint8_t v : {uint8_t{0}, uint8_t{0x7F}, uint8_t{0xFF}}) {
            Bytes b = whole;
            b[at] = v;
            check(b, "byte " + std::to_string(at) + " = " + std::to_string(v));
        }
    }
}

class IcoWriter : public PixmillTest {};

// Every pixel's index (or B, G, R bytes), row by row from the top.
std::vector<uint32_t> pixelsOf(PxlImageId id) {
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Read);
    std::vector<uint32_t> out;
    const int bits = image->bitCount();
    for (int y = 0; y < image->height(); ++y) {
        const uint8_t* row = pixmill::rowFromTop(*image, y);
        for (int x = 0; x < image->width(); ++x) {
            const int bit = x * bits;
            if (bits >= 8) {
                uint32_t v = 0;
                for (int c = 0; c < bits / 8; ++c) v = v << 8 | row[bit / 8 + c];
                out.push_back(v);
            } else {
                out.push_back((row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1));
            }
        }
    }
    return out;
}

// Icons written through the front end carry header, palette, colour rows and mask, and read back.
TEST_F(IcoWriter, WrittenIconsReadBack) {
    bmp_test::TempFolder folder;
    const std::string path = bmp_test::windowsPath(folder.file("w.ico"));
    for (int bits : {1, 4, 8, 24}) {
        for (int width : {1, 7, 32, 256}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(width));
            const int height = width == 256 ? 256 : 5;
            const PxlImageId id = PXLCreateImage(width, height, bits);
            uint8_t* data = PXLGetBits(id);
            for (int i = 0; i < PXLSizeImage(id); ++i) data[i] = static_cast<uint8_t>(i * 13 + i / 7);
            if (bits <= 8) {
                pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
                for (int i = 0; i < (1 << bits); ++i) image->colors()[i] = RGBQUAD{static_cast<uint8_t>(i), 9, static_cast<uint8_t>(255 - i), 0};
            }
            ASSERT_EQ(PXLSaveImage(id, path.c_str(), PXL_FORMAT_ICO, 0, 0, nullptr), 1);
            const PxlImageId back = PXLLoadImage(0, path.c_str(), nullptr);
            ASSERT_NE(back, 0);
            EXPECT_EQ(PXLbpp(back), bits);
            EXPECT_EQ(pixelsOf(back), pixelsOf(id));
            EXPECT_EQ(PXLGetColorFromPalette(back, 1), PXLGetColorFromPalette(id, 1));
            PXLDeleteImage(back);
            PXLDeleteImage(id);
        }
    }
}

TEST_F(IcoWriter, RefusesIconsLargerThan256) {
    bmp_test::TempFolder folder;
    const std::string path = bmp_test::windowsPath(folder.file("big.ico"));
    EXPECT_EQ(PXLSaveImage(PXLCreateImage(257, 4, 8), path.c_str(), PXL_FORMAT_ICO, 0, 0, nullptr), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.file("big.ico")));
}

}  // namespace
