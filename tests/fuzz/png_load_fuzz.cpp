// The PNG loader under fuzzing; seeds are palette and RGB files of the codec's writer, plain and
// interlaced.
#include "formats/png_codec.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::pngInfo, pixmill::pngLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::pngSave, 11, 7, 24, 0, 0), fuzzSeed(pixmill::pngSave, 13, 9, 4, 0x80, 0),
            fuzzSeed(pixmill::pngSave, 17, 5, 1, 0, 0), fuzzSeed(pixmill::pngSave, 9, 9, 8, 0x80, 0)};
}
