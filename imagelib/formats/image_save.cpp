// Writing images to files and streams.
//
// A file is written under a temporary name beside the target and moved over it only when the
// codec succeeded, so a failed save (no writer, a depth the writer refuses, a full disk) never
// costs the old file.
#include <string>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "formats/format_registry.h"
#include "formats/image_rows.h"
#include "formats/image_save.h"
#include "winplat/files.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: save");

}  // namespace

void describeForSaving(const ImageRecord& image, int formatId, int32_t option1, int16_t option2,
                       int16_t whiteIndex, PxlCodecInfo& info) {
    const BITMAPINFOHEADER& h = image.infoHeader();
    info.width = static_cast<int16_t>(h.biWidth);
    info.height = static_cast<int16_t>(h.biHeight);
    info.bitsPerPixel = static_cast<int16_t>(h.biBitCount);
    info.sourceBitsPerPixel = static_cast<int16_t>(h.biBitCount);  // the depth of the rows handed out
    info.imageBytes = static_cast<int32_t>(h.biSizeImage);
    info.option1 = option1;
    info.option2 = option2;
    info.whiteIndex = whiteIndex;
    info.rotationAngle = static_cast<int16_t>(image.rotateAngle);
    info.screenWidth = static_cast<int16_t>(image.screenWidth);
    info.screenHeight = static_cast<int16_t>(image.screenHeight);
    info.frameDelay = 0;
    info.gifFrameWord = 0;
    info.comment = image.comment;
    info.title = image.title;
    info.textBlock = image.textBlock;
    if (h.biBitCount <= 8) {
        for (int i = 0; i < paletteSizeForBits(h.biBitCount); ++i) {
            const RGBQUAD& c = image.colors()[i];
            info.setPaletteEntry(i, c.rgbRed, c.rgbGreen, c.rgbBlue);
        }
    }
    // A GIF keeps one transparent palette index: the image's first entry, when it names an index.
    if (formatId == PXL_FORMAT_GIF && image.entryCount > 0 && image.entries[0].kind == PXL_TRANSPARENT_INDEX) {
        info.transparency = kIndexTransparency + static_cast<uint32_t>(image.entries[0].blue & 0xFF) * 0x10000;
    }
}

int16_t writeDescribedImage(ImageRecord& image, int formatId, ByteStream& stream, PxlCodecInfo& info,
                            PxlProgressFn progress, const char* targetPath, FrameAppendState* append) {
    ImageRowSource source(image);
    CodecCall call{info, stream};
    call.source = &source;
    call.progress = progress;
    call.offset = stream.tell();
    call.imageId = image.id;
    call.targetPath = targetPath;
    call.append = append;
    call.entries = image.entries.data();
    call.entryCount = &image.entryCount;
    try {
        return runSave(formatId, call);
    } catch (...) {
        return refuse(int16_t{kCodecWriteError}, "the codec failed with an exception");
    }
}

namespace {

int16_t writeImage(ImageRecord& image, int formatId, ByteStream& stream, int32_t option1, int16_t option2,
                   int16_t whiteIndex, PxlProgressFn progress, const char* targetPath = nullptr,
                   FrameAppendState* append = nullptr, int16_t wantedFrame = 0) {
    PxlCodecInfo info;
    describeForSaving(image, formatId, option1, option2, whiteIndex, info);
    info.wantedFrame = wantedFrame;
    return writeDescribedImage(image, formatId, stream, info, progress, targetPath, append);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

int16_t saveToStream(PxlImageId id, ByteStream& stream, int16_t formatId) {
    if (id == 0) return 0;
    const FormatCodec* codec = findCodec(formatId);
    if (!codec || !codec->save || !codec->readsStreams()) return 0;
    PxlImageId mask = 0;
    FrameAppendState append;
    {
        ImageLock image = lockImage(id, Access::Write);
        if (!image || !image->header) return 0;
        if (writeImage(*image, formatId, stream, 0, 0, 0, nullptr, nullptr, &append) != kCodecOk) return 0;
        mask = image->transparencyImage;
    }
    // The attached transparency image follows as the second frame (a BMI appends it to the first's
    // directory); the result is the first's.
    if (mask) {
        if (ImageLock second = lockImage(mask, Access::Write); second && second->header) {
            writeImage(*second, formatId, stream, 0, 0, 0, nullptr, nullptr, &append, 1);
        }
    }
    return 1;
}

}  // namespace

int16_t writeBesideAndReplace(const char* path, const std::function<int16_t(ByteStream&)>& write) {
    char temporary[MAX_PATH] = {};
    if (!path || !GetTempFileNameA(folderOf(path).c_str(), "pxl", 0, temporary)) {
        return refuse(int16_t{kCodecCannotCreate}, "no temporary file beside the target");
    }
    int16_t result;
    {
        ByteStream file;
        result = file.openFile(temporary, "wb")
                     ? write(file)
                     : refuse(int16_t{kCodecCannotCreate}, "the temporary file cannot be opened");
        if (!file.close() && result == kCodecOk) {
            result = refuse(int16_t{kCodecWriteError}, "the last buffered bytes could not be written");
        }
    }
    if (result == kCodecOk && !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING)) {
        result = refuse(int16_t{kCodecWriteError}, "the written file cannot replace the target");
    }
    if (result != kCodecOk) DeleteFileA(temporary);
    return result;
}

}  // namespace pixmill

using namespace pixmill;

int16_t PXLSaveImage(PxlImageId id, const char* path, int16_t formatId, int32_t option1, int16_t option2,
                     PxlProgressFn progress) {
    if (id == 0 || !path) return 0;
    const FormatCodec* codec = findCodec(formatId);
    if (!codec || !codec->save) return 0;  // no writer: the old file stays as it is
    const int16_t whiteIndex = PXLGetNearestColorIndex(id, RGB(255, 255, 255));
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header) return 0;
    const int16_t result = writeBesideAndReplace(path, [&](ByteStream& file) {
        return writeImage(*image, formatId, file, option1, option2, whiteIndex, progress, path);
    });
    return result == kCodecOk ? 1 : 0;
}

int16_t PXLSaveImageOleStream(PxlImageId id, IStream* stream, int16_t formatId) {
    if (!stream) return 0;
    ByteStream bound(stream);
    return saveToStream(id, bound, formatId);
}

int16_t PXLSaveImageStreamCB(PxlImageId id, PxlStreamCallbacks* stream, int16_t formatId) {
    if (!stream) return 0;
    ByteStream bound(stream);
    return saveToStream(id, bound, formatId);
}
