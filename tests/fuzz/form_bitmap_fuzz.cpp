// BMP files under fuzzing as the form library's bitmap reads them (the drafting program's pictures
// and message-box bitmaps). What must hold for any input: nothing reads outside the bytes (the
// sanitizers watch that); a file that loads gives a bitmap with a size, which saves and loads
// again to the very same bytes; a file that does not load leaves the bitmap as it was.
//
// Seeds: the bitmap's own files at every depth, and small run-length files at 4 and 8 bits; the
// seed files add other tools' BMP files.
#include <cstdint>
#include <vector>

#include "fuzz_entry.h"
#include "winforms/bitmap.h"
#include "winforms/canvas.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

FuzzBytes OwnFile(winforms::PixelFormat format) {
    winforms::Bitmap bitmap(9, 5, format);
    bitmap.GetCanvas().MoveTo(0, 0);
    bitmap.GetCanvas().LineTo(9, 5);
    return bitmap.SaveToBytes();
}

// A 6 x 4 run-length file: runs, an end of line, a literal, a delta and the end mark.
FuzzBytes RunLengthFile(bool fourBits) {
    const std::vector<uint8_t> codes = {3, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 2, 1, 1, 2, 0x77, 0, 1};
    const uint32_t colours = fourBits ? 16 : 256;
    const uint32_t offset = 14 + 40 + colours * 4;
    FuzzBytes f;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](uint32_t v) {
        f.push_back(static_cast<uint8_t>(v));
        f.push_back(static_cast<uint8_t>(v >> 8));
    };
    f.push_back('B');
    f.push_back('M');
    u32(offset + static_cast<uint32_t>(codes.size()));
    u32(0);
    u32(offset);
    u32(40);
    u32(6);
    u32(4);
    u16(1);
    u16(fourBits ? 4 : 8);
    u32(fourBits ? 2 : 1);  // BI_RLE4, BI_RLE8
    u32(static_cast<uint32_t>(codes.size()));
    u32(0);
    u32(0);
    u32(0);
    u32(0);
    for (uint32_t i = 0; i < colours; ++i) u32(i * 0x010101u);
    f.insert(f.end(), codes.begin(), codes.end());
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    winforms::Bitmap bitmap(2, 1, winforms::PixelFormat::Bits24);
    const std::vector<uint8_t> before = bitmap.SaveToBytes();
    if (!bitmap.LoadFromBytes(std::span<const uint8_t>(data, size))) {
        check(bitmap.SaveToBytes() == before);
        return 0;
    }
    check(bitmap.Width() > 0 && bitmap.Height() > 0);
    const std::vector<uint8_t> saved = bitmap.SaveToBytes();
    winforms::Bitmap again;
    check(again.LoadFromBytes(saved));
    check(again.SaveToBytes() == saved);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    using winforms::PixelFormat;
    return {OwnFile(PixelFormat::Bits1), OwnFile(PixelFormat::Bits4),  OwnFile(PixelFormat::Bits8),
            OwnFile(PixelFormat::Bits24), OwnFile(PixelFormat::Bits32), RunLengthFile(false),
            RunLengthFile(true)};
}
