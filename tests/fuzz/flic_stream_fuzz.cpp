// FLI/FLC playback under fuzzing: a file is opened, played for up to 40 frames (through the ring
// frame and the loop) and copied into an image; seeds are animations of the tests' encoder with
// every chunk kind.
#include <filesystem>
#include <fstream>
#include <string>

#include "../imagelib/formats/flic_test_support.h"
#include "core/registry/image_registry.h"
#include "fuzz_scratch.h"
#include "fuzz_target.h"
#include "pixmill/pixmill.h"

namespace {

// The file the inputs are written to, removed when the run ends.
struct ScratchFile {
    std::filesystem::path path = fuzzScratchPath("pixmill_flic_fuzz", ".flc");
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

const std::filesystem::path& scratch() {
    static const ScratchFile file;
    return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out(scratch(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    FlicStream* stream = nullptr;
    if (FLICFileOpen(&stream, ("C:" + scratch().string()).c_str()) != 0) return 0;
    const PxlImageId image =
        stream->width > 0 && stream->height > 0 && stream->width * stream->height <= 1 << 20
            ? PXLCreateImage(stream->width, stream->height, 8)
            : 0;
    for (int i = 0; i < 40; ++i) {
        const int16_t r = FLICStreamGetNextFrame(stream);
        if (r != 0 && r != 1) __builtin_trap();
        if (image) FLICStreamFillImage8(stream, image, int16_t(i & 1));
        if (i == 20) FLICStreamSetCurFrame(stream);
    }
    FLICFileRelease(stream);
    if (image) PXLDeleteImage(image);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    using namespace flic_test;
    std::vector<Picture> pictures = flic_test::pictures(4, 12, 7);
    std::vector<FuzzBytes> seeds{animation(kFli, 12, 7, pictures),
                                 animation(kFlc, 12, 7, pictures, FirstFrame::Literal),
                                 animation(kFlc, 13, 5, flic_test::pictures(3, 13, 5), FirstFrame::Black)};
    Header h;
    h.width = 6;
    h.height = 3;
    seeds.push_back(
        file(h, {frame({chunk(18, Bytes(10, 1))}, 0xF100),
                 frame({chunk(15, {3, 6, 1, 3, 2, 3, 3, 1, 6, 5}), chunk(11, {1, 0, 5, 1, 63, 1, 32})}),
                 frame({chunk(12, {0, 0, 3, 0, 9, 0, uint8_t(-6), 1, 255, 0, uint8_t(-6), 2})}),
                 frame({chunk(7, {2,   0,   0xFF, 0xFF, 0x5A, 0x80, 1, 0,           2,   1,
                                  0xA, 0xB, 0xFE, 0xFF, 1,    0,    0, uint8_t(-3), 0xC, 0xD})})}));
    return seeds;
}
