// The GIF reader under fuzzing; seeds are files of the codec's writer at 1, 4 and 8 bits, plain
// and interlaced.
#include "formats/gif_codec.h"
#include "formats/gif_writer.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::gifInfo, pixmill::gifLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::gifSave, 11, 7, 8, 0, 0), fuzzSeed(pixmill::gifSave, 13, 9, 4, 0x80, 0),
            fuzzSeed(pixmill::gifSave, 17, 5, 1, 0, 0), fuzzSeed(pixmill::gifSave, 40, 30, 8, 0x80, 0)};
}
