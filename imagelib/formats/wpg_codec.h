// The WordPerfect Graphics codec (version-1 files).
//
// Reads the first bitmap record of a file (1, 2, 4 or 8 bits; 2-bit pixels arrive as 4-bit ones)
// with the colour map records before it. Writes one bitmap of 1, 4 or 8 bits; deeper images are
// written from an 8-bit copy with a palette of their most frequent colours. Files only.
#ifndef PIXMILL_FORMATS_WPG_CODEC_H
#define PIXMILL_FORMATS_WPG_CODEC_H

#include <cstdint>

#include "formats/codec.h"

namespace pixmill {

int16_t wpgInfo(CodecCall& call);
int16_t wpgLoad(CodecCall& call);
int16_t wpgSave(CodecCall& call);

}  // namespace pixmill

#endif
