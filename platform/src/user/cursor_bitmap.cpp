// Bitmap pictures of cursor files: a BITMAPINFOHEADER whose height counts both halves, the colour
// table of an indexed depth, the colour rows and then the AND mask rows, bottom row first, each
// row padded to whole 32-bit words.
#include <array>
#include <string>
#include <vector>

#include "user/cursor_images.h"
#include "winplat/byte_reader.h"

namespace winplat::user {
namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr size_t kBitCountAt = 14;  // within the info header

struct BitmapHeader {
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;  // the colour rows and the mask rows together
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
};

BitmapHeader readHeader(ByteReader& in) {
    BitmapHeader header;
    header.size = in.u32();
    header.width = in.i32();
    header.height = in.i32();
    header.planes = in.u16();
    header.bitCount = in.u16();
    header.compression = in.u32();
    in.skip(12);  // image size and resolution: nothing a cursor needs
    header.coloursUsed = in.u32();
    in.skip(4);  // important colours
    return header;
}

bool isCursorDepth(unsigned bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

// Why the header cannot describe a cursor picture; empty when it can.
std::string headerProblem(const BitmapHeader& header) {
    if (header.size < kInfoHeaderSize) return "bitmap header of " + std::to_string(header.size) + " bytes (40 at least)";
    if (header.width < 1 || header.width > kMaxCursorSide)
        return "bitmap width " + std::to_string(header.width) + " (1 to 256)";
    // The height holds the colour rows and as many mask rows; top-down pictures do not occur.
    if (header.height < 2 || header.height > 2 * kMaxCursorSide || header.height % 2 != 0)
        return "bitmap height " + std::to_string(header.height) + " is not twice a height of 1 to 256";
    if (header.planes != 1) return "bitmap of " + std::to_string(header.planes) + " planes";
    if (!isCursorDepth(header.bitCount)) return "bit count " + std::to_string(header.bitCount) + " (1, 4, 8, 24 or 32)";
    if (header.compression != 0) return "compressed bitmap (compression " + std::to_string(header.compression) + ")";
    if (header.bitCount <= 8 && header.coloursUsed > (1u << header.bitCount))
        return "colour table of " + std::to_string(header.coloursUsed) + " entries for " +
               std::to_string(header.bitCount) + " bits";
    return {};
}

size_t rowBytes(int width, unsigned bits) { return (static_cast<size_t>(width) * bits + 31) / 32 * 4; }

// An index of 'bits' bits at pixel x of a row, most significant bits first.
unsigned indexAt(std::span<const uint8_t> row, int x, unsigned bits) {
    const size_t bit = static_cast<size_t>(x) * bits;
    const unsigned byte = row[bit / 8];
    return (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

COLORREF bgrAt(std::span<const uint8_t> bytes, size_t at) { return RGB(bytes[at + 2], bytes[at + 1], bytes[at]); }

// Indexed pictures: an index past a short colour table shows black.
COLORREF indexedColour(std::span<const uint8_t> table, unsigned index) {
    const size_t at = static_cast<size_t>(index) * 4;
    return at + 4 <= table.size() ? bgrAt(table, at) : RGB(0, 0, 0);
}

struct Planes {
    std::span<const uint8_t> table;   // colour table, 4 bytes an entry
    std::span<const uint8_t> colour;  // colour rows, bottom first
    std::span<const uint8_t> mask;    // AND mask rows, bottom first
};

void fillRow(CursorObject& cursor, const Planes& planes, unsigned bits, int y) {
    const int fileRow = cursor.height - 1 - y;
    const size_t colourStride = rowBytes(cursor.width, bits);
    const size_t maskStride = rowBytes(cursor.width, 1);
    const auto colourRow = planes.colour.subspan(static_cast<size_t>(fileRow) * colourStride, colourStride);
    const auto maskRow = planes.mask.subspan(static_cast<size_t>(fileRow) * maskStride, maskStride);
    for (int x = 0; x < cursor.width; ++x) {
        const auto at = static_cast<size_t>(y * cursor.width + x);
        cursor.andMask[at] = static_cast<uint8_t>(indexAt(maskRow, x, 1));
        if (bits <= 8) {
            cursor.xorColour[at] = indexedColour(planes.table, indexAt(colourRow, x, bits));
        } else {
            const size_t pixel = static_cast<size_t>(x) * (bits / 8);
            cursor.xorColour[at] = bgrAt(colourRow, pixel);
            if (bits == 32) cursor.alpha[at] = colourRow[pixel + 3];
        }
    }
}

// 32-bit pictures drawn before alpha channels existed leave the fourth byte 0 throughout: such a
// picture is drawn by its masks.
void dropUnusedAlpha(CursorObject& cursor) {
    for (uint8_t alpha : cursor.alpha) {
        if (alpha != 0) return;
    }
    cursor.alpha.clear();
}

}  // namespace

unsigned bitmapBitCount(std::span<const uint8_t> image) {
    ByteReader in(image);
    in.skip(kBitCountAt);
    const uint16_t bits = in.u16();
    return in.ok() ? bits : 0;
}

CursorRead cursorFromBitmap(std::span<const uint8_t> image) {
    ByteReader in(image);
    const BitmapHeader header = readHeader(in);
    if (!in.ok()) return refusedRead("bitmap header cut short");
    if (std::string problem = headerProblem(header); !problem.empty()) return refusedRead(problem);
    if (!in.skip(header.size - kInfoHeaderSize)) return refusedRead("bitmap header cut short");

    auto cursor = blankCursor(header.width, header.height / 2);
    const unsigned bits = header.bitCount;
    const size_t tableEntries = bits > 8 ? 0 : (header.coloursUsed ? header.coloursUsed : 1u << bits);
    const auto rows = static_cast<size_t>(cursor->height);
    Planes planes;
    planes.table = in.view(tableEntries * 4);
    if (!in.ok()) return refusedRead("colour table cut short");
    planes.colour = in.view(rowBytes(cursor->width, bits) * rows);
    if (!in.ok()) return refusedRead("colour rows cut short");
    planes.mask = in.view(rowBytes(cursor->width, 1) * rows);
    if (!in.ok()) return refusedRead("AND mask cut short");

    if (bits == 32) cursor->alpha.assign(cursor->andMask.size(), 0);
    for (int y = 0; y < cursor->height; ++y) fillRow(*cursor, planes, bits, y);
    dropUnusedAlpha(*cursor);
    return madeRead(cursor);
}

CursorRead withHotSpot(CursorRead read, POINT hotSpot) {
    if (!read.cursor) return read;
    const CursorObject& cursor = *read.cursor;
    if (hotSpot.x < 0 || hotSpot.y < 0 || hotSpot.x >= cursor.width || hotSpot.y >= cursor.height)
        return refusedRead("hot spot (" + std::to_string(hotSpot.x) + ", " + std::to_string(hotSpot.y) +
                           ") off a picture of " + std::to_string(cursor.width) + " x " +
                           std::to_string(cursor.height));
    read.cursor->hotSpot = hotSpot;
    return read;
}

}  // namespace winplat::user
