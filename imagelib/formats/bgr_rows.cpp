#include "formats/bgr_rows.h"

#include <cstring>

#include "core/rows/pixel_rows.h"

namespace pixmill {

uint32_t widestSourceRow(int width) {
    return static_cast<uint32_t>((static_cast<uint64_t>(width > 0 ? width : 0) * 32 + 31) / 32 * 4);
}

void sourceRowToBgr(const uint8_t* in, int bits, int width, const PxlCodecInfo& info, uint8_t* out) {
    switch (bits) {
        case 1:
        case 4:
        case 8:
            for (int x = 0; x < width; ++x) {
                const uint8_t* entry = &info.palette[3 * size_t{indexAt(in, x, bits)}];
                out[3 * x] = entry[2];
                out[3 * x + 1] = entry[1];
                out[3 * x + 2] = entry[0];
            }
            break;
        case 16:
            widenRow16(in, width, true, out);
            break;
        case 32:
            for (int x = 0; x < width; ++x) std::memcpy(out + 3 * x, in + 4 * x, 3);
            break;
        default:
            std::memcpy(out, in, 3 * static_cast<size_t>(width));
            break;
    }
}

std::array<uint8_t, 256> paletteGreyLevels(const PxlCodecInfo& info) {
    std::array<uint8_t, 256> grey{};
    for (size_t i = 0; i < grey.size(); ++i) {
        grey[i] = greyLevel(info.palette[3 * i], info.palette[3 * i + 1], info.palette[3 * i + 2]);
    }
    return grey;
}

}  // namespace pixmill
