// Painting an image over with one colour, one palette index, or a chessboard of two colours.
#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "core/registry/image_registry.h"
#include "core/edit/image_rotate.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

constexpr int kFlatCell = 50;

using Bgr = std::array<uint8_t, 3>;

Bgr bgrOf(COLORREF colour) {
    return {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
}

int64_t floorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// The two colours of a chessboard row pattern, in the order the first cell shows them.
struct Pair {
    Bgr first;
    Bgr second;
    void swap() { std::swap(first, second); }
};

// One 24-bit row of the pattern: cells of cellWidth, the first cellWidth - phaseX wide.
void paintPatternRow(uint8_t* row, int width, int cellWidth, int phaseX, Pair pair) {
    for (int x = 0, edge = cellWidth - phaseX; x < width; ++x) {
        if (x == edge) {
            pair.swap();
            edge += cellWidth;
        }
        std::memcpy(row + 3 * x, pair.first.data(), 3);
    }
}

void paintChessBoard(ImageRecord& image, int cellWidth, int cellHeight, int64_t phaseX, int64_t phaseY,
                     Pair pair) {
    // Phases past a cell start the pattern that many cells on: an odd number of cells swaps the
    // colours. Negative phases count back the same way.
    if (floorDiv(phaseY, cellHeight) & 1) pair.swap();
    if (floorDiv(phaseX, cellWidth) & 1) pair.swap();
    const int px = static_cast<int>(phaseX - floorDiv(phaseX, cellWidth) * cellWidth);
    const int py = static_cast<int>(phaseY - floorDiv(phaseY, cellHeight) * cellHeight);
    const int width = image.width();
    const size_t bytes = 3 * static_cast<size_t>(width);
    for (int y = 0, edge = cellHeight - py; y < image.height(); ++y) {
        if (y == edge) {
            pair.swap();
            edge += cellHeight;
        }
        uint8_t* row = rowFromTop(image, y);
        // Rows of one band are alike: the band's first row is painted, the others copied.
        if (y > 0 && y != edge - cellHeight) {
            std::memcpy(row, rowFromTop(image, y - 1), bytes);
        } else {
            paintPatternRow(row, width, cellWidth, px, pair);
        }
    }
}

void paintFlat(ImageRecord& image, const Bgr& colour) {
    const size_t bytes = 3 * static_cast<size_t>(image.width());
    uint8_t* first = rowFromTop(image, 0);
    for (size_t x = 0; x < bytes; x += 3) std::memcpy(first + x, colour.data(), 3);
    for (int y = 1; y < image.height(); ++y) std::memcpy(rowFromTop(image, y), first, bytes);
}

}  // namespace

int16_t PXLFillImageByChessBoard(PxlImageId id, int32_t cellWidth, int32_t cellHeight, int32_t phaseX,
                                 int32_t phaseY, COLORREF colour1, COLORREF colour2) {
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header || !image->bits || image->bitCount() != 24) return 0;
    // A side without cells leaves one colour: the second without a width, else the first.
    if (cellWidth <= 0) {
        paintFlat(*image, bgrOf(colour2));
    } else if (cellHeight <= 0) {
        paintFlat(*image, bgrOf(colour1));
    } else {
        paintChessBoard(*image, cellWidth, cellHeight, phaseX, phaseY, Pair{bgrOf(colour1), bgrOf(colour2)});
    }
    dropRotatedCopy(*image);
    return 1;
}

int16_t PXLFillImageByIndexColor(PxlImageId id, int16_t index) {
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header || !image->bits) return 0;
    const int bits = image->bitCount();
    if (bits > 8) return 0;
    std::memset(image->bits, repeatedIndexByte(bits, index), image->infoHeader().biSizeImage);
    dropRotatedCopy(*image);
    return 1;
}

int16_t PXLFillImageByRGBColor(PxlImageId id, COLORREF colour) {
    const int bits = PXLbpp(id);
    if (bits == 0) return 0;
    if (bits <= 8) return PXLFillImageByIndexColor(id, PXLGetNearestColorIndex(id, colour));
    return PXLFillImageByChessBoard(id, kFlatCell, kFlatCell, 0, 0, colour, colour);
}

int16_t PXLFillImageByRGBColor2(PxlImageId id, COLORREF colour, int32_t left, int32_t top, int32_t right,
                                int32_t bottom) {
    const int16_t index = PXLGetNearestColorIndex(id, colour);
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header || !image->bits) return 0;
    const int bits = image->bitCount();
    if (bits != 8 && bits != 24) return 0;
    // Only the part on the picture is painted.
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image->width() - 1);
    bottom = std::min(bottom, image->height() - 1);
    const Bgr bgr = bgrOf(colour);
    for (int y = top; y <= bottom; ++y) {
        uint8_t* row = rowFromTop(*image, y);
        if (bits == 8) {
            if (left <= right)
                std::memset(row + left, static_cast<uint8_t>(index), static_cast<size_t>(right - left + 1));
            continue;
        }
        for (int x = left; x <= right; ++x) std::memcpy(row + 3 * x, bgr.data(), 3);
    }
    dropRotatedCopy(*image);
    return 1;
}
