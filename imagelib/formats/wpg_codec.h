// The WordPerfect Graphics codec (version-1 files).
//
// Reads the first bitmap record of a file (1, 2, 4 or 8 bits; 2-bit pixels arrive as 4-bit ones)
// with the colour map records before it. Writes one bitmap of 1, 4 or 8 bits; deeper images are
// written from an 8-bit copy with a palette of their most frequent colours. Files only.
#ifndef PIXMILL_FORMATS_WPG_CODEC_H
#define PIXMILL_FORMATS_WPG_CODEC_H

#include <cstdint>

#include "formats/format_codec.h"

namespace pixmill {

extern const FormatCodec wpgCodec;
inline constexpr CodecFn wpgInfo = codecEntry<wpgCodec, CodecStage::Info>;
inline constexpr CodecFn wpgLoad = codecEntry<wpgCodec, CodecStage::Load>;
inline constexpr CodecFn wpgSave = codecEntry<wpgCodec, CodecStage::Save>;

}  // namespace pixmill

#endif
