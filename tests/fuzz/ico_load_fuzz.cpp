// The icon loader under fuzzing; seeds are icons of the codec's writer at every depth it keeps.
#include "formats/ico_codec.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::icoInfo, pixmill::icoLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::icoSave, 16, 16, 24, 0, 0), fuzzSeed(pixmill::icoSave, 13, 9, 4, 0, 0),
            fuzzSeed(pixmill::icoSave, 17, 5, 1, 0, 0), fuzzSeed(pixmill::icoSave, 32, 32, 8, 0, 0)};
}
