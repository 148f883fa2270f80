#include "effects/dialogs/effect_previews.h"

#include <algorithm>
#include <cstring>

#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"
#include "effects/true_colour_copy.h"
#include "pixmill/pixmill_edit.h"
#include "pixmill/pixmill_frames.h"
#include "winplat/refusal.h"

namespace pixmill::effects {

namespace {

constexpr winplat::Refuser refuse("PXL32: effect preview");
constexpr int kNearest = 1;

// The source in a depth the preview keeps: itself for 8 and 24 bits, else a 24-bit copy.
OwnedImageId previewSource(PxlImageId source) {
    const int bits = PXLbpp(source);
    if (bits == 8 || bits == 24) return OwnedImageId(PXLCreateImageFrom(source, 0));
    return OwnedImageId(trueColourCopy(source));
}

// A black image of the size in the source's depth and palette.
OwnedImageId blankLike(PxlImageId source, int width, int height) {
    const int bits = PXLbpp(source);
    OwnedImageId blank(PXLCreateImage(width, height, bits));
    if (blank == 0) return blank;
    if (bits == 8 && !PXLSetNewColorPaletteFrom(blank, source)) return OwnedImageId();
    const int black = bits == 8 ? std::max<int>(PXLGetColorIndexFromPalette(blank, RGB(0, 0, 0)), 0) : 0;
    ImageLock image = lockImage(blank, Access::Write);
    if (!image) return OwnedImageId();
    const size_t rowBytes = static_cast<size_t>(image->width()) * static_cast<size_t>(bits / 8);
    for (int y = 0; y < image->height(); ++y) std::memset(rowFromTop(*image, y), black, rowBytes);
    return blank;
}

// Rounded source / preview scaling of one coordinate.
int scaled(int point, int sourceSize, int previewSize) {
    return static_cast<int>((static_cast<long long>(point) * sourceSize * 2 + previewSize) / (2LL * previewSize));
}

}  // namespace

PxlImageId buildOriginalPreview(PxlImageId source, int width, int height, const PreviewView& view) {
    if (source == 0 || PXLbpp(source) == 0) return 0;
    if (width <= 0 || height <= 0) return refuse(PxlImageId{0}, "the preview window has no inside");
    const OwnedImageId picture = previewSource(source);
    if (picture == 0) return refuse(PxlImageId{0}, "no copy of the source could be made");
    OwnedImageId preview = blankLike(picture, width, height);
    if (preview == 0) return refuse(PxlImageId{0}, "no preview image could be made");
    if (!view.detail) {
        if (!IPLResize(picture, preview, width, height, kNearest))
            return refuse(PxlImageId{0}, "the source could not be fitted into the preview");
    } else {
        const int x = scaled(std::clamp(view.clickX, 0, width - 1), PXLWidth(picture), width);
        const int y = scaled(std::clamp(view.clickY, 0, height - 1), PXLHeight(picture), height);
        if (!PXLRenderImageTo(preview, picture, 0, width / 2 - x, height / 2 - y))
            return refuse(PxlImageId{0}, "the detail could not be drawn into the preview");
    }
    return preview.release();
}

}  // namespace pixmill::effects
