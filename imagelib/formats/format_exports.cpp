// The exports that list formats, recognise files and describe them without loading.
#include <algorithm>
#include <array>
#include <cstring>

#include "core/rows/bitmap_math.h"
#include "core/registry/library_state.h"
#include "formats/format_registry.h"
#include "formats/format_table.h"
#include "resources/pixmill_ids.h"
#include "winplat/module.h"

using namespace pixmill;

namespace {

constexpr std::array<int, kFormatCount> kImportRows = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
constexpr std::array<int, 9> kExportRows = {0, 1, 2, 3, 6, 9, 10, 12, 13};
constexpr int kLicenseMax = 2048;

template <size_t N>
int16_t enumerate(const std::array<int, N>& rows, int16_t index, PxlFormatRow* out) {
    if (index < 0 || static_cast<size_t>(index) >= N || !out) return 0;
    *out = formatRows()[rows[index]];
    return 1;
}

// A codec record as the info readers expect it before they fill it.
PxlCodecInfo freshInfo() {
    PxlCodecInfo info;
    info.gifFrameWord = 0;  // titles and texts are collected by loads only
    return info;
}

void fillFileInfo(int16_t formatId, const PxlCodecInfo& codec, bool fourChannels, PxlFileInfo* info) {
    std::memset(info, 0, sizeof *info);
    info->formatId = formatId;
    std::memcpy(info->detailText, codec.detailText, sizeof info->detailText);
    info->detailText[sizeof info->detailText - 1] = '\0';
    info->width = codec.width;
    info->height = codec.height;
    const int depth = normalizeBitsPerPixel(codec.bitsPerPixel);
    info->bitsPerPixel = fourChannels && codec.flags == kFlagCmykTiff ? 32 : depth;
    info->fileSize = codec.fileSize;
    // A codec that left the count to the front end gets the image's rows, capped to the field.
    const uint64_t rows = imageByteCount(codec.width, codec.height, depth, ImageBytesRule::AlignedRows);
    info->imageBytes =
        codec.imageBytes ? codec.imageBytes : static_cast<int32_t>(std::min<uint64_t>(rows, INT32_MAX));
    info->frameCount = codec.frameCount;
    info->rotationAngle = codec.rotationAngle;
}

// Describes the picture at the offset; the record stays untouched on failure.
int16_t readImageFileInfo(const char* path, int64_t offset, PxlFileInfo* info, bool fourChannels) {
    if (!info) return 0;
    const int16_t formatId = detectImageFormat(path, offset);
    if (formatId == 0) return 0;
    PxlCodecInfo codec = freshInfo();
    if (formatId == PXL_FORMAT_PCD) codec.controlWord = -1;
    ByteStream file;
    if (!file.openFile(path, "rb") || !file.seek(offset, SEEK_SET)) return 0;
    CodecCall call{codec, file};
    call.offset = offset;
    if (runInfo(formatId, call) != kCodecOk) return 0;
    fillFileInfo(formatId, codec, fourChannels, info);
    return 1;
}

}  // namespace

int16_t PXLCountImportFormats(void) { return static_cast<int16_t>(kImportRows.size()); }

int16_t PXLEnumerateImportFormats(int16_t index, PxlFormatRow* row) { return enumerate(kImportRows, index, row); }

int16_t PXLCountExportFormats(void) { return static_cast<int16_t>(kExportRows.size()); }

int16_t PXLEnumerateExportFormats(int16_t index, PxlFormatRow* row) { return enumerate(kExportRows, index, row); }

int16_t PXLGetFormatName(int16_t formatId, PxlFormatRow* row) {
    if (formatId < 10 || formatId >= 1000 || !row) return 0;
    for (const PxlFormatRow& candidate : formatRows()) {
        if (candidate.formatId == formatId) {
            *row = candidate;
            return 1;
        }
    }
    return 0;
}

int16_t PXLGetFormatFileExt(const char* path) { return formatFromExtension(path); }

int16_t PXLGetFormatFile(const char* path) { return detectImageFormat(path, 0); }

int16_t PXLGetFormatFileOffset(const char* path, int32_t offset) { return detectImageFormat(path, offset); }

int16_t PXLGetInfoFile(const char* path, PxlFileInfo* info) { return readImageFileInfo(path, 0, info, false); }

int16_t PXLGetInfoFileEx(const char* path, PxlFileInfo* info) { return readImageFileInfo(path, 0, info, true); }

int16_t PXLGetInfoFileOffset(const char* path, int32_t offset, PxlFileInfo* info) {
    return readImageFileInfo(path, offset, info, false);
}

int16_t PXLGetInfoFileStreamCB(PxlStreamCallbacks* callbacks, PxlFileInfo* info) {
    if (!callbacks || !info) return 0;
    ByteStream stream(callbacks);
    const int16_t formatId = detectStreamFormat(stream);
    if (formatId == 0) return 0;
    PxlCodecInfo codec = freshInfo();
    CodecCall call{codec, stream};
    call.offset = stream.tell();
    if (runInfo(formatId, call) != kCodecOk) return 0;
    fillFileInfo(formatId, codec, false, info);
    return 1;
}

int16_t PXLSupportGifLicenseText(char* out, int16_t length) {
    if (!out || length <= 0) return 1;  // nothing to copy into
    char notice[kLicenseMax] = {};
    LoadStringA(libraryInstance(), res::kGifLicenseNotice, notice, sizeof notice);
    const size_t room = length < kLicenseMax ? static_cast<size_t>(length) - 1 : sizeof notice - 1;
    const size_t count = std::min(std::strlen(notice), room);
    std::memcpy(out, notice, count);
    out[count] = '\0';
    return 1;
}
