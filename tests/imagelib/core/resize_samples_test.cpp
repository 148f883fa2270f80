// The samples a drawn resize shows, worked out without drawing, against the resize itself.
#include <string>
#include <vector>

#include "../pixmill_fixture.h"
#include "core/edit/image_resize.h"
#include "core/edit/resize_samples.h"

namespace {

using DrawnResizeSamples = PixmillTest;

// A 24-bit picture whose pixel (x, y) holds x + 1 in blue and green and y + 1 in red, so a blank
// pixel of a resized copy (0) is told from every source pixel.
PxlImageId coordinates(int width, int height) {
    const PxlImageId id = PXLCreateImage(width, height, 24);
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixmill::rowFromTop(*image, y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>((x + 1) & 0xFF);
            row[3 * x + 1] = static_cast<uint8_t>((x + 1) >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(y + 1);
        }
    }
    return id;
}

TEST_F(DrawnResizeSamples, MatchTheDrawnResizeTileByTile) {
    struct Case {
        int width, height, sourceWidth, sourceHeight;
    };
    const Case cases[] = {
        {5, 3, 3, 2},        // enlarged within one tile
        {2, 1, 7, 5},        // reduced
        {401, 3, 7, 2},      // three tiles across, their edges rounded
        {999, 2, 1000, 3},   // reduced by one, by the source's count of tiles
        {2500, 3, 1, 2},     // past the largest tile: tiles with no source pixel stay blank
        {1700, 250, 2, 249}, // blank tiles across, many rows down
        {1, 1, 40, 30},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.sourceWidth) + "x" + std::to_string(c.sourceHeight) + " to " +
                                 std::to_string(c.width) + "x" + std::to_string(c.height);
        const PxlImageId source = coordinates(c.sourceWidth, c.sourceHeight);
        const PxlImageId resized = pixmill::drawResized(source, c.width, c.height);
        ASSERT_NE(resized, 0) << what;
        const pixmill::ResizeSamples samples =
            pixmill::drawnResizeSamples(c.width, c.height, c.sourceWidth, c.sourceHeight);
        ASSERT_EQ(samples.columns.size(), size_t(c.width)) << what;
        ASSERT_EQ(samples.rows.size(), size_t(c.height)) << what;
        int mismatches = 0;
        pixmill::ImageLock image = pixmill::lockImage(resized, pixmill::Access::Read);
        for (int y = 0; y < c.height; ++y) {
            const uint8_t* row = pixmill::rowFromTop(*image, y);
            for (int x = 0; x < c.width; ++x) {
                const int column = samples.columns[size_t(x)], line = samples.rows[size_t(y)];
                const bool blank = column < 0 || line < 0;
                const int drawnColumn = row[3 * x] + (row[3 * x + 1] << 8) - 1, drawnRow = row[3 * x + 2] - 1;
                const bool drawnBlank = drawnColumn < 0 && drawnRow < 0;
                const bool same = blank ? drawnBlank : (drawnColumn == column && drawnRow == line);
                if (!same && mismatches++ < 5) {
                    ADD_FAILURE() << what << " at " << x << "," << y << ": samples " << column << "," << line
                                  << ", drawn " << drawnColumn << "," << drawnRow;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << what;
        image.release();
        PXLDeleteImage(resized);
        PXLDeleteImage(source);
    }
}

// Blank columns are where they must be: 1 source pixel over 2500 columns is cut into three tiles
// of 833, 834 and 833 columns over source edges 0, 0, 1, 1, so only the middle tile is drawn.
TEST_F(DrawnResizeSamples, TilesWithNoSourcePixelStayBlank) {
    const pixmill::ResizeSamples samples = pixmill::drawnResizeSamples(2500, 1, 1, 1);
    std::vector<int> expected(2500, -1);
    for (int x = 833; x < 1667; ++x) expected[size_t(x)] = 0;
    EXPECT_EQ(samples.columns, expected);
    EXPECT_EQ(samples.rows, std::vector<int>{0});
}

}  // namespace
