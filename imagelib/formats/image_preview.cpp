// Loading a picture scaled down to fit a box, resampling rows while they are decoded.
#include <cmath>
#include <mutex>
#include <utility>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_create.h"
#include "core/edit/image_resize.h"
#include "formats/format_registry.h"
#include "formats/image_load.h"
#include "formats/image_rows.h"

using namespace pixmill;

namespace {

constexpr int kSmallestBox = 10;

std::timed_mutex& previewGate() {
    static std::timed_mutex gate;
    return gate;
}

// Pictures whose rows cannot be resampled as they arrive are loaded whole and then resized.
bool needsFullLoad(int formatId, const PxlCodecInfo& info, int boxWidth, int boxHeight) {
    const bool unscalableRows = (info.flags & kFlagNotScalable) &&
                                (formatId == PXL_FORMAT_GIF || formatId == PXL_FORMAT_BMP || formatId == PXL_FORMAT_TARGA);
    return unscalableRows || formatId == PXL_FORMAT_PNG || formatId == PXL_FORMAT_ICO ||
           formatId == PXL_FORMAT_PCD || info.width < boxWidth || info.height < boxHeight || info.bitsPerPixel > 24;
}

PxlImageId fullLoadResized(const char* path, int64_t offset, int16_t previewValue, int width, int height,
                           PxlProgressFn progress) {
    PxlCodecInfo info;
    const PxlImageId full = loadImageFromFile(path, offset, 0, info, previewValue, progress);
    if (full == 0) return 0;
    // The stored pixels are what the preview shows; its display rotation goes with it.
    int32_t angle = 0;
    if (ImageLock image = lockImage(full, Access::Write)) angle = std::exchange(image->rotateAngle, 0);
    const PxlImageId resized = drawResized(full, width, height);
    PXLDeleteImage(full);
    if (resized && angle) PXLSetImageRotateAngle(resized, angle);
    return resized;
}

PxlImageId decodePreview(int formatId, CodecCall& call, int width, int height) {
    ImageLock target = newImage(width, height, normalizeBitsPerPixel(call.info.bitsPerPixel));
    if (!target) return 0;
    copyCodecPalette(call.info, *target);
    PreviewRowSink sink(*target, prepareRowTransfer(call.info));
    call.sink = &sink;
    int16_t result;
    try {
        result = runLoad(formatId, call);
    } catch (...) {
        result = kCodecReadError;
    }
    call.sink = nullptr;
    if (result != kCodecOk || !loadContinues()) {
        discardImage(target);
        return 0;
    }
    if (call.info.flags & kFlagPaletteLate) copyCodecPalette(call.info, *target);
    const PxlImageId id = target->id;
    target.release();
    PXLFillDIBColorTable(id);
    return id;
}

}  // namespace

int16_t PXLNewSizeCalculateProp(int32_t width, int32_t height, int32_t* boxWidth, int32_t* boxHeight) {
    if (!boxWidth || !boxHeight || *boxWidth <= 0 || *boxHeight <= 0) return 0;
    const float scale = std::max(static_cast<float>(width) / static_cast<float>(*boxWidth),
                                 static_cast<float>(height) / static_cast<float>(*boxHeight));
    if (!(scale > 0.0f)) return 0;
    *boxWidth = static_cast<int32_t>(static_cast<float>(width) / scale + 0.5f);
    *boxHeight = static_cast<int32_t>(static_cast<float>(height) / scale + 0.5f);
    return 1;
}

PxlImageId PXLLoadImagePreviewOffset(int32_t, const char* path, int32_t offset, int16_t boxWidth, int16_t boxHeight,
                                     PxlProgressFn progress) {
    const int16_t previewValue = offset == -1 ? -1 : -2;
    if (offset == -1) offset = 0;
    std::unique_lock gate(previewGate(), std::defer_lock);
    if (!path || offset < 0 || !gate.try_lock_for(gateWait())) return 0;
    startLoad();
    const int box[2] = {std::max<int>(boxWidth, kSmallestBox), std::max<int>(boxHeight, kSmallestBox)};

    PxlCodecInfo info = freshCodecInfo();
    ByteStream file;
    const int16_t formatId = describePicture(path, offset, previewValue, info, file);
    if (formatId == 0) return 0;
    CodecCall call{info, file};
    call.offset = offset;
    call.progress = progress;

    int32_t width = box[0], height = box[1];
    if (!loadContinues() || !PXLNewSizeCalculateProp(info.width, info.height, &width, &height)) return 0;
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (needsFullLoad(formatId, info, box[0], box[1])) {
        file.close();
        return fullLoadResized(path, offset, previewValue, width, height, progress);
    }
    return decodePreview(formatId, call, width, height);
}
