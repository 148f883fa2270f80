#include "formats/format_registry.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "formats/bmi_codec.h"
#include "formats/bmp_codec.h"
#include "formats/format_table.h"
#include "formats/gif_codec.h"
#include "formats/ico_codec.h"
#include "formats/jpeg_codec.h"
#include "formats/macpaint_codec.h"
#include "formats/pcx_codec.h"
#include "formats/png_codec.h"
#include "formats/targa_codec.h"
#include "formats/tiff_codec.h"
#include "formats/wpg_codec.h"
#include "winplat/cp1250.h"

namespace pixmill {
namespace {

// The codecs of this library. Formats without an entry are recognised but cannot be read.
constexpr CodecEntry kCodecs[] = {
    {PXL_FORMAT_PCX, pcxInfo, pcxLoad, pcxSave, false},
    {PXL_FORMAT_GIF, gifInfo, gifLoad, nullptr, false},
    {PXL_FORMAT_TIFF, tiffInfo, tiffLoad, tiffSave, false},
    {PXL_FORMAT_BMP, bmpInfo, bmpLoad, bmpSave, true},
    {PXL_FORMAT_WPG, wpgInfo, wpgLoad, wpgSave, false},
    {PXL_FORMAT_ICO, icoInfo, icoLoad, icoSave, false},
    {PXL_FORMAT_MACPAINT, macPaintInfo, macPaintLoad, macPaintSave, false},
    {PXL_FORMAT_TARGA, targaInfo, targaLoad, targaSave, false},
    {PXL_FORMAT_JPG, jpegInfo, jpegLoad, jpegSave, false},
    {PXL_FORMAT_PNG, pngInfo, pngLoad, pngSave, false},
    {PXL_FORMAT_BMI, bmiInfo, bmiLoad, bmiSave, true},
};

constexpr size_t kMagicBytes = 10;

// The file-name part of a Windows path.
std::string_view fileName(std::string_view path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool starts(const uint8_t* bytes, const char* magic, size_t length) {
    return std::memcmp(bytes, magic, length) == 0;
}

// The content tests in their order; the first that holds decides. PCX, WPG, MacPaint, Photo CD
// and Targa have no strong signature, so their extension (or, for Targa, a picture stored at an
// offset inside another file) is needed too.
int16_t detectByContent(const uint8_t* b, int16_t byExtension, int64_t offset) {
    if (starts(b, "TarvoBMIa", 9)) return PXL_FORMAT_BMI;
    if (starts(b, "\x89PNG\r\n\x1A\n", 8)) return PXL_FORMAT_PNG;
    if (starts(b, "\xFF\xD8\xFF", 3)) return PXL_FORMAT_JPG;
    if (b[0] == 0x0A && static_cast<int8_t>(b[1]) < 6 && byExtension == PXL_FORMAT_PCX) return PXL_FORMAT_PCX;
    if (starts(b, "GIF", 3)) return PXL_FORMAT_GIF;
    if (starts(b, "II\x2A", 3) || starts(b, "MM\0", 3)) return PXL_FORMAT_TIFF;
    if (starts(b, "BM", 2)) return PXL_FORMAT_BMP;
    if (starts(b, "\xFFWPC", 4) && byExtension == PXL_FORMAT_WPG) return PXL_FORMAT_WPG;
    if (starts(b, "\0\0\1\0", 4)) return PXL_FORMAT_ICO;
    if (byExtension == PXL_FORMAT_MACPAINT && b[0] == 0) return PXL_FORMAT_MACPAINT;
    if (byExtension == PXL_FORMAT_PCD) return PXL_FORMAT_PCD;
    if (byExtension == PXL_FORMAT_TARGA || offset > 0) return PXL_FORMAT_TARGA;
    return 0;
}

int16_t run(int formatId, CodecCall& call, CodecFn CodecEntry::*which, int16_t missing) {
    const CodecEntry* codec = findCodec(formatId);
    if (!codec || !(codec->*which)) return missing;
    if (!call.stream.isFile() && !codec->streams) return missing;
    return (codec->*which)(call);
}

}  // namespace

const CodecEntry* findCodec(int formatId) {
    auto found = std::find_if(std::begin(kCodecs), std::end(kCodecs),
                              [&](const CodecEntry& c) { return c.formatId == formatId; });
    return found == std::end(kCodecs) ? nullptr : &*found;
}

int16_t formatFromExtension(const char* path) {
    if (!path) return 0;
    const std::string_view name = fileName(path);
    if (name == "*") return 0;
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return 0;
    const std::string extension = winplat::cp1250::lower(name.substr(dot));
    int16_t id = 0;
    for (const FormatTableRow& row : formatTable()) {
        if (extension == row.extension) id = static_cast<int16_t>(row.formatId);
    }
    return id;
}

int16_t detectImageFormat(const char* path, int64_t offset) {
    if (!path || fileName(path) == "*" || offset < 0) return 0;
    const int16_t byExtension = formatFromExtension(path);
    ByteStream file;
    uint8_t bytes[kMagicBytes];
    if (!file.openFile(path, "rb") || !file.seek(offset, SEEK_SET) || !file.read(bytes, sizeof bytes)) return 0;
    return detectByContent(bytes, byExtension, offset);
}

int16_t detectStreamFormat(ByteStream& stream) {
    const int64_t start = stream.tell();
    uint8_t bytes[kMagicBytes];
    const bool read = stream.read(bytes, sizeof bytes);
    stream.seek(start, SEEK_SET);
    if (!read) return 0;
    if (starts(bytes, "TarvoBMI", 8)) return PXL_FORMAT_BMI;
    if (starts(bytes, "BM", 2)) return PXL_FORMAT_BMP;
    return 0;
}

int16_t runInfo(int formatId, CodecCall& call) { return run(formatId, call, &CodecEntry::info, kCodecBadFormat); }

int16_t runLoad(int formatId, CodecCall& call) { return run(formatId, call, &CodecEntry::load, kCodecBadFormat); }

int16_t runSave(int formatId, CodecCall& call) { return run(formatId, call, &CodecEntry::save, kCodecCannotCreate); }

}  // namespace pixmill
