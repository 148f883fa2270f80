// Copying the pixels of a 24-bit row that a 1-bit mask leaves visible.
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

}  // namespace pixmill

#endif
