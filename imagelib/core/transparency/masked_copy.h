// Copying or blending the pixels of a 24-bit row that a 1-bit mask leaves visible.
#ifndef PIXMILL_CORE_MASKED_COPY_H
#define PIXMILL_CORE_MASKED_COPY_H

#include <cstdint>

namespace pixmill {

// Copies to out the pixels [sx, sx + w) of the 24-bit row in whose bits in maskRow (first pixel in
// the high bit, as 1-bit images store them) are clear; out's other pixels stay. The mask row
// holds bits for every pixel before sx + w, and nothing more is read of it.
void copyUnmasked24(const uint8_t* in, const uint8_t* maskRow, int sx, int w, uint8_t* out);

// The same, one pixel at a time: the reference copyUnmasked24 must match byte for byte.
void copyUnmasked24Plain(const uint8_t* in, const uint8_t* maskRow, int sx, int w, uint8_t* out);

// Blends into out the pixels [sx, sx + w) of the 24-bit row in whose bits in maskRow are clear,
// each by its opacity 255 - alphaRow[x]: d + ((s - d) * (255 - a) >> 8) per channel. Hidden pixels
// weigh nothing and leave out as it is. Reads of the mask row as for copyUnmasked24.
void blendUnmasked24(const uint8_t* in, const uint8_t* maskRow, const uint8_t* alphaRow, int sx, int w,
                     uint8_t* out);

// The same, one pixel at a time: the reference blendUnmasked24 must match byte for byte.
void blendUnmasked24Plain(const uint8_t* in, const uint8_t* maskRow, const uint8_t* alphaRow, int sx, int w,
                          uint8_t* out);

}  // namespace pixmill

#endif
