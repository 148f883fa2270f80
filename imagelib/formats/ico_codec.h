// Windows icon files: the reader takes the richest entry (most colours, then the largest) of
// 1, 4, 8, 24 or 32 bits (PNG-compressed and other entries are passed over) and paints the pixels
// whose AND-mask bit is set with the palette entry nearest white (white itself above 8 bits), so
// the picture has a white background there; 32-bit entries load as 24 bits. The writer makes a
// single-entry icon of 1, 4, 8 or 24 bits (deeper images through their 24-bit conversion) with
// an all-opaque mask. Files only; no progress callback.
#ifndef PIXMILL_FORMATS_ICO_CODEC_H
#define PIXMILL_FORMATS_ICO_CODEC_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec icoCodec;
inline constexpr CodecFn icoInfo = codecEntry<icoCodec, CodecStage::Info>;
inline constexpr CodecFn icoLoad = codecEntry<icoCodec, CodecStage::Load>;
inline constexpr CodecFn icoSave = codecEntry<icoCodec, CodecStage::Save>;

}  // namespace pixmill

#endif
