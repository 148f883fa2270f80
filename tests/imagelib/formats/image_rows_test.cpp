// The sink that stores decoded rows in a new image: which rows it lends a codec, and rows
// delivered in place.
#include "formats/image_rows.h"

#include <gtest/gtest.h>

#include <cstring>

#include "../pixmill_fixture.h"
#include "core/registry/image_create.h"
#include "core/rows/bitmap_math.h"

namespace {

class ImageRowSinkTest : public PixmillTest {
protected:
    // A new image of the size and depth, and the layout a codec's record of them gives.
    pixmill::ImageLock make(int width, int height, int bits) {
        pixmill::ImageLock image = pixmill::newImage(width, height, bits);
        record_.width = static_cast<int16_t>(width);
        record_.height = static_cast<int16_t>(height);
        record_.bitsPerPixel = static_cast<int16_t>(bits);
        return image;
    }
    pixmill::RowLayout layout() const { return pixmill::prepareRowTransfer(record_); }

    pixmill::PxlCodecInfo record_;
};

TEST_F(ImageRowSinkTest, LendsTheImagesRowsOfItsDepthUpToTheirStride) {
    pixmill::ImageLock image = make(13, 5, 24);
    ASSERT_TRUE(image);
    pixmill::ImageRowSink sink(*image, layout());
    const size_t stride = static_cast<size_t>(pixmill::scanBytesForWidth(13, 24));
    ASSERT_EQ(stride, 40u);
    struct Case {
        int index;
        size_t bytes;
        bool lent;
    };
    const Case cases[] = {
        {0, 39, true}, {0, stride, true}, {0, stride + 1, false}, {4, stride, true},
        {5, 1, false}, {-1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.index) + ", " + std::to_string(c.bytes) + " bytes");
        uint8_t* target = sink.rowTarget(c.index, c.bytes);
        if (c.lent) {
            EXPECT_EQ(target, pixmill::rowFromTop(*image, c.index));
        } else {
            EXPECT_EQ(target, nullptr);
        }
    }
}

// Rows of another depth than the image's are not the image's rows: they are copied (and cut).
TEST_F(ImageRowSinkTest, LendsNothingWhenTheCodecsRowsHaveAnotherDepth) {
    pixmill::ImageLock image = make(8, 2, 8);
    ASSERT_TRUE(image);
    record_.bitsPerPixel = 24;
    pixmill::ImageRowSink sink(*image, layout());
    EXPECT_EQ(sink.rowTarget(0, 1), nullptr);
}

TEST_F(ImageRowSinkTest, ARowDecodedInPlaceStaysAndABreakStillStopsTheLoad) {
    pixmill::ImageLock image = make(4, 3, 8);
    ASSERT_TRUE(image);
    pixmill::ImageRowSink sink(*image, layout());
    pixmill::startLoad();
    uint8_t* row = sink.rowTarget(1, 4);
    ASSERT_NE(row, nullptr);
    const uint8_t decoded[4] = {9, 8, 7, 6};
    std::memcpy(row, decoded, 4);
    EXPECT_EQ(sink.putRow(row, 1), pixmill::kCodecOk);
    EXPECT_EQ(std::memcmp(pixmill::rowFromTop(*image, 1), decoded, 4), 0);
    const uint8_t copied[4] = {1, 2, 3, 4};
    EXPECT_EQ(sink.putRow(copied, 2), pixmill::kCodecOk);
    EXPECT_EQ(std::memcmp(pixmill::rowFromTop(*image, 2), copied, 4), 0);
    PXLBreakLoad();
    EXPECT_EQ(sink.putRow(sink.rowTarget(0, 4), 0), pixmill::kCodecStopped);
    pixmill::startLoad();
}

}  // namespace
