// Palette-side operations that match colours by dropping low bits (red first, then green, then
// blue, in turn) until every colour finds an equal partner, rather than by a colour distance, so
// that results are exact and repeatable across palettes that share colours.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "core/colour/bit_drop.h"
#include "core/rows/bitmap_math.h"
#include "core/registry/image_create.h"
#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

constexpr int32_t kDone = -1;  // a key that is matched or excluded
constexpr int kHistogramRowBytes = 7;

// For every key of 'toMatch' that is not kDone, the lowest position in 'against' whose key is
// equal after the fewest dropped bits; kDone keys on either side take no part. After 24 dropped
// bits every key equals 0, so each live key finds a partner when 'against' has a live key.
std::vector<int> bitDropMatch(const std::vector<int32_t>& toMatch, const std::vector<int32_t>& against) {
    std::vector<int> result(toMatch.size(), kDone);
    std::vector<bool> pending(toMatch.size());
    size_t left = 0;
    for (size_t i = 0; i < toMatch.size(); ++i) {
        pending[i] = toMatch[i] != kDone;
        left += pending[i] ? 1 : 0;
    }
    for (int dropped = 0; dropped <= 24 && left > 0; ++dropped) {
        const int32_t mask = keyMaskAfter(dropped);
        for (size_t i = 0; i < toMatch.size(); ++i) {
            if (!pending[i]) continue;
            for (size_t j = 0; j < against.size(); ++j) {
                if (against[j] != kDone && (against[j] & mask) == (toMatch[i] & mask)) {
                    result[i] = static_cast<int>(j);
                    pending[i] = false;
                    --left;
                    break;
                }
            }
        }
    }
    return result;
}

// Index of the image's first transparency entry when it is of the palette-index kind, else -1.
int transparentIndexOf(const ImageRecord& record) {
    if (record.entryCount < 1 || record.entries[0].kind != PXL_TRANSPARENT_INDEX) return -1;
    return record.entries[0].blue & 0xFF;
}

// Palette size of a caller's header, bounded by its colour count when that is smaller, so a short
// colour table is never read past its end.
int paletteSizeOf(const BITMAPINFOHEADER& header) {
    const int size = paletteSizeForBits(header.biBitCount);
    if (header.biBitCount < 1 || size == 0) return 0;
    if (header.biClrUsed != 0 && header.biClrUsed < static_cast<uint32_t>(size)) return static_cast<int>(header.biClrUsed);
    return size;
}

int cellOf(uint8_t r, uint8_t g, uint8_t b) { return (r >> 2) * 4096 + (g >> 2) * 64 + (b >> 2); }

}  // namespace

int16_t PXLSetNewColorPaletteFrom(PxlImageId targetId, PxlImageId sourceId) {
    if (targetId == 0 || sourceId == 0) return 0;
    auto [target, source] = lockImages(targetId, Access::Write, sourceId, Access::Read);
    if (!target || !source || !target->header || !source->header) return 0;
    const int count = std::min(paletteSizeForBits(source->bitCount()), paletteSizeForBits(target->bitCount()));
    if (count == 0) return 0;
    std::memmove(target->colors(), source->colors(), static_cast<size_t>(count) * sizeof(RGBQUAD));
    source.release();
    target.release();
    PXLFillDIBColorTable(targetId);
    return 1;
}

PxlImageId PXLColorConvert24to8(PxlImageId id, COLORREF exact1, COLORREF exact2, COLORREF exact3,
                                int32_t* colorCount) {
    if (colorCount) *colorCount = 0;
    ImageLock source = lockImage(id, Access::Read);
    if (!source || !source->header || !source->bits || source->bitCount() != 24) return 0;
    const int width = source->width();
    const int height = source->height();
    ImageLock target = newImage(width, height, 8);
    if (!target) return 0;
    if (!target->header || !target->bits) {
        discardImage(target);
        return 0;
    }
    int32_t count = 0;
    try {
        constexpr uint8_t kAbsent = 255, kPresent = 1;
        std::vector<uint8_t> cells(262144, kAbsent);
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = rowFromTop(*source, y);
            for (int x = 0; x < width; ++x) cells[static_cast<size_t>(cellOf(row[3 * x + 2], row[3 * x + 1], row[3 * x]))] = kPresent;
        }
        RGBQUAD* palette = target->colors();
        int numbered = 0;
        for (int cell = 0; cell < 262144; ++cell) {
            if (cells[static_cast<size_t>(cell)] != kPresent) continue;
            ++count;
            // Only 254 cells get their own index; the others keep 1, so their pixels show
            // entry 1 and the count tells the caller the copy is not exact.
            if (numbered < 254) {
                cells[static_cast<size_t>(cell)] = static_cast<uint8_t>(numbered);
                palette[numbered] = RGBQUAD{static_cast<uint8_t>((cell & 63) * 4), static_cast<uint8_t>(((cell >> 6) & 63) * 4),
                                            static_cast<uint8_t>((cell >> 12) * 4), 0};
                ++numbered;
            }
        }
        for (int i = numbered; i < 256; ++i) palette[i].rgbReserved = 255;
        for (COLORREF exact : {exact1, exact2, exact3}) {
            const uint8_t r = GetRValue(exact), g = GetGValue(exact), b = GetBValue(exact);
            RGBQUAD& entry = palette[cells[static_cast<size_t>(cellOf(r, g, b))]];
            entry.rgbRed = r;
            entry.rgbGreen = g;
            entry.rgbBlue = b;
        }
        for (int y = 0; y < height; ++y) {
            const uint8_t* in = rowFromTop(*source, y);
            uint8_t* out = rowFromTop(*target, y);
            for (int x = 0; x < width; ++x) out[x] = cells[static_cast<size_t>(cellOf(in[3 * x + 2], in[3 * x + 1], in[3 * x]))];
        }
    } catch (const std::bad_alloc&) {
        discardImage(target);
        return 0;
    }
    if (colorCount) *colorCount = count;
    const PxlImageId result = target->id;
    target.release();
    PXLFillDIBColorTable(result);
    return result;
}

int16_t PXLConvertImageOnNewPalette(PxlImageId id, const PALETTEENTRY* palette, int32_t transparentIndex) {
    if (id == 0 || palette == nullptr) return 0;
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header || !image->bits) return 0;
    const int bits = image->bitCount();
    if (bits >= 10 || paletteSizeForBits(bits) != 256) return 0;
    // Without a kept index (outside 0..255) nothing is excluded on either side: the old
    // transparent colour is matched like any other, so its pixels keep their look.
    const bool keepIndex = transparentIndex >= 0 && transparentIndex <= 255;
    try {
        std::vector<int32_t> newKeys(256), oldKeys(256);
        for (int i = 0; i < 256; ++i) newKeys[static_cast<size_t>(i)] = colourKey(palette[i].peRed, palette[i].peGreen, palette[i].peBlue);
        const RGBQUAD* old = image->colors();
        for (int i = 0; i < 256; ++i) oldKeys[static_cast<size_t>(i)] = colourKey(old[i].rgbRed, old[i].rgbGreen, old[i].rgbBlue);
        if (keepIndex) {
            newKeys[static_cast<size_t>(transparentIndex)] = kDone;
            const int oldTransparent = transparentIndexOf(*image);
            if (oldTransparent >= 0) oldKeys[static_cast<size_t>(oldTransparent)] = kDone;
        }
        const std::vector<int> match = bitDropMatch(oldKeys, newKeys);
        uint8_t map[256];
        for (int i = 0; i < 256; ++i) {
            const int m = match[static_cast<size_t>(i)];
            map[i] = static_cast<uint8_t>(m >= 0 ? m : (keepIndex ? transparentIndex : i));
        }
        RGBQUAD* colors = image->colors();
        for (int i = 0; i < 256; ++i) colors[i] = RGBQUAD{palette[i].peBlue, palette[i].peGreen, palette[i].peRed, 0};
        // The real buffer size, not the header's image size, which a loader may have left at 0
        // or set too large.
        const size_t bytes = static_cast<size_t>(scanBytesForWidth(image->width(), bits)) *
                             static_cast<size_t>(std::abs(image->height()));
        for (size_t i = 0; i < bytes; ++i) image->bits[i] = map[image->bits[i]];
    } catch (const std::bad_alloc&) {
        return 0;
    }
    image.release();
    PXLFillDIBColorTable(id);
    if (keepIndex) {
        PxlTransparencyEntry entry{};
        entry.kind = PXL_TRANSPARENT_INDEX;
        entry.blue = transparentIndex;
        PXLSetImageTransparent(id, &entry, 1);
    } else {
        PXLSetImageTransparent(id, nullptr, 0);
    }
    return 1;
}

int16_t PXLConvertPaletteTable(const BITMAPINFO* a, const BITMAPINFO* b, int32_t* table) {
    if (a == nullptr || b == nullptr || table == nullptr) return 0;
    const int sizeA = paletteSizeOf(a->bmiHeader);
    const int sizeB = paletteSizeOf(b->bmiHeader);
    if (sizeA == 0 || sizeB == 0) return 0;
    const int n = std::max(sizeA, sizeB);
    try {
        std::vector<int32_t> keysA(256, 0), keysB(static_cast<size_t>(n), 0);
        for (int i = 0; i < sizeA; ++i) {
            const RGBQUAD& c = a->bmiColors[i];
            keysA[static_cast<size_t>(i)] = colourKey(c.rgbRed, c.rgbGreen, c.rgbBlue);
        }
        for (int i = 0; i < sizeB; ++i) {
            const RGBQUAD& c = b->bmiColors[i];
            keysB[static_cast<size_t>(i)] = colourKey(c.rgbRed, c.rgbGreen, c.rgbBlue);
        }
        const std::vector<int> match = bitDropMatch(keysB, keysA);
        for (int i = 0; i < 256; ++i) table[i] = i < n ? match[static_cast<size_t>(i)] : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int16_t PXLReducePalette256(PALETTEENTRY* palette, int32_t count) {
    if (palette == nullptr) return 0;
    // Outside 2..256 the merging could never get below the count and would not end.
    count = std::clamp(count, 2, 256);
    int32_t keys[256];
    bool kept[256];
    for (int i = 0; i < 256; ++i) {
        keys[i] = colourKey(palette[i].peRed, palette[i].peGreen, palette[i].peBlue);
        kept[i] = true;
    }
    int left = 256;
    for (int dropped = 0; dropped <= 24 && left >= count; ++dropped) {
        const int32_t mask = keyMaskAfter(dropped);
        for (int j = 0; j < 256 && left >= count; ++j) {
            if (!kept[j]) continue;
            for (int k = 255; k > j && left >= count; --k) {
                if (kept[k] && (keys[k] & mask) == (keys[j] & mask)) {
                    kept[k] = false;
                    --left;
                }
            }
        }
    }
    PALETTEENTRY packed[256];
    int n = 0;
    for (int i = 0; i < 256; ++i)
        if (kept[i]) packed[n++] = palette[i];
    for (int i = n; i < 256; ++i) packed[i] = packed[0];
    std::memcpy(palette, packed, sizeof(packed));
    return 1;
}

int16_t PXLGenerateHistogramIndexImage(PxlImageId id, uint8_t* rows, int32_t skipTransparent) {
    if (id == 0 || rows == nullptr) return 0;
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header || !image->bits) return 0;
    const int bits = image->bitCount();
    // Only the depths whose rows have a known layout; a 2-bit header read as 4-bit rows would
    // run past its rows.
    if (bits != 1 && bits != 4 && bits != 8) return 0;
    const int entries = 1 << bits;
    std::memset(rows, 0, 256 * kHistogramRowBytes);
    uint32_t counts[256] = {};
    for (int i = 0; i < entries; ++i) {
        const RGBQUAD& c = image->colors()[i];
        rows[i * kHistogramRowBytes + 4] = c.rgbRed;
        rows[i * kHistogramRowBytes + 5] = c.rgbGreen;
        rows[i * kHistogramRowBytes + 6] = c.rgbBlue;
    }
    const int skip = skipTransparent ? transparentIndexOf(*image) : -1;
    const int width = image->width();
    const int height = image->height();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rowFromTop(*image, y);
        for (int x = 0; x < width; ++x) {
            const int index = indexAt(row, x, bits);
            if (index != skip) ++counts[index];
        }
    }
    for (int i = 0; i < entries; ++i) {
        for (int k = 0; k < 4; ++k) rows[i * kHistogramRowBytes + k] = static_cast<uint8_t>(counts[i] >> (8 * k));
    }
    return static_cast<int16_t>(entries);
}
