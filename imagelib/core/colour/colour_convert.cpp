// The depth converter: a new image of another depth, with a palette of the caller's, the target's
// default, a popularity count of the source or grey levels, dithered or not.
#include <algorithm>
#include <new>
#include <vector>

#include "core/rows/bitmap_math.h"
#include "core/colour/colour_conversion.h"
#include "core/registry/image_create.h"
#include "core/registry/image_registry.h"
#include "core/palette/palettes.h"
#include "core/rows/pixel_rows.h"
#include "core/palette/popularity_palette.h"

using namespace pixmill;

namespace {

constexpr int16_t kLeaveLastEntry = 0x80;

struct Request {
    int targetClass;
    Dither dither;
    int paletteMode;  // low seven bits
    bool leaveLast;
    bool grey;
};

// Fills in what the source forces; false for what has no conversion.
bool settle(Request& r, int sourceClass) {
    if (sourceClass == 32) r = Request{24, Dither::None, 0, false, false};
    if (r.grey) r.targetClass = 8;
    if (r.targetClass == 32 || (r.paletteMode != 0 && r.paletteMode != 1)) return false;
    if (r.grey || r.targetClass == 24) r.dither = Dither::None;
    return true;
}

// The source's rows in storage order; 16-bit rows come widened to blue, green, red.
SourceRow sourceRows(const ImageRecord& source, std::vector<uint8_t>& scratch) {
    const int32_t stride = scanBytesForWidth(source.width(), source.bitCount());
    const uint8_t* bits = source.bits;
    if (source.bitCount() != 16) {
        return [bits, stride](int row) { return bits + static_cast<size_t>(row) * static_cast<size_t>(stride); };
    }
    scratch.resize(static_cast<size_t>(source.width()) * 3);
    const bool is565 = source.infoHeader().biCompression == BI_BITFIELDS;
    const int width = source.width();
    return [bits, stride, is565, width, &scratch](int row) {
        widenRow16(bits + static_cast<size_t>(row) * static_cast<size_t>(stride), width, is565, scratch.data());
        return static_cast<const uint8_t*>(scratch.data());
    };
}

void defaultPalette(RGBQUAD* target, int targetClass, const PALETTEENTRY* caller, int size) {
    const PALETTEENTRY* source = caller          ? caller
                                 : targetClass == 1 ? blackWhitePalette()
                                 : targetClass == 4 ? windows16Palette()
                                                    : hardPalette();
    for (int i = 0; i < size; ++i) target[i] = RGBQUAD{source[i].peBlue, source[i].peGreen, source[i].peRed, 0};
}

void countPopularity(PopularityPalette& popularity, const ColourConversion& c, const SourceRow& rows,
                     const RowDone& done) {
    for (int row = 0; row < c.height; ++row) {
        if (c.sourceHasPalette()) popularity.countIndexRow(rows(row), c.width, c.sourceClass);
        else popularity.countBgrRow(rows(row), c.width);
        done();
    }
}

// Palette sources without dithering map each entry once: to its grey level or its nearest target
// entry. Everything else maps colours through the inverse table.
void buildIndexMap(ColourConversion& c) {
    if (!c.sourceHasPalette() || c.dither != Dither::None) {
        if (!c.grey) c.inverse = inverseColourTableFor(std::span(c.targetPalette.data(), c.paletteSize));
        return;
    }
    const std::span<const RGBQUAD> target(c.targetPalette.data(), c.paletteSize);
    const int top = c.leaveLast ? 254 : 255;
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& e = c.sourcePalette[i];
        c.remap[i] = c.grey ? static_cast<uint8_t>(std::min(top, greyWeighted(e.rgbRed, e.rgbGreen, e.rgbBlue) / 100))
                            : nearestPaletteIndex(target, e.rgbRed, e.rgbGreen, e.rgbBlue);
    }
}

// Every row of the conversion; the popularity count, when there is one, counts as half the work.
void convertRows(ColourConversion& c, const Request& r, const ImageRecord& source, ImageRecord& target,
                 const PALETTEENTRY* callerPalette, PxlProgressFn progress) {
    std::vector<uint8_t> scratch;
    const SourceRow rows = sourceRows(source, scratch);
    int counter = 0;
    const int step = c.paletteSize != 0 && !c.grey && r.paletteMode == 1 ? 2 : 1;
    const RowDone done = [&] {
        if (progress && ++counter >= step) {
            counter = 0;
            progress();
        }
    };
    if (c.paletteSize != 0) {
        if (c.grey) {
            for (int i = 0; i < c.paletteSize; ++i) c.targetPalette[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
        } else if (r.paletteMode == 1) {
            PopularityPalette popularity(c.sourceHasPalette() ? std::span<const RGBQUAD>(c.sourcePalette.data(),
                                                                                         paletteSizeForBits(c.sourceClass))
                                                              : std::span<const RGBQUAD>());
            countPopularity(popularity, c, rows, done);
            popularity.build(c.targetPalette.data(), c.targetClass, c.dither != Dither::None, c.leaveLast);
        } else {
            defaultPalette(c.targetPalette.data(), c.targetClass, callerPalette, c.paletteSize);
        }
        buildIndexMap(c);
    }
    const int32_t targetStride = scanBytesForWidth(c.width, c.targetClass);
    const bool wideRowsKnown = source.infoHeader().biCompression == BI_RGB ||
                               source.infoHeader().biCompression == BI_BITFIELDS;
    if (c.dither != Dither::None) convertDitheredRows(c, rows, target.bits, targetStride, done);
    else if (c.sourceClass != 32 || wideRowsKnown) convertPlainRows(c, rows, target.bits, targetStride, done);
    std::copy_n(c.targetPalette.begin(), c.paletteSize, target.colors());
}

ColourConversion conversionFor(const ImageRecord& source, const Request& r) {
    ColourConversion c;
    c.width = source.width();
    c.height = source.height();
    c.sourceBits = source.bitCount();
    c.sourceClass = c.sourceBits == 16 ? 24 : normalizeBitsPerPixel(c.sourceBits);
    c.targetClass = r.targetClass;
    c.dither = r.dither;
    c.grey = r.grey;
    c.paletteSize = paletteSizeForBits(r.targetClass);
    c.leaveLast = r.leaveLast && c.paletteSize != 0 && r.targetClass > 1;
    if (c.leaveLast) --c.paletteSize;
    if (c.sourceHasPalette())
        std::copy_n(source.colors(), paletteSizeForBits(c.sourceClass), c.sourcePalette.begin());
    return c;
}

}  // namespace

PxlImageId PXLColorConvert(PxlImageId image, int16_t bits, int16_t ditherType, int16_t paletteMode, int32_t grey,
                           const PALETTEENTRY* palette, PxlProgressFn progress) {
    if (image == 0 || ditherType < 0 || ditherType > 3) return 0;
    ImageLock source = lockImage(image, Access::Read);
    if (!source || !source->header || !source->bits) return 0;
    const int sourceClass = source->bitCount() == 16 ? 24 : normalizeBitsPerPixel(source->bitCount());
    Request request{normalizeBitsPerPixel(bits), static_cast<Dither>(ditherType), paletteMode & 0x7F,
                    (paletteMode & kLeaveLastEntry) != 0, grey != 0};
    if (!settle(request, sourceClass)) return 0;
    ImageLock target = newImage(source->width(), source->height(), request.targetClass);
    if (!target) return 0;
    try {
        ColourConversion conversion = conversionFor(*source, request);
        convertRows(conversion, request, *source, *target, palette, progress);
    } catch (const std::bad_alloc&) {
        discardImage(target);
        return 0;
    }
    const PxlImageId result = target->id;
    target.release();
    source.release();
    PXLFillDIBColorTable(result);
    return result;
}
