// The Targa loader under fuzzing; seeds are files of the codec's writer at 1, 8 and 24 bits.
#include "formats/targa_codec.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::targaInfo, pixmill::targaLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::targaSave, 11, 7, 24, 0, 0), fuzzSeed(pixmill::targaSave, 17, 5, 1, 0, 0),
            fuzzSeed(pixmill::targaSave, 9, 9, 8, 0, 0)};
}
