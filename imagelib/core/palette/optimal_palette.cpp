// One 256-colour palette for an image or a whole animation, with one entry left free (entry 0)
// for the transparent colour of a GIF file.
#include <algorithm>
#include <cstring>
#include <utility>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_create.h"
#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

constexpr int64_t kCanvasPixels = 1000000;
constexpr int kMaxFrames = 65536;  // a walk never loops, whatever the chain holds

struct FrameWalk {
    int width = 1;   // the widest frame
    int height = 1;  // 1 + the frames stacked, while the canvas stays below a million pixels
    int frames = 0;
};

FrameWalk walkFrames(PxlImageId first) {
    FrameWalk walk;
    for (PxlImageId id = first; id != 0 && walk.frames < kMaxFrames;) {
        ImageLock frame = lockImage(id, Access::Read);
        if (!frame || !frame->header) break;
        walk.width = std::max(walk.width, frame->width());
        if (int64_t{walk.width} * walk.height < kCanvasPixels) walk.height += frame->height();
        ++walk.frames;
        id = frame->nextFrame;
    }
    return walk;
}

void swapEntries(PALETTEENTRY* palette, int a, int b) { std::swap(palette[a], palette[b]); }

// The lightest grey that no entry from 1 on holds.
PALETTEENTRY absentGrey(const PALETTEENTRY* palette) {
    for (int v = 255; v > 0; --v) {
        const bool held = std::any_of(palette + 1, palette + 256, [v](const PALETTEENTRY& e) {
            return e.peRed == v && e.peGreen == v && e.peBlue == v;
        });
        if (!held) return PALETTEENTRY{BYTE(v), BYTE(v), BYTE(v), 0};
    }
    return PALETTEENTRY{0, 0, 0, 0};
}

int freeIndexOf(const ImageRecord& image) {
    if (image.entryCount > 0 && image.entries[0].kind == PXL_TRANSPARENT_INDEX) return image.entries[0].blue & 0xFF;
    switch (image.bitCount()) {
        case 8: return 238;
        case 4: return 15;
        default: return 1;
    }
}

// The image's own palette with its free entry moved to slot 0.
int32_t singleImagePalette(PxlImageId id, PALETTEENTRY* palette) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header) return -1;
    const int size = paletteSizeForBits(image->bitCount());
    for (int i = 0; i < size; ++i) {
        const RGBQUAD& c = image->colors()[i];
        palette[i] = PALETTEENTRY{c.rgbRed, c.rgbGreen, c.rgbBlue, 0};
    }
    const int free = freeIndexOf(*image);
    if (free != 0) {
        swapEntries(palette, free, 0);
        palette[0] = absentGrey(palette);
    }
    return 0;
}

// Copies a frame's pixels into the canvas with its top-left corner at (0, top): through the
// compositor, or, for the depths it does not take (16 and 32 bits), as a 24-bit copy.
void drawOpaque(ImageRecord& canvas, PxlImageId frameId, int top) {
    if (PXLRenderImageTo(canvas.id, frameId, 0, 0, top)) return;
    const PxlImageId converted = PXLColorConvert(frameId, 24, 0, 0, 0, nullptr, nullptr);
    ImageLock frame = lockImage(converted, Access::Read);
    if (frame) {
        const int rows = std::min(frame->height(), canvas.height() - top);
        const size_t bytes = 3 * static_cast<size_t>(std::min(frame->width(), canvas.width()));
        for (int y = 0; y < rows; ++y) std::memcpy(rowFromTop(canvas, top + y), rowFromTop(*frame, y), bytes);
        frame.release();
    }
    PXLDeleteImage(converted);
}

// The frames stacked from the top on a white canvas.
PxlImageId stackFrames(PxlImageId first, const FrameWalk& walk) {
    ImageLock canvas = newImage(walk.width, walk.height, 24);
    if (!canvas) return 0;
    std::memset(canvas->bits, 0xFF, static_cast<size_t>(scanBytesForWidth(walk.width, 24)) * walk.height);
    int top = 0;
    for (PxlImageId id = first; id != 0 && top < walk.height;) {
        const int width = PXLWidth(id), height = PXLHeight(id);
        if (PXLStretchBltTransparent(nullptr, &canvas->infoHeader(), canvas->bits, 0, top, width, top + height, id, 1,
                                     0, 0, 0, 0) == 0)
            drawOpaque(*canvas, id, top);
        top += height;
        ImageLock frame = lockImage(id, Access::Read);
        id = frame ? frame->nextFrame : 0;
    }
    return canvas->id;
}

// An exact 8-bit reduction when the frames use few colours, else a popularity palette; the first
// entry no pixel uses is moved to slot 0.
int32_t animationPalette(PxlImageId first, const FrameWalk& walk, PALETTEENTRY* palette) {
    const PxlImageId canvas = stackFrames(first, walk);
    if (canvas == 0) return -1;
    int32_t used = 0;
    PxlImageId reduced = PXLColorConvert24to8(canvas, 0, 0, 0, &used);
    if (reduced != 0 && used > 253) {
        PXLDeleteImage(reduced);
        reduced = PXLColorConvert(canvas, 8, 0, 0x81, 0, nullptr, nullptr);
        used = 255;
    }
    PXLDeleteImage(canvas);
    if (reduced == 0) return -1;
    {
        ImageLock image = lockImage(reduced, Access::Read);
        for (int i = 0; i < 256; ++i) {
            const RGBQUAD& c = image->colors()[i];
            palette[i] = PALETTEENTRY{c.rgbRed, c.rgbGreen, c.rgbBlue, 0};
        }
    }
    PXLDeleteImage(reduced);
    swapEntries(palette, used, 0);
    return 0;
}

}  // namespace

int32_t PXLCalculateOptimPalette256(PxlImageId image, PALETTEENTRY* palette) {
    if (!palette || image == 0) return -1;
    const FrameWalk walk = walkFrames(image);
    if (walk.frames <= 1) return singleImagePalette(image, palette);
    return animationPalette(image, walk, palette);
}
