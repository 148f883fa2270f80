// The Targa codec.
//
// Reads colour-mapped, true-colour and grey pictures (types 1, 2, 3), uncompressed or run-length
// coded (9, 10, 11), at 1, 8, 15, 16, 24 and 32 bits, stored top or bottom row first and left to
// right or mirrored. Writes uncompressed top-first files: 1-bit grey, 8-bit colour-mapped (every
// palette image) and 24-bit true colour (deeper images from a 24-bit copy). Files only, the
// picture starting at call.offset: Targa has no signature, so pictures stored inside other files
// are read as Targa when nothing else matches.
#ifndef PIXMILL_FORMATS_TARGA_CODEC_H
#define PIXMILL_FORMATS_TARGA_CODEC_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec targaCodec;
inline constexpr CodecFn targaInfo = codecEntry<targaCodec, CodecStage::Info>;
inline constexpr CodecFn targaLoad = codecEntry<targaCodec, CodecStage::Load>;
inline constexpr CodecFn targaSave = codecEntry<targaCodec, CodecStage::Save>;

}  // namespace pixmill

#endif
