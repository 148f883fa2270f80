// Deleting images and the temporary images derived from them.
#include "core/frames/frame_break.h"
#include "core/registry/image_registry.h"

using namespace pixmill;

int16_t PXLDeleteImage(PxlImageId id) {
    if (id == 0) return 0;
    if (!releaseImageRecord(id, true)) return 0;
    removeFromFrameBreakTable(id);
    return 1;
}

int16_t PXLClearTemporaryImages(PxlImageId id) {
    ImageLock image = lockImage(id, Access::Write);
    if (!image) return 0;
    image->rotatedImage.reset();
    image->mask.reset();
    if (image->transparencyImage) {
        // The transparency image's own derived transparency and turned copy go too; the image
        // itself stays.
        if (ImageLock attached = lockImage(image->transparencyImage, Access::Write)) {
            attached->transparencyImage.reset();
            attached->rotatedImage.reset();
        }
    }
    return 1;
}
