// The codecs by format id, and how a file or stream is recognised.
#ifndef PIXMILL_FORMATS_FORMAT_REGISTRY_H
#define PIXMILL_FORMATS_FORMAT_REGISTRY_H

#include <cstdint>

#include "formats/codec.h"

namespace pixmill {

using CodecFn = int16_t (*)(CodecCall&);

struct CodecEntry {
    int16_t formatId;
    CodecFn info;
    CodecFn load;
    CodecFn save;     // null: the format is read only
    bool streams;     // also on IStreams and callback streams
};

// The codec of a format id, or null when none reads it.
const CodecEntry* findCodec(int formatId);

// The format id for a path's extension (lower-cased), 0 when none matches or the name is "*".
int16_t formatFromExtension(const char* path);

// The format of a picture in a file at an offset, by its first bytes and its extension; 0 unknown.
int16_t detectImageFormat(const char* path, int64_t offset);

// The format of a picture at a stream's position (only BMP and BMI are recognised there); the
// position is left where it was.
int16_t detectStreamFormat(ByteStream& stream);

// Runs a codec entry point on a call: an unknown format or a missing entry is refused (2 for
// reading, 5 for writing) without touching the stream.
int16_t runInfo(int formatId, CodecCall& call);
int16_t runLoad(int formatId, CodecCall& call);
int16_t runSave(int formatId, CodecCall& call);

}  // namespace pixmill

#endif
