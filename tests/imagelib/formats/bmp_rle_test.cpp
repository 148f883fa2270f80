// Run-length bitmaps: the decoder on hand-made command sequences, well formed and not, and RLE
// files through the codec in every form.
#include <gtest/gtest.h>

#include "bmp_test_support.h"
#include "formats/bmp_rle.h"

namespace {

using namespace bmp_test;
using pixmill::decodeRle;
using pixmill::RleEnd;

// Packs pixel values into a decoder row: one byte each (8 bits) or two per byte, high nibble first.
Bytes packed(const std::vector<uint8_t>& pixels, int width, int bits) {
    Bytes row(pixmill::rleRowBytes(width, bits), 0);
    for (size_t x = 0; x < pixels.size(); ++x) {
        if (bits == 8) {
            row[x] = pixels[x];
        } else {
            row[x / 2] |= static_cast<uint8_t>(x % 2 ? pixels[x] : pixels[x] << 4);
        }
    }
    return row;
}

struct RleCase {
    const char* name;
    int bits;
    int width;
    int height;
    Bytes data;
    std::vector<std::vector<uint8_t>> rowsFromBottom;  // pixel values; missing ones are 0
    RleEnd end;
};

const RleCase kCases[] = {
    {"runs, end of line, end of bitmap", 8, 4, 3,
     {
         0x03, 0x05,  // three pixels of 5
         0x01, 0x06,  // one of 6
         0x00, 0x00,  // end of line
         0x02, 0x07,  // two of 7
         0x00, 0x01,  // end of bitmap
     },
     {{5, 5, 5, 6}, {7, 7}, {}}, RleEnd::EndOfBitmap},
    {"absolute block padded to a word", 8, 4, 3,
     {
         0x00, 0x03, 9, 8, 7,  // absolute: three pixels
         0x00,                 // padding to an even length; not an escape
         0x01, 0x01,           // one pixel of 1
         0x00, 0x01,
     },
     {{9, 8, 7, 1}, {}, {}}, RleEnd::EndOfBitmap},
    {"delta moves right and up, the gap stays 0", 8, 4, 3,
     {
         0x01, 0x01,              // (0, 0) = 1
         0x00, 0x02, 0x02, 0x01,  // delta: 2 right, 1 up -> (3, 1)
         0x01, 0x02,              // (3, 1) = 2
         0x00, 0x01,
     },
     {{1}, {0, 0, 0, 2}, {}}, RleEnd::EndOfBitmap},
    {"a run past the row end is cut, not wrapped", 8, 4, 3,
     {
         0x06, 0x04,  // six pixels in a row of four
         0x01, 0x03,  // still past the end: dropped
         0x00, 0x00,
         0x01, 0x02,
         0x00, 0x01,
     },
     {{4, 4, 4, 4}, {2}, {}}, RleEnd::EndOfBitmap},
    {"an absolute block past the row end is cut", 8, 4, 3,
     {
         0x00, 0x06, 1, 2, 3, 4, 5, 6,  // six pixels, even: no padding
         0x00, 0x00,
         0x01, 0x09,
         0x00, 0x01,
     },
     {{1, 2, 3, 4}, {9}, {}}, RleEnd::EndOfBitmap},
    {"a delta above the picture ends it", 8, 4, 3,
     {
         0x01, 0x05,
         0x00, 0x02, 0x00, 0x09,  // nine rows up in a picture of three
         0x01, 0x06,              // never lands
     },
     {{5}, {}, {}}, RleEnd::EndOfBitmap},
    {"a delta right past the width is clipped", 8, 4, 3,
     {
         0x00, 0x02, 0x0A, 0x00,  // ten to the right
         0x01, 0x03,              // past the end: dropped
         0x00, 0x00,
         0x01, 0x04,
         0x00, 0x01,
     },
     {{}, {4}, {}}, RleEnd::EndOfBitmap},
    {"no end-of-bitmap mark: the rest is 0", 8, 4, 3,
     {
         0x02, 0x01,
         0x00, 0x00,
         0x02, 0x02,  // and the data end
     },
     {{1, 1}, {2, 2}, {}}, RleEnd::DataEnded},
    {"an absolute block cut short keeps what is there", 8, 4, 3,
     {
         0x00, 0x05, 1, 2,  // five pixels announced, two present
     },
     {{1, 2}, {}, {}}, RleEnd::DataEnded},
    {"a delta cut short", 8, 4, 3,
     {
         0x01, 0x01,
         0x00, 0x02, 0x03,  // the vertical step is missing
     },
     {{1}, {}, {}}, RleEnd::DataEnded},
    {"a lone count byte at the end", 8, 4, 2,
     {
         0x01, 0x01,
         0x00, 0x00,
         0x05,  // no value follows
     },
     {{1}, {}}, RleEnd::DataEnded},
    {"the last end of line completes the picture", 8, 4, 2,
     {
         0x01, 0x01, 0x00, 0x00,
         0x01, 0x02, 0x00, 0x00,  // no end-of-bitmap needed after the top row
         0x07, 0x07,              // ignored
     },
     {{1}, {2}}, RleEnd::EndOfBitmap},
    {"no data at all", 8, 3, 2, {}, {{}, {}}, RleEnd::DataEnded},
    {"RLE4 runs alternate the two nibbles", 4, 5, 2,
     {
         0x05, 0xAB,  // A B A B A
         0x00, 0x00,
         0x03, 0xC0,  // C 0 C
         0x00, 0x01,
     },
     {{10, 11, 10, 11, 10}, {12, 0, 12}}, RleEnd::EndOfBitmap},
    {"RLE4 absolute blocks hold two pixels a byte, padded to a word", 4, 5, 2,
     {
         0x00, 0x03, 0x12, 0x30,              // three pixels in two bytes: no padding
         0x00, 0x05, 0x45, 0x67, 0x80, 0x00,  // five pixels in three bytes and a pad; cut at the width
         0x00, 0x00,
         0x01, 0x90,                          // one pixel of 9
         0x00, 0x01,
     },
     {{1, 2, 3, 4, 5}, {9}}, RleEnd::EndOfBitmap},
    {"RLE4 run past an odd width leaves the last nibble 0", 4, 3, 1,
     {
         0x07, 0x12,  // 1 2 1 | 2 1 2 1 dropped
         0x00, 0x01,
     },
     {{1, 2, 1}}, RleEnd::EndOfBitmap},
};

TEST(BmpRle, DecodesAndBoundsEveryCommand) {
    for (const RleCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<Bytes> rows;
        std::vector<int> indexes;
        const RleEnd end = decodeRle(c.data, c.width, c.height, c.bits, [&](const uint8_t* row, int index) {
            rows.emplace_back(row, row + pixmill::rleRowBytes(c.width, c.bits));
            indexes.push_back(index);
            return true;
        });
        EXPECT_EQ(end, c.end);
        ASSERT_EQ(rows.size(), c.rowsFromBottom.size());
        for (size_t y = 0; y < rows.size(); ++y) {
            EXPECT_EQ(indexes[y], static_cast<int>(y));
            EXPECT_EQ(rows[y], packed(c.rowsFromBottom[y], c.width, c.bits)) << "row " << y << " from the bottom";
        }
    }
}

TEST(BmpRle, StopsWhenTheReceiverSaysSo) {
    const Bytes data = {0x01, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00, 0x01, 0x03, 0x00, 0x01};
    int calls = 0;
    const RleEnd end = decodeRle(data, 2, 3, 8, [&](const uint8_t*, int) { return ++calls < 2; });
    EXPECT_EQ(end, RleEnd::Stopped);
    EXPECT_EQ(calls, 2);
    // A stop in the rows handed out after the data ended counts too.
    calls = 0;
    EXPECT_EQ(decodeRle({}, 2, 5, 8, [&](const uint8_t*, int) { return ++calls < 3; }), RleEnd::Stopped);
    EXPECT_EQ(calls, 3);
}

// ---------------------------------------------------------------------------------------------
// RLE files through the codec.

// A 5 x 3 RLE8 picture: bottom row 1 1 1 2 2, middle 7 8 9 0 0 (absolute), top row 0 0 0 0 3
// (reached by a delta).
const Bytes kRle8Data = {
    0x03, 0x01, 0x02, 0x02, 0x00, 0x00,  // bottom row, end of line
    0x00, 0x03, 7, 8, 9, 0x00,           // absolute 7 8 9, pad
    0x00, 0x02, 0x01, 0x01,              // delta from column 3: 1 right, 1 up
    0x01, 0x03,                          // one pixel of 3
    0x00, 0x01,                          // end of bitmap
};
const std::vector<std::vector<uint8_t>> kRle8Top = {{0, 0, 0, 0, 3}, {7, 8, 9, 0, 0}, {1, 1, 1, 2, 2}};

InfoBitmap rleBitmap(int bits, const Bytes& data, uint32_t imageSize) {
    InfoBitmap b;
    b.width = 5;
    b.height = 3;
    b.bits = bits;
    b.compression = bits == 8 ? 1 : 2;
    b.imageSize = imageSize;
    b.palette.clear();
    for (int i = 0; i < (1 << bits); ++i) b.palette.push_back(0x010101u * static_cast<uint32_t>(i));
    b.pixels = data;
    return b;
}

void expectIndexes(const Decoded& d, const std::vector<std::vector<uint8_t>>& top) {
    ASSERT_TRUE(d.ok()) << "info " << d.infoResult << " load " << d.loadResult;
    for (size_t y = 0; y < top.size(); ++y) {
        for (size_t x = 0; x < top[y].size(); ++x) {
            EXPECT_EQ(d.rgb(static_cast<int>(x), static_cast<int>(y)), 0x010101u * top[y][x]) << x << "," << y;
        }
    }
}

TEST(BmpRleFile, Rle8LoadsInEveryForm) {
    const Bytes file = rleBitmap(8, kRle8Data, static_cast<uint32_t>(kRle8Data.size())).build();
    for (Form form : {Form::File, Form::Ole, Form::Callbacks}) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(file, form);
        expectIndexes(d, kRle8Top);
        EXPECT_STREQ(d.info.detailText, "RLE8 compression");
        EXPECT_EQ(d.info.flags, pixmill::kFlagNotScalable);
        EXPECT_EQ(d.depth(), 8);
        EXPECT_EQ(d.sink->order, (std::vector<int>{2, 1, 0}));
        EXPECT_EQ(d.ticks, 3);
    }
}

TEST(BmpRleFile, Rle4LoadsInEveryForm) {
    const Bytes data = {
        0x05, 0x12,              // bottom row: 1 2 1 2 1
        0x00, 0x00,
        0x00, 0x04, 0xAB, 0xCD,  // absolute A B C D
        0x00, 0x01,              // end of bitmap: the top row stays 0
    };
    const Bytes file = rleBitmap(4, data, static_cast<uint32_t>(data.size())).build();
    for (Form form : {Form::File, Form::Ole, Form::Callbacks}) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(file, form);
        expectIndexes(d, {{0, 0, 0, 0, 0}, {10, 11, 12, 13, 0}, {1, 2, 1, 2, 1}});
        EXPECT_STREQ(d.info.detailText, "RLE4 compression");
        EXPECT_EQ(d.info.flags, pixmill::kFlagNotScalable);
        EXPECT_EQ(d.depth(), 4);
    }
}

TEST(BmpRleFile, WithoutAnImageSizeAFileReadsToItsEnd) {
    // The picture stands 100 bytes into its file, so "to the end" must count from its own start.
    const Bytes file = rleBitmap(8, kRle8Data, 0).build();
    const Decoded d = decode(file, Form::File, -1, Bytes(100, 0x55));
    expectIndexes(d, kRle8Top);
}

TEST(BmpRleFile, WithoutAnImageSizeAStreamIsRefused) {
    const Bytes file = rleBitmap(8, kRle8Data, 0).build();
    for (Form form : {Form::Ole, Form::Callbacks}) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(file, form);
        EXPECT_EQ(d.infoResult, pixmill::kCodecOk);
        EXPECT_EQ(d.loadResult, pixmill::kCodecBadFormat);
        EXPECT_TRUE(d.sink->order.empty());
    }
}

TEST(BmpRleFile, AnImageSizeBeyondTheDataIsAReadError) {
    for (uint32_t size : {static_cast<uint32_t>(kRle8Data.size() + 1), 0xFFFFFFFFu}) {
        const Bytes file = rleBitmap(8, kRle8Data, size).build();
        for (Form form : {Form::File, Form::Ole, Form::Callbacks}) {
            SCOPED_TRACE(std::string(formName(form)) + " size " + std::to_string(size));
            const Decoded d = decode(file, form);
            EXPECT_EQ(d.loadResult, pixmill::kCodecReadError);
            EXPECT_TRUE(d.sink->order.empty());
        }
    }
}

TEST(BmpRleFile, MalformedCommandsStillGiveAWholePicture) {
    // An overlong run and a delta off the picture: every row once, nothing outside.
    const Bytes deltaOff = {0xFF, 0x04, 0x01, 0x01, 0x00, 0x02, 0xFF, 0xFF, 0x01, 0x02};
    for (Form form : {Form::File, Form::Callbacks}) {
        SCOPED_TRACE(formName(form));
        const Decoded r = decode(rleBitmap(8, deltaOff, static_cast<uint32_t>(deltaOff.size())).build(), form);
        EXPECT_TRUE(r.ok()) << r.infoResult << " " << r.loadResult;
        EXPECT_EQ(r.ticks, 3);
    }
}

TEST(BmpRleFile, DataThatEndBeforeThePictureAreAReadErrorWithoutPadding) {
    // An absolute block of 255 cut by the end of the data: the row it was filling is handed
    // over, and no made-up rows after it.
    const Bytes data = {
        0xFF, 0x04,              // 255 pixels in a row of 5
        0x00, 0xFF, 1, 2, 3,     // an absolute block of 255 cut by the end of the data
    };
    for (Form form : {Form::File, Form::Callbacks}) {
        SCOPED_TRACE(formName(form));
        const Decoded r = decode(rleBitmap(8, data, static_cast<uint32_t>(data.size())).build(), form);
        EXPECT_EQ(r.infoResult, pixmill::kCodecOk);
        EXPECT_EQ(r.loadResult, pixmill::kCodecReadError);
        EXPECT_EQ(r.sink->order, std::vector<int>{2});
    }
}

TEST(BmpRleFile, AWidePictureWithAlmostNoDataLoadsAsZeros) {
    InfoBitmap b;
    b.width = 32767;
    b.height = 3;
    b.bits = 8;
    b.compression = 1;
    b.palette = {0, 0xFFFFFF};
    b.pixels = Bytes{0x00, 0x01};
    b.imageSize = 2;
    const Decoded d = decode(b.build(), Form::File);
    ASSERT_TRUE(d.ok());
    for (const Bytes& row : d.sink->rows()) EXPECT_EQ(std::count(row.begin(), row.end(), 0), static_cast<long>(row.size()));
}

TEST(BmpRleFile, StopsAsSoonAsTheSinkSaysSo) {
    const Bytes file = rleBitmap(8, kRle8Data, static_cast<uint32_t>(kRle8Data.size())).build();
    for (Form form : {Form::File, Form::Ole, Form::Callbacks}) {
        SCOPED_TRACE(formName(form));
        const Decoded d = decode(file, form, 1);
        EXPECT_EQ(d.loadResult, pixmill::kCodecStopped);
        EXPECT_EQ(d.sink->order, std::vector<int>{2});
    }
}

}  // namespace
