// Reading GIF files (87a and 89a), one frame per call: the front end loads frame n by setting the
// record's wanted frame and running the info reader and the loader. Each parses the file from its
// start, unless the call carries a frame index that an earlier info pass over the same file
// recorded (gif_frame_index.h): then each starts at frame n and goes on after the last image once
// past it, with the same results. Each frame keeps its own size; its placement, the screen size,
// delay, transparency, disposal, loop count and (with the GIF frame word) comment, title and text
// block travel in the record. A wanted frame beyond the last gives a blank picture of the screen size.
//
// Files only (the call's stream is a file opened at call.offset).
#ifndef PIXMILL_FORMATS_GIF_CODEC_H
#define PIXMILL_FORMATS_GIF_CODEC_H

#include <cstddef>
#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec gifCodec;

inline constexpr CodecFn gifInfo = codecEntry<gifCodec, CodecStage::Info>;
// Rows of the wanted frame go to the sink in the file's order (interlaced frames pass by pass).
// Data that breaks off or holds a bad code leaves the rows decoded so far and still succeeds.
inline constexpr CodecFn gifLoad = codecEntry<gifCodec, CodecStage::Load>;

// The info reader with a block listing: every block is counted, the first 'capacity' are written
// to 'entries' (may be null). 'count' receives the number of blocks, also on failure.
int16_t gifReadInfo(CodecCall& call, PxlGifBlockEntry* entries, size_t capacity, size_t& count);

// Lists the blocks of the GIF file at a path into at most 'capacity' entries; the number of
// blocks, or 0 when the file cannot be read as a GIF.
size_t listGifBlocks(const char* path, PxlGifBlockEntry* entries, size_t capacity);

}  // namespace pixmill

#endif
