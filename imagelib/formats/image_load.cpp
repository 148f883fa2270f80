// Loading pictures from files and streams into new images.
#include "formats/image_load.h"

#include <atomic>
#include <optional>

#include "core/rows/bitmap_math.h"
#include "core/colour/image_convert.h"
#include "core/registry/image_create.h"
#include "formats/format_registry.h"
#include "formats/gif_kept_frames.h"
#include "formats/image_rows.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

// What a codec found besides pixels goes into the image, replacing what was there.
void moveCodecTexts(PxlCodecInfo& info, ImageRecord& image) {
    image.comment = std::move(info.comment);
    image.title = std::move(info.title);
    image.animationText = std::move(info.text);
    image.textBlock = std::move(info.textBlock);
    info.comment.reset();
    info.title.reset();
    info.text.reset();
    info.textBlock.reset();
}

constexpr winplat::Refuser refuse("PXL32: load");

// Runs the loader; an exception from a codec is a failed load, never a half-filled success.
int16_t runLoadSafely(int formatId, CodecCall& call) {
    try {
        return runLoad(formatId, call);
    } catch (...) {
        return refuse(int16_t{kCodecReadError}, "the codec failed with an exception");
    }
}

// Creates the image a codec's record describes, decodes into it and finishes it. The stream must
// stand at the picture's start.
PxlImageId decodeIntoNewImage(int formatId, CodecCall& call) {
    PxlCodecInfo& info = call.info;
    if (info.width <= 0 || info.height <= 0 || !loadContinues()) return 0;
    ImageLock image = newImage(info.width, info.height, normalizeBitsPerPixel(info.bitsPerPixel));
    if (!image) return 0;
    image->rotateAngle = info.rotationAngle;
    copyCodecPalette(info, *image);
    const RowLayout layout = prepareRowTransfer(info);
    ImageRowSink sink(*image, layout);
    call.sink = &sink;
    image->entryCount = 0;
    call.entries = image->entries.data();
    call.entryCount = &image->entryCount;
    const int16_t result = runLoadSafely(formatId, call);
    call.sink = nullptr;
    call.entries = nullptr;
    call.entryCount = nullptr;
    // A break that a codec swallowed still ends the load without an image.
    if (result != kCodecOk || !loadContinues()) {
        discardImage(image);
        return 0;
    }
    if (info.flags & kFlagPaletteLate) copyCodecPalette(info, *image);
    moveCodecTexts(info, *image);
    const PxlImageId id = image->id;
    image.release();
    PXLFillDIBColorTable(id);
    return id;
}

// Deeper than 24 bits: the library keeps true-colour pictures as 24-bit images.
PxlImageId toAtMostTwentyFourBits(PxlImageId id) {
    if (id == 0 || PXLbpp(id) <= 24) return id;
    const PxlImageId converted = PXLColorConvert(id, 24, 0, 0, 0, nullptr, nullptr);
    PXLDeleteImage(id);
    return converted;
}

PxlImageId loadWithTransparency(const char* path, int64_t offset, PxlProgressFn progress) {
    PxlCodecInfo info;
    const PxlImageId id = loadImageFromFile(path, offset, 0, info, -3, progress);
    applyCodecTransparency(id, info.transparency);
    return id;
}

// One frame of a stream picture: info, then the pixels, from the stream's position.
PxlImageId loadStreamFrame(ByteStream& stream, int formatId, int wantedFrame, PxlProgressFn progress,
                           int16_t* frameCount = nullptr) {
    const int64_t start = stream.tell();
    PxlCodecInfo info = freshCodecInfo();
    info.wantedFrame = static_cast<int16_t>(wantedFrame);
    CodecCall call{info, stream};
    call.offset = start;
    call.progress = progress;
    if (runInfo(formatId, call) != kCodecOk) return 0;
    if (frameCount) *frameCount = info.frameCount;
    if (wantedFrame > 0 && info.frameCount != 2) return 0;
    if (!stream.seek(start, SEEK_SET)) return 0;
    return decodeIntoNewImage(formatId, call);
}

PxlImageId loadFromStream(ByteStream& stream, PxlProgressFn progress) {
    startLoad();
    const int16_t formatId = detectStreamFormat(stream);
    if (formatId == 0) return 0;
    const int64_t start = stream.tell();
    const PxlImageId id = toAtMostTwentyFourBits(loadStreamFrame(stream, formatId, 0, progress));
    if (id == 0) return 0;
    // A second frame of a two-frame stream is the picture's transparency mask.
    stream.seek(start, SEEK_SET);
    startLoad();
    if (detectStreamFormat(stream) == formatId) {
        const PxlImageId mask = loadStreamFrame(stream, formatId, 1, nullptr);
        if (mask && !attachTransparencyImage(id, mask)) PXLDeleteImage(mask);
    }
    return id;
}

}  // namespace

namespace {
std::atomic<int64_t> gateWaitMs{5000};
}  // namespace

std::chrono::milliseconds gateWait() { return std::chrono::milliseconds(gateWaitMs.load()); }

std::chrono::milliseconds setGateWait(std::chrono::milliseconds wait) {
    return std::chrono::milliseconds(gateWaitMs.exchange(wait.count()));
}

std::timed_mutex& loadGate() {
    static std::timed_mutex gate;
    return gate;
}

PxlCodecInfo freshCodecInfo() { return PxlCodecInfo{}; }

// The codec's transparency value becomes the image's one transparency entry.
void applyCodecTransparency(PxlImageId id, uint32_t value) {
    if (id == 0 || value >= kNoTransparency) return;
    ImageLock image = lockImage(id, Access::Write);
    if (!image) return;
    PxlTransparencyEntry entry{};
    if (value >= kIndexTransparency) {
        entry.kind = PXL_TRANSPARENT_INDEX;
        entry.blue = static_cast<int32_t>((value >> 16) & 0xFF);
    } else {
        entry.kind = PXL_TRANSPARENT_COLOR;
        entry.red = static_cast<int32_t>(value & 0xFF);
        entry.green = static_cast<int32_t>((value >> 8) & 0xFF);
        entry.blue = static_cast<int32_t>((value >> 16) & 0xFF);
    }
    image->entries[0] = entry;
    image->entryCount = 1;
}


void copyCodecPalette(const PxlCodecInfo& info, ImageRecord& image) {
    if (image.bitCount() > 8) return;
    const int colors = paletteSizeForBits(image.bitCount());
    for (int i = 0; i < colors; ++i) {
        image.colors()[i] = RGBQUAD{info.palette[3 * i + 2], info.palette[3 * i + 1], info.palette[3 * i], 0};
    }
}

int16_t describePicture(const char* path, int64_t offset, int16_t previewValue, PxlCodecInfo& info,
                        ByteStream& file, GifFrameIndex* frames) {
    const int16_t formatId = detectImageFormat(path, offset, file);
    if (formatId == 0) return 0;
    if (formatId == PXL_FORMAT_PCD) info.controlWord = previewValue;
    if (!file.seek(offset, SEEK_SET)) return 0;
    CodecCall call{info, file};
    call.offset = offset;
    call.gifFrames = frames;
    if (runInfo(formatId, call) != kCodecOk || info.width <= 0 || info.height <= 0) return 0;
    return file.seek(offset, SEEK_SET) ? formatId : 0;
}

PxlImageId loadImageFromFile(const char* path, int64_t offset, int wantedFrame, PxlCodecInfo& info,
                             int16_t previewValue, PxlProgressFn progress, GifFrameIndex* frames) {
    std::unique_lock gate(loadGate(), std::defer_lock);
    if (!path || offset < 0 || !gate.try_lock_for(gateWait())) return 0;
    startLoad();
    info = freshCodecInfo();
    info.wantedFrame = static_cast<int16_t>(wantedFrame);
    // The info pass records where the frames are (or finds them where an earlier load of the
    // file kept them); the pixel pass goes straight to its frame.
    std::optional<BorrowedGifFrames> kept;
    if (!frames) frames = kept.emplace(path, offset).get();
    ByteStream file;
    const int16_t formatId = describePicture(path, offset, previewValue, info, file, frames);
    if (formatId == 0) return 0;
    CodecCall call{info, file};
    call.offset = offset;
    call.progress = progress;
    call.gifFrames = frames;
    const PxlImageId id = decodeIntoNewImage(formatId, call);
    gate.unlock();
    return toAtMostTwentyFourBits(id);
}

}  // namespace pixmill

using namespace pixmill;

PxlImageId PXLLoadImage(int32_t, const char* path, PxlProgressFn progress) {
    return loadWithTransparency(path, 0, progress);
}

PxlImageId PXLLoadImageOffset(int32_t, const char* path, int32_t offset, PxlProgressFn progress) {
    return loadWithTransparency(path, offset, progress);
}

PxlImageId PXLLoadImageOleStream(int32_t, IStream* stream, PxlProgressFn progress) {
    if (!stream) return 0;
    ByteStream bound(stream);
    return loadFromStream(bound, progress);
}

PxlImageId PXLLoadImageStreamCB(int32_t, PxlStreamCallbacks* stream, PxlProgressFn progress) {
    if (!stream) return 0;
    ByteStream bound(stream);
    return loadFromStream(bound, progress);
}
