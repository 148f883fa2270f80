// The MacPaint codec: the fixed 576 x 720 black-and-white picture, PackBits rows of 72 bytes (1
// is black, the opposite of the image's index 1 for white), with or without the 128-byte
// MacBinary header in front. Writes the MacBinary form from 1-bit images. Files only.
#ifndef PIXMILL_FORMATS_MACPAINT_CODEC_H
#define PIXMILL_FORMATS_MACPAINT_CODEC_H

#include <cstdint>
#include <string>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec macPaintCodec;
inline constexpr CodecFn macPaintInfo = codecEntry<macPaintCodec, CodecStage::Info>;
inline constexpr CodecFn macPaintLoad = codecEntry<macPaintCodec, CodecStage::Load>;
inline constexpr CodecFn macPaintSave = codecEntry<macPaintCodec, CodecStage::Save>;

// The name the MacBinary header carries for a file written at `path`: the file name with its
// extension, lower-cased with the first letter upper-cased, and "-TARVO"; at most 63 bytes.
std::string macBinaryName(const char* path);

}  // namespace pixmill

#endif
