// The PCX loader under fuzzing; seeds are files of the codec's writer at 1, 4, 8 and 24 bits.
#include "formats/pcx_codec.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::pcxInfo, pixmill::pcxLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::pcxSave, 11, 7, 24, 0, 0), fuzzSeed(pixmill::pcxSave, 13, 9, 4, 0, 0),
            fuzzSeed(pixmill::pcxSave, 17, 5, 1, 0, 0), fuzzSeed(pixmill::pcxSave, 9, 9, 8, 0, 0)};
}
