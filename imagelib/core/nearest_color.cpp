// The palette index nearest to a colour, found by dropping low bits from both sides until some
// palette entry matches: red loses a bit first, then green, then blue, then red again.
#include "core/bitmap_math.h"
#include "core/image_registry.h"

using namespace pixmill;

namespace {

// Channel masks after 'dropped' bits were taken away in red, green, blue order.
struct KeyMask {
    uint8_t red, green, blue;
};

KeyMask maskAfter(int dropped) {
    auto keep = [](int bits) { return static_cast<uint8_t>(bits >= 8 ? 0 : 0xFF << bits); };
    return {keep((dropped + 2) / 3), keep((dropped + 1) / 3), keep(dropped / 3)};
}

}  // namespace

int16_t PXLGetNearestColorIndex(PxlImageId id, COLORREF color) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header || image->bitCount() >= 10) return 0;
    const int colors = paletteSizeForBits(image->bitCount());
    const uint8_t red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
    for (int dropped = 0; dropped <= 24; ++dropped) {
        const KeyMask m = maskAfter(dropped);
        for (int i = 0; i < colors; ++i) {
            const RGBQUAD& c = image->colors()[i];
            if ((c.rgbRed & m.red) == (red & m.red) && (c.rgbGreen & m.green) == (green & m.green) &&
                (c.rgbBlue & m.blue) == (blue & m.blue)) {
                return static_cast<int16_t>(i);
            }
        }
    }
    return 0;
}
