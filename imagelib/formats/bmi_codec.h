// The library's own picture format (BMI): a header with a palette, a directory of typed blocks
// (comment, transparency entries, rotation angle, frames, end) and frames whose top-first rows
// are stored in zlib-compressed chunks of whole rows.
//
// Every entry point works on any stream kind: a file opened by the front end or an IStream /
// callback stream, with the picture starting at call.offset. Reads and loads of the wanted frame
// (info.wantedFrame) also read the transparency entries into call.entries and the rotation angle
// into the record. A save with wanted frame 0 writes a new picture; a save with another wanted
// frame appends a frame to the picture described by call.append (one appended frame at most).
#ifndef PIXMILL_FORMATS_BMI_CODEC_H
#define PIXMILL_FORMATS_BMI_CODEC_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec bmiCodec;
inline constexpr CodecFn bmiInfo = codecEntry<bmiCodec, CodecStage::Info>;
inline constexpr CodecFn bmiLoad = codecEntry<bmiCodec, CodecStage::Load>;
inline constexpr CodecFn bmiSave = codecEntry<bmiCodec, CodecStage::Save>;

// Bytes of unpacked rows one chunk of a frame with this row stride holds: 20 rows, 4000 bytes
// for rows under 200 bytes, at most 32000, but always at least one row.
uint32_t bmiChunkSize(uint32_t stride);

}  // namespace pixmill

#endif
