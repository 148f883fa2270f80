// The WPG loader under fuzzing; seeds are files of the codec's writer at 1, 4 and 8 bits.
#include "formats/wpg_codec.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::wpgInfo, pixmill::wpgLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::wpgSave, 13, 9, 4, 0, 0), fuzzSeed(pixmill::wpgSave, 17, 5, 1, 0, 0),
            fuzzSeed(pixmill::wpgSave, 9, 9, 8, 0, 0)};
}
