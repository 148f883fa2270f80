// The PNG codec: files read and written through libpng.
//
// Every colour type and bit depth loads: palette pictures of 1, 4 and 8 bits and grey of 1, 4
// and 8 bits keep their depth; 2-bit pictures and anything deeper load as 24-bit blue-green-red
// (grey as 8-bit grey); 16-bit samples keep their high byte; alpha is dropped. libpng warnings go
// to the debug output and the load goes on; its errors end the call.
#ifndef PIXMILL_FORMATS_PNG_CODEC_H
#define PIXMILL_FORMATS_PNG_CODEC_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec pngCodec;

// Size, depth, palette (the file's, or a grey ramp), "LZW interlaced" with flag 0x40 for
// interlaced files, else "LZW compression". 2 when libpng refuses the header.
inline constexpr CodecFn pngInfo = codecEntry<pngCodec, CodecStage::Info>;
// Decodes every row into call.sink. 2 on a libpng error (a damaged or cut-off file), 8 when the
// load is broken off or the sink stops.
inline constexpr CodecFn pngLoad = codecEntry<pngCodec, CodecStage::Load>;
// Writes 1-, 4- and 8-bit images as palette files of that depth and deeper ones as 8-bit RGB;
// option1 bit 0x80 asks for an interlaced file. 6 on a libpng or write error.
inline constexpr CodecFn pngSave = codecEntry<pngCodec, CodecStage::Save>;

}  // namespace pixmill

#endif
