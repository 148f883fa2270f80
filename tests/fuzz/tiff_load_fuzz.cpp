// The TIFF loader under fuzzing; seeds are files of the codec's writer in each compression.
#include "formats/tiff_codec.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::tiffInfo, pixmill::tiffLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::tiffSave, 12, 10, 24, 1, 0),  fuzzSeed(pixmill::tiffSave, 12, 10, 24, 4, 0),
            fuzzSeed(pixmill::tiffSave, 12, 10, 24, 2, 0),  fuzzSeed(pixmill::tiffSave, 16, 16, 24, 16, 50),
            fuzzSeed(pixmill::tiffSave, 12, 10, 24, 0x44, 0), fuzzSeed(pixmill::tiffSave, 40, 9, 1, 8, 0),
            fuzzSeed(pixmill::tiffSave, 12, 10, 8, 4, 0)};
}
