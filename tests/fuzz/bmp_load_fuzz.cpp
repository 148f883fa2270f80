// The bitmap loader under fuzzing; seeds are files of the codec's writer at every depth and a
// small run-length file, so both row decoders are reached.
#include "formats/bmp_codec.h"
#include "fuzz_target.h"

namespace {

// A 4 x 2 picture of 8 bits a pixel, compressed in runs: a run, a literal, an end of line, a
// delta and the end of the picture.
FuzzBytes runLengthSeed() {
    FuzzBytes b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54 + 8, 4, 0, 0};
    const uint8_t header[40] = {40, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0,
                                12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0};
    b.insert(b.end(), header, header + 40);
    const uint8_t palette[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    b.insert(b.end(), palette, palette + 8);
    const uint8_t rows[] = {2, 1, 0, 3, 0, 1, 0, 0, 0, 2, 1, 0, 0, 1};
    b.insert(b.end(), rows, rows + sizeof rows);
    b[2] = static_cast<uint8_t>(b.size());
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::bmpInfo, pixmill::bmpLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {fuzzSeed(pixmill::bmpSave, 11, 7, 24, 0, 0), fuzzSeed(pixmill::bmpSave, 13, 9, 4, 0, 0),
            fuzzSeed(pixmill::bmpSave, 17, 5, 1, 0, 0), fuzzSeed(pixmill::bmpSave, 9, 9, 8, 0, 0),
            runLengthSeed()};
}
