// Conversion rows without dithering: one routine per pair of depths, chosen once per call so that
// the pixel loops carry no depth test.
#include <cstring>

#include "core/colour/colour_conversion.h"
#include "core/rows/pixel_rows.h"

namespace pixmill {
namespace {

using RowRoutine = void (*)(uint8_t* target, const uint8_t* source, const ColourConversion& c);

template <int S, int T>
void indexToIndex(uint8_t* target, const uint8_t* source, const ColourConversion& c) {
    for (int x = 0; x < c.width; ++x) putIndex(target, x, c.remap[indexAt(source, x, S)], T);
}

template <int S>
void indexToColour(uint8_t* target, const uint8_t* source, const ColourConversion& c) {
    for (int x = 0; x < c.width; ++x, target += 3) {
        const RGBQUAD& colour = c.sourcePalette[indexAt(source, x, S)];
        target[0] = colour.rgbBlue;
        target[1] = colour.rgbGreen;
        target[2] = colour.rgbRed;
    }
}

template <int T>
void colourToIndex(uint8_t* target, const uint8_t* source, const ColourConversion& c) {
    for (int x = 0; x < c.width; ++x, source += 3) putIndex(target, x, c.inverseOf(source), T);
}

void colourToGrey(uint8_t* target, const uint8_t* source, const ColourConversion& c) {
    const int top = c.leaveLast ? 254 : 255;
    for (int x = 0; x < c.width; ++x, source += 3) {
        const int grey = greyWeighted(source[2], source[1], source[0]) / 100;
        target[x] = static_cast<uint8_t>(grey > top ? top : grey);
    }
}

void colourToColour(uint8_t* target, const uint8_t* source, const ColourConversion& c) {
    std::memcpy(target, source, static_cast<size_t>(c.width) * 3);
}

// Blue, green and red of every 4-byte pixel; the fourth byte is dropped.
void wideToColour(uint8_t* target, const uint8_t* source, const ColourConversion& c) {
    for (int x = 0; x < c.width; ++x, target += 3, source += 4) std::memcpy(target, source, 3);
}

template <int S>
RowRoutine fromIndexRoutine(int targetClass) {
    switch (targetClass) {
        case 1: return indexToIndex<S, 1>;
        case 4: return indexToIndex<S, 4>;
        case 8: return indexToIndex<S, 8>;
        default: return indexToColour<S>;
    }
}

RowRoutine fromColourRoutine(const ColourConversion& c) {
    switch (c.targetClass) {
        case 1: return colourToIndex<1>;
        case 4: return colourToIndex<4>;
        case 8: return c.grey ? colourToGrey : colourToIndex<8>;
        default: return colourToColour;
    }
}

RowRoutine routineFor(const ColourConversion& c) {
    switch (c.sourceClass) {
        case 1: return fromIndexRoutine<1>(c.targetClass);
        case 4: return fromIndexRoutine<4>(c.targetClass);
        case 8: return fromIndexRoutine<8>(c.targetClass);
        case 32: return wideToColour;
        default: return fromColourRoutine(c);
    }
}

}  // namespace

void convertPlainRows(const ColourConversion& c, const SourceRow& source, uint8_t* target, int32_t targetStride,
                      const RowDone& done) {
    const RowRoutine routine = routineFor(c);
    for (int row = 0; row < c.height; ++row) {
        routine(target + static_cast<size_t>(row) * static_cast<size_t>(targetStride), source(row), c);
        done();
    }
}

}  // namespace pixmill
