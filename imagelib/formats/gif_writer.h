// Writing GIF 89a files one frame per call: the first frame (wanted frame 0) starts the file with
// the header, global table and loop block; each frame adds its comment, text block, graphic
// control, descriptor (with a local table when the GIF writer word asks) and LZW data, then the
// animation text, the title, and, for the last frame (flags 0), the trailer. Rows come from the
// call's source at the source depth (1, 4 or 8 bits).
#ifndef PIXMILL_FORMATS_GIF_WRITER_H
#define PIXMILL_FORMATS_GIF_WRITER_H

#include <array>
#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec gifCodec;

// Appends one frame at the stream's position. 0, 2 for a depth or size the writer cannot take,
// 6 when a write fails.
inline constexpr CodecFn gifSave = codecEntry<gifCodec, CodecStage::Save>;

// The writer as the GIF row of the format table holds it; callers go through gifSave.
int16_t writeGifFrame(CodecCall& call);

// Bits of the colour table written for a palette of 2^bits entries: the entries from the end
// that repeat entry 0 are left out (a reader gives missing entries entry 0's colour), but never
// the transparent index (-1 none).
int gifTableBits(const std::array<uint8_t, 256 * 3>& palette, int bits, int transparentIndex);

}  // namespace pixmill

#endif
