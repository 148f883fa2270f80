// The loader of the library's own format under fuzzing; seeds are files of its writer at every
// depth, so stored and compressed chunks of every row size are reached.
#include "formats/bmi_codec.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::bmiInfo, pixmill::bmiLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::bmiSave, 11, 7, 24, 0, 0), fuzzSeed(pixmill::bmiSave, 13, 9, 4, 0, 0),
            fuzzSeed(pixmill::bmiSave, 17, 5, 1, 0, 0), fuzzSeed(pixmill::bmiSave, 9, 9, 8, 0, 0)};
}
