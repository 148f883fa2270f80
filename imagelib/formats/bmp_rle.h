// Run-length decoding of 4- and 8-bit Windows bitmaps.
//
// The encoded data are untrusted: every run, delta and absolute block is clipped to the picture,
// and data that end early (no end-of-bitmap mark, a block cut short) simply end the picture.
// Pixels that no command covers stay 0. Commands only ever move right or up, so each row is
// finished the moment the decoder leaves it; rows are handed out one by one, bottom row first,
// and only one row is ever held.
#ifndef PIXMILL_FORMATS_BMP_RLE_H
#define PIXMILL_FORMATS_BMP_RLE_H

#include <cstdint>
#include <functional>
#include <span>

namespace pixmill {

enum class RleEnd {
    EndOfBitmap,  // the end-of-bitmap mark, or every row was filled
    DataEnded,    // the data ran out (or a block was cut short) before the picture was complete
    Stopped,      // the row receiver asked to stop
};

// Takes one finished row (packed at 'bitsPerPixel', rowBytes long) and its index counted from the
// bottom; returns false to stop decoding.
using RleRowFn = std::function<bool(const uint8_t* row, int indexFromBottom)>;

// The row length, in bytes, that decodeRle hands out: the packed pixels rounded up to 4 bytes.
uint32_t rleRowBytes(int width, int bitsPerPixel);

// What becomes of the rows still missing when the data run out before the picture is complete.
enum class RleShortData {
    Zeros,     // handed out as zeros, so every row comes once
    Withheld,  // the row being filled is handed out and no more: a loader need not pad the rest
};

// Decodes RLE8 (bitsPerPixel 8) or RLE4 (bitsPerPixel 4) data for a width x height picture and
// hands every row to onRow exactly once (rows after an end-of-bitmap mark as zeros; rows after the
// end of the data as 'shortData' says). Returns how the data ended; with Stopped, fewer rows were
// handed out.
RleEnd decodeRle(std::span<const uint8_t> data, int width, int height, int bitsPerPixel,
                 const RleRowFn& onRow, RleShortData shortData = RleShortData::Zeros);

}  // namespace pixmill

#endif
