// Reducing a true-colour image into an existing 8-bit image of its size through the box-splitting
// converter. All work happens in memory of its own; the target changes only once the conversion
// is complete, so a failure leaves it as it was.
#include "core/colour/fine_colour_convert.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <tuple>

#include "core/rows/bitmap_math.h"
#include "core/colour/fine_colour_converter.h"
#include "core/registry/image_registry.h"

using namespace pixmill;

namespace {

struct HeldImages {
    ImageLock target;
    ImageLock source;
    ImageLock mask;
};

// The images locked in ascending id order, so that calls on the same images named in another
// order cannot deadlock. All empty unless every one was had.
HeldImages holdImages(PxlImageId target, PxlImageId source, PxlImageId mask) {
    HeldImages held;
    if (mask == 0) {
        std::tie(held.target, held.source) = lockImages(target, Access::Write, source, Access::Read);
        return held;
    }
    struct Request {
        PxlImageId id;
        Access mode;
        ImageLock* lock;
    };
    std::array<Request, 3> requests{{{target, Access::Write, &held.target},
                                     {source, Access::Read, &held.source},
                                     {mask, Access::Read, &held.mask}}};
    std::sort(requests.begin(), requests.end(),
              [](const Request& a, const Request& b) { return a.id < b.id; });
    for (const Request& request : requests) {
        *request.lock = lockImage(request.id, request.mode);
        if (!*request.lock) return {};
    }
    return held;
}

bool hasPixels(const ImageLock& image) { return image && image->header && image->bits; }

bool sameSize(const ImageRecord& a, const ImageRecord& b) {
    return a.width() == b.width() && a.height() == b.height();
}

// A 24-bit source and an 8-bit target of one size, and a 1-bit mask of that size when one is given.
bool suitable(const HeldImages& held, bool withMask) {
    if (!hasPixels(held.target) || !hasPixels(held.source)) return false;
    if (held.source->bitCount() != 24 || held.target->bitCount() != 8) return false;
    if (!sameSize(*held.target, *held.source) || held.target->width() <= 0) return false;
    if (!withMask) return true;
    // A mask of another size would be read past its rows.
    return hasPixels(held.mask) && held.mask->bitCount() == 1 && sameSize(*held.mask, *held.source);
}

FineImageView viewOf(const HeldImages& held) {
    FineImageView view;
    view.width = held.source->width();
    view.height = std::abs(held.source->height());
    view.pixels = held.source->bits;
    view.stride = scanBytesForWidth(view.width, 24);
    if (held.mask) {
        view.mask = held.mask->bits;
        view.maskStride = scanBytesForWidth(view.width, 1);
    }
    return view;
}

std::array<PackedColour, 256> paletteOf(const ImageRecord& image) {
    std::array<PackedColour, 256> palette{};
    for (size_t i = 0; i < palette.size(); ++i) {
        const RGBQUAD& c = image.colors()[i];
        palette[i] = packColour(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
    return palette;
}

// The target's transparency with its first entry made the palette-index entry of the masked-out
// pixels; the other entries stay.
struct Transparency {
    std::array<PxlTransparencyEntry, kMaxTransparencyEntries> entries{};
    int32_t count = 0;
};

Transparency transparencyWithIndex(const ImageRecord& image, int index) {
    Transparency result;
    result.count = std::max(image.entryCount, 1);
    std::copy(image.entries.begin(), image.entries.begin() + result.count, result.entries.begin());
    result.entries[0] = PxlTransparencyEntry{};
    result.entries[0].kind = PXL_TRANSPARENT_INDEX;
    result.entries[0].blue = index;
    return result;
}

// Pixels first, then the colour table's red, green and blue (its fourth bytes stay).
void storeResult(ImageRecord& target, std::span<const uint8_t> indices,
                 const std::array<PackedColour, 256>& palette) {
    const size_t width = static_cast<size_t>(target.width());
    const size_t stride = static_cast<size_t>(scanBytesForWidth(target.width(), 8));
    for (size_t y = 0; y * width < indices.size(); ++y)
        std::memcpy(target.bits + y * stride, indices.data() + y * width, width);
    RGBQUAD* colors = target.colors();
    for (size_t i = 0; i < palette.size(); ++i) {
        colors[i].rgbRed = static_cast<BYTE>(redOf(palette[i]));
        colors[i].rgbGreen = static_cast<BYTE>(greenOf(palette[i]));
        colors[i].rgbBlue = static_cast<BYTE>(blueOf(palette[i]));
    }
}

}  // namespace

namespace pixmill {

int32_t fineColorConvert(PxlImageId target, PxlImageId source, PxlImageId mask, int32_t colours,
                         int32_t ditherType, int32_t fixed, std::pmr::memory_resource* memory) {
    if (target == 0 || source == 0) return 0;
    try {
        HeldImages held = holdImages(target, source, mask);
        if (!suitable(held, mask != 0)) return 0;
        const FineImageView view = viewOf(held);
        std::array<PackedColour, 256> palette = paletteOf(*held.target);

        std::pmr::vector<uint8_t> indices(static_cast<size_t>(view.width) * static_cast<size_t>(view.height),
                                          memory);
        FineColourConverter converter(view, colours, ditherType, fixed, palette, memory);
        if (!converter.run(indices)) return 0;  // every pixel masked out
        converter.writePalette(palette);

        storeResult(*held.target, indices, palette);
        const int transparent = converter.transparentIndex();
        const Transparency transparency = transparent >= 0 ? transparencyWithIndex(*held.target, transparent)
                                                           : Transparency{};
        held = HeldImages{};
        PXLFillDIBColorTable(target);
        if (transparent >= 0) PXLSetImageTransparent(target, transparency.entries.data(), transparency.count);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

}  // namespace pixmill

int32_t PXLFineColorConvert(PxlImageId target, PxlImageId source, PxlImageId mask, int32_t colours,
                            int32_t ditherType, int32_t fixed) {
    return fineColorConvert(target, source, mask, colours, ditherType, fixed,
                            std::pmr::new_delete_resource());
}
