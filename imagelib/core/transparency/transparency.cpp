// Transparency of an image: its entries, the mask derived from them or attached, and the attached
// transparency image. The derived mask is a temporary image: any change of the entries drops it
// and the next request builds it again.
#include <algorithm>
#include <utility>
#include <vector>

#include "core/colour/image_convert.h"
#include "core/registry/image_registry.h"

using namespace pixmill;

namespace {

bool sameEntry(const PxlTransparencyEntry& a, const PxlTransparencyEntry& b) {
    // Every field counts: two region entries that differ only in their seed fill different areas.
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.tolerance == b.tolerance &&
           a.kind == b.kind && a.seedX == b.seedX && a.seedY == b.seedY;
}

// Whether 'target' can be reached from 'from' through the images that 'from' owns (frames, mask,
// transparency image, rotated copy, saved area), 'from' itself included. Owning such a chain back
// would make an image release itself. An image that cannot be looked at counts as reaching, so a
// doubtful attachment is refused rather than risked.
bool ownsTransitively(PxlImageId from, PxlImageId target) {
    std::vector<PxlImageId> pending{from};
    std::vector<PxlImageId> seen;
    while (!pending.empty()) {
        const PxlImageId id = pending.back();
        pending.pop_back();
        if (id == target) return true;
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
        seen.push_back(id);
        ImageLock image = lockImage(id, Access::Read);
        if (!image) return true;
        for (PxlImageId link : {image->nextFrame.get(), image->mask.get(), image->transparencyImage.get(),
                                image->rotatedImage.get(), image->savedArea.get()}) {
            if (link) pending.push_back(link);
        }
    }
    return false;
}

// Whether 'candidate' may become a mask or transparency image of 'image': 1 or 8 bits, the
// picture's size, and not owning the picture already.
bool attachable(const ImageRecord& image, PxlImageId candidate) {
    {
        ImageLock c = lockImage(candidate, Access::Read);
        if (!c || !c->header) return false;
        if (c->bitCount() != 1 && c->bitCount() != 8) return false;
        if (c->width() != image.width() || c->height() != image.height()) return false;
    }
    return !ownsTransitively(candidate, image.id);
}

enum class Field { Mask, TransparencyImage };

// The old image of the field is given up first; the new one, when acceptable, is owned from then
// on (the caller hands its reference over). Id 0 therefore just clears the field.
int16_t attachToField(PxlImageId id, PxlImageId candidate, Field field) {
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header) return 0;
    OwnedImageId& slot = field == Field::Mask ? image->mask : image->transparencyImage;
    slot.reset();
    if (candidate == 0 || !attachable(*image, candidate)) return 0;
    slot.reset(candidate);
    return 1;
}

// The combined mask as the caller receives it: a new reference to the first of the image's mask
// and transparency image. The image must be locked, so that neither goes away meanwhile.
PxlImageId combinedReference(const ImageRecord& image) {
    return PXLCreateMaskCombine(image.mask, image.transparencyImage, 0);
}

PxlImageId firstNonZero(PxlImageId a, PxlImageId b, PxlImageId c) {
    return a ? a : b ? b : c;
}

// The image's combined mask as it is stored (no rotation): its mask, built from the entries when
// missing, else its transparency image.
PxlImageId unrotatedMask(PxlImageId id) {
    std::vector<PxlTransparencyEntry> entries;
    {
        ImageLock image = lockImage(id, Access::Read);
        if (!image || !image->header) return 0;
        if (image->mask || image->entryCount == 0) return combinedReference(*image);
        entries.assign(image->entries.begin(), image->entries.begin() + image->entryCount);
    }

    // Built with the image shared among readers (the builder reads it too); only storing the
    // result needs it alone, so drawing threads are not kept waiting for the build.
    const PxlImageId built = PXLCreateMaskImageFrom(id, entries.data(), static_cast<int16_t>(entries.size()));
    ImageLock image = lockImage(id, Access::Write);
    if (!image) return built;  // still a true mask of the entries as they were asked for
    const bool unchanged = image->entryCount == static_cast<int32_t>(entries.size()) &&
                           std::equal(entries.begin(), entries.end(), image->entries.begin(), sameEntry);
    if (built && image->mask == 0 && unchanged) {
        image->mask.reset(built);
        return combinedReference(*image);
    }
    if (built && !unchanged) return built;  // the entries moved on meanwhile: the caller's own copy
    // Another thread stored a mask first, or none could be built.
    const PxlImageId result = combinedReference(*image);
    image.release();
    if (built) PXLDeleteImage(built);
    return result;
}

// The mask of a rotated picture, of its rotated copy's size: the mask turned with the picture,
// else the transparency image turned, else the corners the turn leaves uncovered. Turned masks
// have those corners set too, so colour and index transparency survive the rotation.
PxlImageId rotatedMask(PxlImageId id) {
    if (const PxlImageId stored = unrotatedMask(id)) PXLDeleteImage(stored);  // builds the mask once
    PXLGetImageRotateImage(id);  // and the rotated copy with its corners
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header) return 0;
    const int angle = image->rotateAngle;
    if (angle == 0) {
        image.release();  // turned back meanwhile
        return unrotatedMask(id);
    }
    const PxlImageId mask = image->mask ? PXLGetImageRotateImageMask(image->mask, angle) : 0;
    const PxlImageId transparency =
        image->transparencyImage ? PXLGetImageRotateImageMask(image->transparencyImage, angle) : 0;
    // The turned copies belong to images this one owns: referenced while it is held.
    return PXLCreateMaskCombine(mask, transparency, PXLGetImageRotateImageMask(id, angle));
}

}  // namespace

int16_t PXLIsImageTransparent(PxlImageId id) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image) return 0;
    return image->entryCount > 0 || image->mask || image->transparencyImage || image->rotateAngle != 0 ? 1
                                                                                                       : 0;
}

PxlTransparencyEntry* PXLGetImageTransparentData(PxlImageId id, int32_t* count) {
    if (count) *count = 0;
    ImageLock image = lockImage(id, Access::Read);
    if (!image || image->entryCount <= 0) return nullptr;
    if (count) *count = image->entryCount;
    // The record's own array: it lives as long as the image.
    return image->entries.data();
}

int16_t PXLSetImageTransparent(PxlImageId id, const PxlTransparencyEntry* entries, int32_t count) {
    ImageLock image = lockImage(id, Access::Write);
    if (!image) return 0;
    if (entries && count != 0) {
        if (count < 0) return 0;
        count = std::min(count, kMaxTransparencyEntries);
        const bool same = count == image->entryCount &&
                          std::equal(entries, entries + count, image->entries.begin(), sameEntry);
        if (!same) {
            std::copy(entries, entries + count, image->entries.begin());
            image->entryCount = count;
        }
    } else {
        image->entries.fill(PxlTransparencyEntry{});
        image->entryCount = 0;
    }
    // Dropped even when the entries stayed (callers set them again to force a rebuild), once the
    // image is free for others again.
    const OwnedImageId mask = std::move(image->mask);
    image.release();
    return 1;
}

int16_t PXLSetImageTransparentMask(PxlImageId id, PxlImageId mask) {
    return attachToField(id, mask, Field::Mask);
}

int16_t PXLSetImageTransparentEx(PxlImageId id, PxlImageId transparencyImage) {
    return attachToField(id, transparencyImage, Field::TransparencyImage);
}

PxlImageId PXLGetImageTransparentImageEx(PxlImageId id) {
    ImageLock image = lockImage(id, Access::Read);
    return image ? image->transparencyImage : 0;
}

PxlImageId PXLGetImageTransparentImage(PxlImageId id) {
    int angle;
    {
        ImageLock image = lockImage(id, Access::Read);
        if (!image || !image->header) return 0;
        angle = image->rotateAngle;
    }
    return angle == 0 ? unrotatedMask(id) : rotatedMask(id);
}

PxlImageId PXLCreateMaskCombine(PxlImageId a, PxlImageId b, PxlImageId c) {
    // Picks the first mask rather than merging them: drawn results of stored documents were made
    // that way.
    const PxlImageId first = firstNonZero(a, b, c);
    return first ? PXLCreateImageFrom(first, 1) : 0;
}

PxlImageId PXLCreateTranspCombine(PxlImageId a, PxlImageId b, PxlImageId c) {
    return PXLCreateMaskCombine(a, b, c);
}
