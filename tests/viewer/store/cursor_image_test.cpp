// Reading the first picture of a monochrome cursor file into the record's fixed mask areas, from
// files written here field by field; short and damaged files give 0 without reading outside the
// file or writing outside the 512-byte areas.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "cursor_file_bytes.h"
#include "store/cursor_image.h"
#include "vazazi_test_support.h"

namespace {

using cursor_test::Bytes;
using cursor_test::CursorFile;

class CursorImageTest : public ::testing::Test {
protected:
    vazazi_test::ScratchFolder folder;

    int read(const Bytes& bytes, lect32::CursorImage& image, uint32_t start = 0, uint32_t length = 0) {
        vazazi_test::putFileBytes(folder.host("c.cur"), bytes);
        return lect32::ReadCursorImage(image, folder.windows("c.cur").c_str(), start, length);
    }
};

TEST_F(CursorImageTest, TheFirstPictureAndItsMasksComeTopRowFirst) {
    lect32::CursorImage image;
    ASSERT_EQ(read(CursorFile{}.bytes(), image), 1);
    EXPECT_EQ(image.type, 2);
    EXPECT_EQ(image.count, 1);
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.hotX, 5);
    EXPECT_EQ(image.pictureOffset, 22u);
    EXPECT_EQ(image.header.biHeight, 64);
    EXPECT_EQ(image.palette[1], 0xFFFFFFu);
    for (size_t row = 0; row < 32; ++row) {
        EXPECT_EQ(image.colourMask[row * 4], 0x10 + 31 - row) << row;
        EXPECT_EQ(image.transparencyMask[row * 4 + 3], 0x80 + 31 - row) << row;
    }
    EXPECT_EQ(image.colourMask[128], 0) << "nothing past the rows read";
}

TEST_F(CursorImageTest, AFileInsideALargerOneIsReadThroughItsWindow) {
    Bytes outer(100, 0xAA);
    const Bytes cursor = CursorFile{}.bytes();
    outer.insert(outer.end(), cursor.begin(), cursor.end());
    outer.resize(outer.size() + 50, 0xBB);
    lect32::CursorImage image;
    ASSERT_EQ(read(outer, image, 100, static_cast<uint32_t>(cursor.size())), 1);
    EXPECT_EQ(image.colourMask[0], 0x10 + 31);
    EXPECT_EQ(image.transparencyMask[31 * 4], 0x80);
}

TEST_F(CursorImageTest, MasksUpTo512BytesAreReadAndLargerOnesRefused) {
    // Width 64: rows of 8 bytes, so 64 rows fill an area exactly and 65 overflow it.
    CursorFile fits;
    fits.width = 64;
    fits.height = 128;
    fits.rowBytes = 8;
    fits.rowsWritten = 128;
    CursorFile over = fits;
    over.height = 130;
    over.rowsWritten = 130;
    lect32::CursorImage image;
    EXPECT_EQ(read(fits.bytes(), image), 1);
    EXPECT_EQ(image.colourMask[511], 0x10 + 0);
    EXPECT_EQ(read(over.bytes(), image), 0);
}

// Pictures 1 to 4 pixels wide have mask rows of 0 bytes: their rows must be bounded by the areas
// too, or a height of a thousand million walks as many rows.
TEST(CursorMaskShapeTest, RowsAreBoundedByTheAreasAsWellAsTheBytes) {
    struct Case {
        int32_t width;
        int32_t height;
        std::optional<uint32_t> rows;  // none: refused
        uint32_t rowBytes;
    };
    const std::vector<Case> cases = {
        {32, 64, 32, 4},
        {64, 128, 64, 8},
        {64, 130, std::nullopt, 0},
        {5, 1024, 512, 1},
        {5, 1026, std::nullopt, 0},
        {1, 2, 1, 0},
        {4, 1024, 512, 0},
        {4, 1026, std::nullopt, 0},
        {4, 1025, 512, 0},                 // an odd height's last row belongs to neither mask
        {2, 0x5D00003C, std::nullopt, 0},  // the 49-byte file fuzzing found
        {1, 0x7FFFFFFF, std::nullopt, 0},
        {0, 64, std::nullopt, 0},
        {32, -64, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        BITMAPINFOHEADER header{};
        header.biWidth = c.width;
        header.biHeight = c.height;
        const std::optional<lect32::CursorMaskShape> shape = lect32::CursorMaskShapeOf(header);
        EXPECT_EQ(shape.has_value(), c.rows.has_value()) << c.width << " x " << c.height;
        if (!shape || !c.rows) continue;
        EXPECT_EQ(shape->rows, *c.rows) << c.width << " x " << c.height;
        EXPECT_EQ(shape->rowBytes, c.rowBytes) << c.width << " x " << c.height;
    }
}

TEST_F(CursorImageTest, NarrowPicturesAreReadUpToTheAreasRowsAndRefusedBeyond) {
    CursorFile fits;
    fits.width = 4;
    fits.height = 1024;
    fits.rowBytes = 0;
    CursorFile over = fits;
    over.height = 1026;
    lect32::CursorImage image;
    EXPECT_EQ(read(fits.bytes(), image), 1);
    EXPECT_EQ(read(over.bytes(), image), 0);
}

TEST_F(CursorImageTest, ShortAndDamagedFilesGiveZero) {
    const Bytes good = CursorFile{}.bytes();
    auto cut = [&](size_t size) {
        return Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    };
    CursorFile none;
    none.count = 0;
    CursorFile flat;
    flat.width = 0;
    CursorFile topDown;
    topDown.height = -64;
    CursorFile hugeHeight;
    hugeHeight.height = 0x7FFFFFFF;
    CursorFile farOffset;
    farOffset.offset = 22;
    Bytes pastEnd = farOffset.bytes();
    pastEnd[18] = 0x00;  // picture offset 0x10000000, beyond the file
    pastEnd[21] = 0x10;
    Bytes negativeOffset = good;
    negativeOffset[21] = 0x80;  // beyond what a file position can be

    struct Case {
        const char* what;
        Bytes bytes;
    };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"header cut", cut(5)},
        {"entry cut", cut(21)},
        {"bitmap header cut", cut(22 + 39)},
        {"palette cut", cut(22 + 47)},
        {"colour mask cut", cut(22 + 48 + 127)},
        {"transparency mask cut", cut(good.size() - 1)},
        {"no picture", none.bytes()},
        {"zero width", flat.bytes()},
        {"top-down", topDown.bytes()},
        {"huge height", hugeHeight.bytes()},
        {"offset past the end", pastEnd},
        {"offset beyond a position", negativeOffset},
    };
    for (const Case& c : cases) {
        lect32::CursorImage image;
        EXPECT_EQ(read(c.bytes, image), 0) << c.what;
    }
    lect32::CursorImage image;
    EXPECT_EQ(lect32::ReadCursorImage(image, folder.windows("missing.cur").c_str(), 0, 0), 0);
}

TEST_F(CursorImageTest, AWindowEndsTheFileForTheReader) {
    const Bytes cursor = CursorFile{}.bytes();
    Bytes outer = cursor;
    outer.resize(outer.size() + 40, 0xCC);
    lect32::CursorImage image;
    EXPECT_EQ(read(outer, image, 0, static_cast<uint32_t>(cursor.size() - 1)), 0);
}

}  // namespace
