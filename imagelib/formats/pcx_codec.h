// The PCX codec.
//
// Reads 1-bit pictures in one to four planes (several planes combine into 4-bit pixels, plane l
// giving bit l), packed 2- and 4-bit pixels, 8-bit pixels with the 256-colour palette after the
// data, and 24-bit pictures stored as red, green and blue planes. Writes 1-bit, 4-bit (four bit
// planes), 8-bit and 24-bit files; deeper images are written from a 24-bit copy. Files only, the
// picture starting at call.offset.
#ifndef PIXMILL_FORMATS_PCX_CODEC_H
#define PIXMILL_FORMATS_PCX_CODEC_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec pcxCodec;
inline constexpr CodecFn pcxInfo = codecEntry<pcxCodec, CodecStage::Info>;
inline constexpr CodecFn pcxLoad = codecEntry<pcxCodec, CodecStage::Load>;
inline constexpr CodecFn pcxSave = codecEntry<pcxCodec, CodecStage::Save>;

}  // namespace pixmill

#endif
