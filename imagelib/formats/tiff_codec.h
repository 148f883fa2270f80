// The TIFF codec: files read through libtiff row by row and written strip by strip.
//
// Loads contiguous, strip-organised pictures: grey (either polarity) and palette pictures of 1, 2,
// 4 and 8 bits, grey of 16 bits and grey with alpha (as 8-bit grey), RGB of 8 and 16 bits a
// sample, JPEG-compressed YCbCr (converted by the library) and 8-bit CMYK. Other layouts (tiles,
// separate planes, other sample sizes or kinds, other photometric interpretations) are refused
// with 3. The picture may start at an offset inside a larger file.
#ifndef PIXMILL_FORMATS_TIFF_CODEC_H
#define PIXMILL_FORMATS_TIFF_CODEC_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec tiffCodec;

// Size, depth, palette, detail text by compression (with a suffix for mask, CMYK, YCbCr and
// CIELAB pictures), flags 1 for CMYK. 1 when libtiff cannot open the picture, 2 for a width,
// height or row size of 0 or sides beyond the codec's limit.
inline constexpr CodecFn tiffInfo = codecEntry<tiffCodec, CodecStage::Info>;
// Decodes every row into call.sink, holding one row at a time. 3 for a layout the codec does not
// read or any row that cannot be decoded whole, 8 when the sink stops.
inline constexpr CodecFn tiffLoad = codecEntry<tiffCodec, CodecStage::Load>;
// Writes one strip-organised picture. option1 bits 0-5: 1 none, 2 PackBits, 4 LZW, 8 CCITT G4
// (1-bit pictures only, else none), 16 JPEG (true-colour only, else none), anything else LZW;
// bit 0x40 writes true colour as CMYK; option2 is the JPEG quality. 6 on a write error.
inline constexpr CodecFn tiffSave = codecEntry<tiffCodec, CodecStage::Save>;

}  // namespace pixmill

#endif
