// The MacPaint loader under fuzzing; seeds are files of the codec's writer (it writes 1-bit
// pictures only), one smaller and one larger than the fixed page.
#include "formats/macpaint_codec.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::macPaintInfo, pixmill::macPaintLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::macPaintSave, 17, 5, 1, 0, 0), fuzzSeed(pixmill::macPaintSave, 600, 9, 1, 0, 0)};
}
