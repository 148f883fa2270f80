// The chunks of FLI and FLC frames, decoded into an 8-bit frame buffer and a 256-entry palette:
// colour tables at 256 and 64 levels, byte runs, line deltas (FLI), word deltas (FLC), black and
// literal frames. Every write is clipped to the buffer.
#ifndef PIXMILL_FORMATS_FLI_CHUNKS_H
#define PIXMILL_FORMATS_FLI_CHUNKS_H

#include <cstddef>
#include <cstdint>

#include "winplat/byte_reader.h"

namespace pixmill {

enum FlicChunk : uint16_t {
    kFlicColour256 = 4,
    kFlicWordDelta = 7,
    kFlicColour64 = 11,
    kFlicLineDelta = 12,
    kFlicBlack = 13,
    kFlicByteRun = 15,
    kFlicLiteral = 16,
};

struct FlicCanvas {
    uint8_t* pixels = nullptr;  // width x height, rows from the top
    size_t width = 0;
    size_t height = 0;
    uint8_t* palette = nullptr;  // 256 x red, green, blue
    bool paletteChanged = false;
};

// Decodes one chunk whose data start at the reader's position; the reader may run on past the
// chunk (to the end of the frame), as the chunk's packets say. False when the data ended before
// the chunk did. Unknown types decode nothing.
bool decodeFlicChunk(uint16_t type, winplat::ByteReader& data, FlicCanvas& canvas);

}  // namespace pixmill

#endif
