// The MacPaint codec: where the rows start, PackBits with its no-op byte and runs across rows,
// the MacBinary header the writer makes, padding and cutting, and refused depths.
#include <gtest/gtest.h>

#include "../pixmill_fixture.h"
#include "file_codec_test_support.h"
#include "formats/macpaint_codec.h"

namespace {

using namespace file_codec_test;

const Codec kMacPaint{pixmill::macPaintInfo, pixmill::macPaintLoad, pixmill::macPaintSave};

// 720 rows of 72 bytes: row y all (y & 1 ? 0xFF : 0x00) except its first byte, y & 0xFF; each
// packed as a literal of one and a run of 71.
Bytes paintRows() {
    Bytes b;
    for (int y = 0; y < 720; ++y) {
        b.insert(b.end(), {0x00, static_cast<uint8_t>(y), static_cast<uint8_t>(257 - 71),
                           static_cast<uint8_t>(y & 1 ? 0xFF : 0x00)});
    }
    return b;
}

void expectPaintRows(const Decoded& d) {
    ASSERT_TRUE(d.ok()) << d.infoResult << " " << d.loadResult;
    EXPECT_EQ(d.info.width, 576);
    EXPECT_EQ(d.info.height, 720);
    EXPECT_EQ(d.info.bitsPerPixel, 1);
    for (int y = 0; y < 720; y += 97) {
        const Bytes& row = d.sink->rows()[static_cast<size_t>(y)];
        EXPECT_EQ(row[0], static_cast<uint8_t>(~y));  // inverted: the file's 1 is black, the image's 0
        EXPECT_EQ(row[71], y & 1 ? 0x00 : 0xFF);
    }
    EXPECT_EQ(d.rgb(575, 0), 0xFFFFFFu);
}

Bytes macBinary(size_t dataLength) {
    Bytes h(128, 0);
    h[1] = 5;
    std::memcpy(h.data() + 2, "Hello", 5);
    std::memcpy(h.data() + 65, "PNTGMPNT", 8);
    h[85] = static_cast<uint8_t>(dataLength >> 8);
    h[86] = static_cast<uint8_t>(dataLength);
    return h;
}

TEST(MacPaintCodec, RowsStartAfterTheHeadersThereAre) {
    const Bytes rows = paintRows();
    Bytes bare(512, 0);
    bare.insert(bare.end(), rows.begin(), rows.end());
    Bytes wrapped = macBinary(bare.size());
    wrapped.insert(wrapped.end(), bare.begin(), bare.end());
    {
        SCOPED_TRACE("bare file: rows at 512");
        const Decoded d = decodeWith(kMacPaint, bare);
        expectPaintRows(d);
        EXPECT_STREQ(d.info.detailText, "");
    }
    {
        SCOPED_TRACE("MacBinary: rows at 640");
        const Decoded d = decodeWith(kMacPaint, wrapped);
        expectPaintRows(d);
        EXPECT_STREQ(d.info.detailText, "compression");
        EXPECT_EQ(d.info.imageBytes, 51840);
    }
    {
        SCOPED_TRACE("inside another file");
        expectPaintRows(decodeWith(kMacPaint, wrapped, Bytes(333, 0x77)));
    }
}

TEST(MacPaintCodec, NoOpBytesAndRunsAcrossRowsAreRead) {
    Bytes data(512, 0);
    // Row 0: a no-op, then a run of 100 zero bytes crossing into row 1, which 44 literal 0xFF
    // bytes complete; then every further row as one run.
    data.insert(data.end(), {0x80, static_cast<uint8_t>(257 - 100), 0x00, 43});
    data.insert(data.end(), 44, 0xFF);
    for (int y = 2; y < 720; ++y) data.insert(data.end(), {0x80, static_cast<uint8_t>(257 - 72), 0x0F});
    const Decoded d = decodeWith(kMacPaint, data);
    ASSERT_TRUE(d.ok()) << d.loadResult;
    EXPECT_EQ(Bytes(d.sink->rows()[0].begin(), d.sink->rows()[0].begin() + 72), Bytes(72, 0xFF));
    EXPECT_EQ(Bytes(d.sink->rows()[1].begin(), d.sink->rows()[1].begin() + 28), Bytes(28, 0xFF));
    EXPECT_EQ(Bytes(d.sink->rows()[1].begin() + 28, d.sink->rows()[1].begin() + 72), Bytes(44, 0x00));
    EXPECT_EQ(d.sink->rows()[719][5], 0xF0);
}

TEST(MacPaintCodec, ShortFilesGiveAReadError) {
    Bytes data(512, 0);
    const Bytes rows = paintRows();
    data.insert(data.end(), rows.begin(), rows.end() - 3);
    EXPECT_EQ(decodeWith(kMacPaint, data).loadResult, pixmill::kCodecReadError);
    EXPECT_EQ(decodeWith(kMacPaint, Bytes(100, 0)).infoResult, pixmill::kCodecReadError);
}

TEST(MacPaintCodec, MacBinaryNamesComeFromTheTargetPath) {
    struct Case {
        const char* path;
        std::string name;
    };
    const Case cases[] = {
        {"C:\\pics\\Sunset.MAC", "Sunset.mac-TARVO"},
        {"C:/pics/sub/aBC.mac", "Abc.mac-TARVO"},
        {"picture.mac", "Picture.mac-TARVO"},
        {"C:\\x\\\xC8\xC1P.MAC", "\xC8\xE1p.mac-TARVO"},  // cp1250 letters change case too
        {"C:\\x\\", "-TARVO"},
    };
    for (const Case& c : cases) EXPECT_EQ(pixmill::macBinaryName(c.path), c.name) << c.path;
    const std::string longName = "C:\\" + std::string(80, 'q') + ".mac";
    const std::string cut = pixmill::macBinaryName(longName.c_str());
    EXPECT_EQ(cut.size(), 63u);
    EXPECT_EQ(cut, "Q" + std::string(62, 'q'));
}

TEST(MacPaintCodec, WrittenFilesHoldTheHeadersAndThePaddedPicture) {
    // 10 x 2, index 0 black: row 0 alternates black and white, row 1 is white.
    std::vector<Bytes> rows = {{0x55, 0x40, 0, 0}, {0xFF, 0xC0, 0, 0}};
    const Written w = encodeWith(kMacPaint, recordFor(10, 2, 1, {0x000000, 0xFFFFFF}), rows, "C:\\pics\\Sunset.MAC");
    ASSERT_EQ(w.result, 0);
    const Bytes& b = w.bytes;
    ASSERT_GT(b.size(), 640u);
    EXPECT_EQ(b[0], 0);
    EXPECT_EQ(b[1], 16);
    EXPECT_EQ(std::string(b.begin() + 2, b.begin() + 18), "Sunset.mac-TARVO");
    EXPECT_EQ(std::string(b.begin() + 65, b.begin() + 73), "PNTGMPNT");
    const uint32_t length = uint32_t{b[83]} << 24 | uint32_t{b[84]} << 16 | uint32_t{b[85]} << 8 | b[86];
    EXPECT_EQ(length, b.size() - 128);
    const uint32_t created = uint32_t{b[91]} << 24 | uint32_t{b[92]} << 16 | uint32_t{b[93]} << 8 | b[94];
    const auto now = static_cast<uint32_t>(std::time(nullptr) + 2082844800LL);
    EXPECT_LE(now - created, 60u);
    for (size_t block = 128; block < 640; block += 128) {
        EXPECT_EQ(b[block + 3], 2);
        EXPECT_EQ(std::count(b.begin() + static_cast<std::ptrdiff_t>(block), b.begin() + static_cast<std::ptrdiff_t>(block) + 128, 0), 127);
    }
    const Decoded d = decodeWith(kMacPaint, b);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.sink->rows()[0][0], 0x55);
    EXPECT_EQ(d.sink->rows()[0][1], 0x7F);  // white past the picture's width
    EXPECT_EQ(d.sink->rows()[1][0], 0xFF);
    EXPECT_EQ(d.sink->rows()[1][1], 0xFF);
    EXPECT_EQ(d.sink->rows()[2], Bytes(72, 0xFF));
    EXPECT_EQ(d.sink->rows()[719], Bytes(72, 0xFF));
}

TEST(MacPaintCodec, LargerPicturesAreCutAndInvertedPalettesKeepTheirLook) {
    // 600 x 800 with index 0 white: index 1 pixels are black and must come out black.
    std::vector<Bytes> rows(800, Bytes(76, 0));
    for (size_t y = 0; y < rows.size(); ++y) rows[y][y % 72] = 0x81;
    const Written w = encodeWith(kMacPaint, recordFor(600, 800, 1, {0xFFFFFF, 0x000000}), rows);
    ASSERT_EQ(w.result, 0);
    const Decoded d = decodeWith(kMacPaint, w.bytes);
    ASSERT_TRUE(d.ok());
    for (size_t y = 0; y < 720; y += 50) {
        Bytes want(72, 0xFF);
        want[y % 72] = 0x7E;  // the image's black pixels at index 0 of the loaded picture
        EXPECT_EQ(d.sink->rows()[y], want) << "row " << y;
    }
}

TEST(MacPaintCodec, OnlyOneBitImagesAreWritten) {
    for (int bits : {4, 8, 24}) {
        const Written w = encodeWith(kMacPaint, recordFor(8, 8, bits), std::vector<Bytes>(8, Bytes(24, 0)));
        EXPECT_EQ(w.result, pixmill::kCodecBadFormat) << bits;
    }
}

}  // namespace
