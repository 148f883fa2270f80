// The display rotation of an image and the turned copies kept for it: the picture's rotated copy
// with its corners mask, and the turned copies of its mask and transparency image.
#include "core/registry/image_registry.h"
#include "core/edit/image_rotate.h"

using namespace pixmill;

namespace pixmill {

void dropRotatedCopy(ImageRecord& image) {
    image.turnedAngle = 0;
    image.rotatedImage.reset();
}

}  // namespace pixmill

namespace {

// The rotated copy with its 1-bit mask of the corners it leaves uncovered (a blank picture turned
// the same way on a set background), or 0.
PxlImageId makeRotatedCopy(PxlImageId id, int angle, int width, int height) {
    const PxlImageId rotated = PXLRotateImage(id, angle, 1, nullptr);
    if (rotated == 0) return 0;
    const PxlImageId blank = PXLCreateImage(width, height, 1);
    const PxlImageId corners = blank ? PXLRotateImage(blank, angle, 0, nullptr) : 0;
    PXLDeleteImage(blank);
    if (corners == 0 || PXLSetImageTransparentEx(rotated, corners) != 1) {
        PXLDeleteImage(corners);
        PXLDeleteImage(rotated);
        return 0;
    }
    return rotated;
}

void dropTurnedCopyOf(PxlImageId id) {
    if (id == 0) return;
    if (ImageLock image = lockImage(id, Access::Write)) dropRotatedCopy(*image);
}

}  // namespace

int16_t PXLGetImageRotateAngle(PxlImageId id) {
    ImageLock image = lockImage(id, Access::Read);
    return image ? static_cast<int16_t>(image->rotateAngle) : 0;
}

int16_t PXLSetImageRotateAngle(PxlImageId id, int32_t angle) {
    ImageLock image = lockImage(id, Access::Write);
    if (!image) return 0;
    image->rotateAngle = angle % 360;
    dropRotatedCopy(*image);
    dropTurnedCopyOf(image->mask);
    if (image->transparencyImage != image->mask) dropTurnedCopyOf(image->transparencyImage);
    return 1;
}

PxlImageId PXLGetImageRotateImage(PxlImageId id) {
    int angle, width, height;
    {
        ImageLock image = lockImage(id, Access::Read);
        if (!image || !image->header || image->rotateAngle == 0) return 0;
        if (image->rotatedImage) return image->rotatedImage;
        angle = image->rotateAngle;
        width = image->width();
        height = image->height();
    }
    // Turned with the image shared among readers: drawing threads are not kept waiting.
    const PxlImageId rotated = makeRotatedCopy(id, angle, width, height);
    if (rotated == 0) return 0;
    ImageLock image = lockImage(id, Access::Write);
    if (!image || image->rotateAngle != angle || image->rotatedImage != 0) {
        // Gone, turned otherwise, or another thread stored its copy first.
        const PxlImageId existing = image ? image->rotatedImage : 0;
        image.release();
        PXLDeleteImage(rotated);
        return existing;
    }
    image->rotatedImage.reset(rotated);
    return rotated;
}

PxlImageId PXLGetImageRotateImageMask(PxlImageId id, int32_t angle) {
    angle = (angle % 360 + 360) % 360;  // -270 and 90 are the same turn
    {
        ImageLock image = lockImage(id, Access::Read);
        if (!image || !image->header) return 0;
        if (image->rotateAngle != 0) {
            return image->rotatedImage ? PXLGetImageTransparentImageEx(image->rotatedImage) : 0;
        }
        if (angle == 0) return 0;
        if (image->rotatedImage && image->turnedAngle == angle) return image->rotatedImage;
    }
    // Bits 1 (bytes 255) where the turned image leaves the canvas uncovered: transparent there.
    const PxlImageId turned = PXLRotateImage(id, angle, 0, nullptr);
    if (turned == 0) return 0;
    ImageLock image = lockImage(id, Access::Write);
    if (!image || image->rotateAngle != 0 || (image->rotatedImage && image->turnedAngle == angle)) {
        const PxlImageId existing = image && image->rotateAngle == 0 ? image->rotatedImage : 0;
        image.release();
        PXLDeleteImage(turned);
        return existing;
    }
    dropRotatedCopy(*image);
    image->rotatedImage.reset(turned);
    image->turnedAngle = angle;
    return turned;
}
