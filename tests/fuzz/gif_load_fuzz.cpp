// The GIF loader under fuzzing. Seeds built byte by byte: a still picture, an interlaced one with
// a local table and transparency, and an animation with loop count, comment and plain text; and
// files of the library's writer at 1, 4 and 8 bits, plain and interlaced.
#include "formats/gif_codec.h"
#include "formats/gif_writer.h"
#include "fuzz_target.h"
#include "gif_test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzLoad(pixmill::gifInfo, pixmill::gifLoad, data, size);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    using gif_test::GifFile;
    gif_test::Image still{};
    still.width = 11;
    still.height = 7;
    still.pixels = gif_test::pattern(11, 7, 256);
    gif_test::Image interlaced = still;
    interlaced.width = 9;
    interlaced.height = 9;
    interlaced.pixels = gif_test::pattern(9, 9, 16, 3);
    interlaced.interlaced = true;
    interlaced.localBits = 4;
    gif_test::Image small = still;
    small.width = 5;
    small.height = 3;
    small.pixels = gif_test::pattern(5, 3, 4, 1);
    return {GifFile(11, 7).image(still).done(),
            GifFile(9, 9, 2).control(0, 0, 3).image(interlaced).done(),
            GifFile(11, 7, 2)
                .loop(0)
                .comment("frames")
                .control(10, 2)
                .image(small)
                .control(10, 3, 1)
                .plainText()
                .image(small)
                .done(),
            fuzzSeed(pixmill::gifSave, 11, 7, 8, 0, 0),
            fuzzSeed(pixmill::gifSave, 13, 9, 4, 0x80, 0),
            fuzzSeed(pixmill::gifSave, 17, 5, 1, 0, 0),
            fuzzSeed(pixmill::gifSave, 40, 30, 8, 0x80, 0)};
}
