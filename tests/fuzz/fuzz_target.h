// The pieces every loader fuzz target shares beside its entry points (fuzz_entry.h): seeds made
// with the library's own writers, and one load of a byte string as the front end runs it (info,
// then the rows into a sink that reads every row it is handed).
#ifndef PIXMILL_TESTS_FUZZ_TARGET_H
#define PIXMILL_TESTS_FUZZ_TARGET_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/codec.h"
#include "fuzz_entry.h"

using FuzzCodecFn = int16_t (*)(pixmill::CodecCall&);

// Stores the bytes in a temporary file and loads them. Pictures of more than 4 million pixels are
// only described, so a short run stays short.
void fuzzLoad(FuzzCodecFn info, FuzzCodecFn load, const uint8_t* data, size_t size);

// A picture written by a codec's writer: 'bits' deep, options as given.
FuzzBytes fuzzSeed(FuzzCodecFn save, int width, int height, int bits, int32_t option1, int16_t option2);

#endif
