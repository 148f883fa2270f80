// 1-bit masks built from transparency entries: a set bit marks a transparent pixel.
#include <array>
#include <cstdlib>
#include <vector>

#include "core/registry/image_create.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

bool colorMatches(const PxlTransparencyEntry& e, uint8_t r, uint8_t g, uint8_t b) {
    return std::abs(e.red - r) <= e.tolerance && std::abs(e.green - g) <= e.tolerance &&
           std::abs(e.blue - b) <= e.tolerance;
}

// Palette images: which indexes an entry marks.
std::array<bool, 256> matchingIndexes(const ImageRecord& source, const PxlTransparencyEntry& entry) {
    std::array<bool, 256> match{};
    const int colors = 1 << source.bitCount();
    for (int i = 0; i < colors; ++i) {
        const RGBQUAD& c = source.colors()[i];
        match[i] = entry.kind == PXL_TRANSPARENT_INDEX ? i == (entry.blue & 0xFF)
                                                       : colorMatches(entry, c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
    return match;
}

void markIndexed(const ImageRecord& source, const PxlTransparencyEntry& entry, ImageRecord& mask) {
    const auto match = matchingIndexes(source, entry);
    for (int y = 0; y < source.height(); ++y) {
        const uint8_t* row = rowFromTop(source, y);
        uint8_t* out = rowFromTop(mask, y);
        for (int x = 0; x < source.width(); ++x) {
            if (match[indexAt(row, x, source.bitCount())]) setMaskBit(out, x);
        }
    }
}

void markColors(const ImageRecord& source, const PxlTransparencyEntry& entry, ImageRecord& mask) {
    std::vector<uint8_t> rgb(static_cast<size_t>(source.width()) * 3);
    for (int y = 0; y < source.height(); ++y) {
        readRowRgb(source, y, rgb.data());
        uint8_t* out = rowFromTop(mask, y);
        for (int x = 0; x < source.width(); ++x) {
            if (colorMatches(entry, rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2])) setMaskBit(out, x);
        }
    }
}

// A region whose seed does not match (or lies outside) adds nothing, like a colour no pixel has.
void addFilledRegion(const ImageRecord& source, const PxlTransparencyEntry& entry, ImageRecord& mask) {
    const PxlImageId region = PXLFloodFillMask(source.id, &entry);
    if (region == 0) return;
    if (ImageLock filled = lockImage(region, Access::Read)) {
        // Same size and depth, so the same bytes; the padding of both is clear.
        const size_t bytes = mask.infoHeader().biSizeImage;
        for (size_t i = 0; i < bytes; ++i) mask.bits[i] |= filled->bits[i];
    }
    PXLDeleteImage(region);
}

// Adds one entry's pixels to the mask.
void markEntry(const ImageRecord& source, const PxlTransparencyEntry& entry, ImageRecord& mask) {
    const bool indexed = source.bitCount() <= 8;
    switch (entry.kind) {
        case PXL_TRANSPARENT_COLOR:
            indexed ? markIndexed(source, entry, mask) : markColors(source, entry, mask);
            return;
        case PXL_TRANSPARENT_INDEX:
            if (indexed) markIndexed(source, entry, mask);  // true-colour pixels have no index
            return;
        case PXL_TRANSPARENT_REGION:
            addFilledRegion(source, entry, mask);
            return;
        default:
            return;  // unknown kinds add nothing
    }
}

}  // namespace

PxlImageId PXLCreateMaskImageFrom(PxlImageId id, const PxlTransparencyEntry* entries, int16_t count) {
    if (id == 0 || !entries || count <= 0) return 0;
    ImageLock source = lockImage(id, Access::Read);
    if (!source || !source->header) return 0;
    ImageLock mask = newImage(source->width(), source->height(), 1);
    if (!mask) return 0;
    // The mask covers the stored pixels and stays unrotated: a rotated picture's mask is turned
    // with it when drawn.
    for (int i = 0; i < count; ++i) markEntry(*source, entries[i], *mask);
    const PxlImageId result = mask->id;
    mask.release();
    return result;
}
