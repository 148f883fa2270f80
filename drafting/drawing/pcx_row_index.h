// The row index of a PCX picture: the file offset at which each decoded row begins, so that a
// raster image entity can draw any band of rows without decoding from the top. The index is
// rebuilt on every load and never stored.
//
// Each row holds bytes-per-line bytes of every plane (a 16-colour picture is usually 1 bit in 4
// planes), run bytes 0xC0..0xFF of an encoded file repeat the next byte (count & 0x3F) times,
// and a run never carries into the next row. A run byte of 0xC0 counts 0: it and its data byte
// are consumed and cover nothing. The file is opened read-only and its attributes are left
// alone: reading a picture must never lift a user's write protection.
#ifndef LINEWORK_DRAWING_PCX_ROW_INDEX_H
#define LINEWORK_DRAWING_PCX_ROW_INDEX_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "drawing/drawing.h"

namespace linework {

// The source nibble of a raster image's flags (bits 4-7).
namespace image_source {
inline constexpr uint16_t kPcx = 0x00;
inline constexpr uint16_t kBitmap = 0x10;
inline constexpr uint16_t kNotLoaded = 0xF0;
inline constexpr uint16_t kMask = 0xF0;
}  // namespace image_source

struct PcxImageInfo {
    std::optional<RowTable> rows;  // last row + 2 offsets; none for a bitmap or a refused file
    int16_t lastColumn = 0;
    int16_t lastRow = 0;
    uint16_t flags = 0;  // the caller's high byte, the low byte as read
};

// The row index of the file (a Windows name). A name whose extension, upper-cased, is not ".PCX"
// is a bitmap: with 'loadBitmap' its size is read from its header (source 0x10 when that works),
// without it the source is 0x10 as soon as the file exists, else 0xF0. A ".PCX" file that cannot
// be opened, whose header is refused, or that ends before its last row, gives no rows and source
// 0xF0 (the debug output says why).
PcxImageInfo ReadPcxImage(const std::string& fileName, bool loadBitmap, uint16_t flags);

// The same over the bytes of a whole PCX file (the reader above reads the file in 8192-byte
// pieces through the same decoder).
PcxImageInfo IndexPcxBytes(std::span<const uint8_t> file, uint16_t flags);

}  // namespace linework

#endif
