// The picture of a monochrome cursor file read into fixed areas: the file's header, its first
// picture's directory entry and bitmap header, and that picture's colour and transparency masks
// top row first. Nothing in the reader draws from it yet.
#ifndef LECT32_STORE_CURSOR_IMAGE_H
#define LECT32_STORE_CURSOR_IMAGE_H

#include <array>
#include <cstdint>
#include <optional>

#include "winplat/gdi.h"

namespace lect32 {

struct CursorImage {
    static constexpr size_t kMaskArea = 512;

    // The 6-byte file header.
    uint16_t reserved = 0;
    uint16_t type = 0;   // 2 for a cursor file
    uint16_t count = 0;  // pictures in the file
    // The 16-byte directory entry of the first picture.
    uint8_t width = 0;
    uint8_t height = 0;
    uint8_t colourCount = 0;
    uint8_t entryReserved = 0;
    uint16_t hotX = 0;
    uint16_t hotY = 0;
    uint32_t bytesInPicture = 0;
    uint32_t pictureOffset = 0;
    // The picture: its bitmap header (double height: colour rows, then mask rows) and two colours.
    BITMAPINFOHEADER header{};
    std::array<uint32_t, 2> palette{};
    // Rows of ((width / 4 rounded up) / 2) bytes, top row first.
    std::array<uint8_t, kMaskArea> colourMask{};
    std::array<uint8_t, kMaskArea> transparencyMask{};
};

// What the reader walks of each mask: 'rows' rows of 'rowBytes' bytes.
struct CursorMaskShape {
    uint32_t rows = 0;
    uint32_t rowBytes = 0;
};

// The masks of a picture with this bitmap header; none when the picture is not bottom-up or its
// masks do not fit the areas, in bytes or in rows (rows of 0 bytes count against the area too).
std::optional<CursorMaskShape> CursorMaskShapeOf(const BITMAPINFOHEADER& header);

// Reads the first picture of the cursor file at 'path' (inside the window start, length of a
// larger file when the length is not 0). 1 on success; 0 when the file cannot be opened, is cut
// short, has no picture, or holds masks that do not fit the 512-byte areas; the record's masks
// are then undefined.
int ReadCursorImage(CursorImage& image, const char* path, uint32_t windowStart, uint32_t windowLength);

}  // namespace lect32

#endif
