// The codecs by format id, and how a file or stream is recognised.
#ifndef PIXMILL_FORMATS_FORMAT_REGISTRY_H
#define PIXMILL_FORMATS_FORMAT_REGISTRY_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

// The codec that reads a format id, or null when none reads it.
const FormatCodec* findCodec(int formatId);

// The format id for a path's extension (lower-cased), 0 when none matches or the name is "*".
int16_t formatFromExtension(const char* path);

// The format of a picture in a file at an offset, by its first bytes and its extension; 0 unknown.
int16_t detectImageFormat(const char* path, int64_t offset);
// The same, leaving the file open in `file` (past the bytes looked at) for the reads that follow.
int16_t detectImageFormat(const char* path, int64_t offset, ByteStream& file);

// The format of a picture at a stream's position (only the formats read from streams, BMP and BMI,
// are recognised there); the position is left where it was.
int16_t detectStreamFormat(ByteStream& stream);

// Runs a codec entry point on a call (runCodecStage): a format no codec reads is refused (2 for
// reading, 5 for writing) without touching the stream.
int16_t runInfo(int formatId, CodecCall& call);
int16_t runLoad(int formatId, CodecCall& call);
int16_t runSave(int formatId, CodecCall& call);

}  // namespace pixmill

#endif
