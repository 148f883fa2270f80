// Writing images to files and streams.
//
// A file is written under a temporary name beside the target and moved over it only when the
// codec succeeded, so a failed save (no writer, a depth the writer refuses, a full disk) never
// costs the old file.
#include <string>

#include "core/bitmap_math.h"
#include "core/image_registry.h"
#include "formats/format_registry.h"
#include "formats/image_rows.h"
#include "winplat/files.h"

using namespace pixmill;

namespace {

// The codec record a writer gets for an image.
void describeForSaving(const ImageRecord& image, int formatId, int32_t option1, int16_t option2,
                       int16_t whiteIndex, PxlCodecInfo& info) {
    const BITMAPINFOHEADER& h = image.infoHeader();
    info.width = static_cast<int16_t>(h.biWidth);
    info.height = static_cast<int16_t>(h.biHeight);
    info.bitsPerPixel = static_cast<int16_t>(h.biBitCount);
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

int16_t writeImage(ImageRecord& image, int formatId, ByteStream& stream, int32_t option1, int16_t option2,
                   int16_t whiteIndex, PxlProgressFn progress, const char* targetPath = nullptr,
                   FrameAppendState* append = nullptr, int16_t wantedFrame = 0) {
    PxlCodecInfo info;
    describeForSaving(image, formatId, option1, option2, whiteIndex, info);
    info.wantedFrame = wantedFrame;
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
        return kCodecWriteError;
    }
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

int16_t saveToStream(PxlImageId id, ByteStream& stream, int16_t formatId) {
    if (id == 0) return 0;
    const CodecEntry* codec = findCodec(formatId);
    if (!codec || !codec->save || !codec->streams) return 0;
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

int16_t PXLSaveImage(PxlImageId id, const char* path, int16_t formatId, int32_t option1, int16_t option2,
                     PxlProgressFn progress) {
    if (id == 0 || !path) return 0;
    const CodecEntry* codec = findCodec(formatId);
    if (!codec || !codec->save) return 0;  // no writer: the old file stays as it is
    const int16_t whiteIndex = PXLGetNearestColorIndex(id, RGB(255, 255, 255));
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header) return 0;

    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(folderOf(path).c_str(), "pxl", 0, temporary)) return 0;
    int16_t result;
    {
        ByteStream file;
        result = file.openFile(temporary, "wb")
                     ? writeImage(*image, formatId, file, option1, option2, whiteIndex, progress, path)
                     : int16_t{kCodecCannotCreate};
        if (!file.close() && result == kCodecOk) result = kCodecWriteError;  // the last buffered bytes
    }
    if (result != kCodecOk || !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary);
        return 0;
    }
    return 1;
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
