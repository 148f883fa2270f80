// The JPEG codec: JFIF files read and written through libjpeg.
//
// Pixels travel in blue-green-red order straight from and to the library (its extended BGR
// colour space); grey files load as 8-bit images with a grey ramp; Adobe CMYK files are turned
// into blue-green-red. Library errors come back to the codec through its own error handler and
// end the call with a result code; library warnings go to the debug output.
#ifndef PIXMILL_FORMATS_JPEG_CODEC_H
#define PIXMILL_FORMATS_JPEG_CODEC_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec jpegCodec;

// Size, depth (8 with a grey ramp below three components, else 24), detail text by the file's
// colour space and the file size. 1 when the library cannot read the header.
inline constexpr CodecFn jpegInfo = codecEntry<jpegCodec, CodecStage::Info>;
// Decodes with the fast integer transform and without fancy upsampling or block smoothing, every
// row into call.sink. 1 on a library error, 2 for colour spaces that give no image rows, 8 when
// the sink stops.
inline constexpr CodecFn jpegLoad = codecEntry<jpegCodec, CodecStage::Load>;
// Writes a baseline file: grey when option1 is 1, else colour; quality option2 clamped to 2..100.
// 6 on a library or write error.
inline constexpr CodecFn jpegSave = codecEntry<jpegCodec, CodecStage::Save>;

}  // namespace pixmill

#endif
