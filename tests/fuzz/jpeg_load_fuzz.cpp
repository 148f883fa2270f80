// The JPEG loader under fuzzing; seeds are colour and grey files of the codec's writer.
#include "formats/jpeg_codec.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::jpegInfo, pixmill::jpegLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::jpegSave, 19, 13, 24, 0, 75), fuzzSeed(pixmill::jpegSave, 16, 9, 8, 1, 30)};
}
