// The palette index nearest to a colour, found by dropping low bits from both sides until some
// palette entry matches: red loses a bit first, then green, then blue, then red again.
#include "core/colour/bit_drop.h"
#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"

using namespace pixmill;

int16_t PXLGetNearestColorIndex(PxlImageId id, COLORREF color) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header || image->bitCount() >= 10) return 0;
    const int colors = paletteSizeForBits(image->bitCount());
    const int32_t wanted = colourKey(GetRValue(color), GetGValue(color), GetBValue(color));
    for (int dropped = 0; dropped <= 24; ++dropped) {
        const int32_t mask = keyMaskAfter(dropped);
        for (int i = 0; i < colors; ++i) {
            const RGBQUAD& c = image->colors()[i];
            if ((colourKey(c.rgbRed, c.rgbGreen, c.rgbBlue) & mask) == (wanted & mask)) return static_cast<int16_t>(i);
        }
    }
    return 0;
}
