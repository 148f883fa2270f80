#include "effects/shade_palette.h"

#include <algorithm>

namespace pixmill::effects {

void makeShadePalette(ImageRecord& image, COLORREF colour) {
    if (!image.header || image.bitCount() != 8) return;
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    const int m = std::min({r, g, b});
    const auto level = [](int base, int i) { return static_cast<uint8_t>(std::min(255, base + i)); };
    for (int i = 0; i < 256; ++i) {
        RGBQUAD& entry = image.colors()[i];
        entry = RGBQUAD{level(b - m, i), level(g - m, i), level(r - m, i), 0};
    }
}

}  // namespace pixmill::effects
