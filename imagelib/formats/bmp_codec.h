// The Windows bitmap codec (BMP, DIB, RLE).
//
// Reads core (12-byte), info (40-byte) and longer (V4, V5) headers; 1, 2, 4, 8, 16, 24 and 32
// bits; uncompressed, RLE8, RLE4 and bit-field pixels; bottom-up and top-down rows. Writes
// uncompressed bottom-up files with a 40-byte header at 1, 4, 8 or 24 bits. Each entry point
// works on whatever the call's stream is: a file opened by the front end (at call.offset) or an
// IStream / callback stream (at its current position).
#ifndef PIXMILL_FORMATS_BMP_CODEC_H
#define PIXMILL_FORMATS_BMP_CODEC_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec bmpCodec;

// Fills the record (size, depth, flags, palette, detail text, sizes) without decoding pixels.
inline constexpr CodecFn bmpInfo = codecEntry<bmpCodec, CodecStage::Info>;
// Decodes every row into call.sink once, in the file's order, each with its index counted from the
// top; 8 when the sink asks to stop.
inline constexpr CodecFn bmpLoad = codecEntry<bmpCodec, CodecStage::Load>;
// Writes the rows of call.source as an uncompressed bitmap.
inline constexpr CodecFn bmpSave = codecEntry<bmpCodec, CodecStage::Save>;

}  // namespace pixmill

#endif
