#include "formats/format_table.h"

#include <algorithm>
#include <cstring>

#include "core/library_state.h"
#include "formats/bmi_codec.h"
#include "formats/bmp_codec.h"
#include "formats/gif_codec.h"
#include "formats/ico_codec.h"
#include "formats/jpeg_codec.h"
#include "formats/macpaint_codec.h"
#include "formats/pcx_codec.h"
#include "formats/png_codec.h"
#include "formats/targa_codec.h"
#include "formats/tiff_codec.h"
#include "formats/wpg_codec.h"
#include "winplat/module.h"

namespace pixmill {
namespace {

// Photo CD pictures are recognised by their extension alone and not read.
bool namedPhotoCd(const ContentProbe& probe) { return probe.byExtension == PXL_FORMAT_PCD; }

constexpr FormatCodec photoCd{winplat::Refuser("PXL32: Photo CD"), namedPhotoCd, Recognition::WithExtension};

constexpr std::array<FormatTableRow, kFormatCount> kFormats = {{
    {".pcx", PXL_FORMAT_PCX, 8107, &pcxCodec},
    {".gif", PXL_FORMAT_GIF, 8108, &gifCodec},
    {".tif", PXL_FORMAT_TIFF, 8109, &tiffCodec},
    {".bmp", PXL_FORMAT_BMP, 8110, &bmpCodec},
    {".dib", PXL_FORMAT_DIB, 8111, nullptr},
    {".rle", PXL_FORMAT_RLE, 8112, nullptr},
    {".wpg", PXL_FORMAT_WPG, 8113, &wpgCodec},
    {".ico", PXL_FORMAT_ICO, 8114, &icoCodec},
    {".mac", PXL_FORMAT_MACPAINT, 8115, &macPaintCodec},
    {".tga", PXL_FORMAT_TARGA, 8116, &targaCodec},
    {".jpg", PXL_FORMAT_JPG, 8117, &jpegCodec},
    {".jpeg", PXL_FORMAT_JPEG, 8118, nullptr},
    {".png", PXL_FORMAT_PNG, 8119, &pngCodec},
    {".bmi", PXL_FORMAT_BMI, 8120, &bmiCodec},
    {".pcd", PXL_FORMAT_PCD, 8121, &photoCd},
}};

constinit std::array<PxlFormatRow, kFormatCount> rows{};

void fillRows(HINSTANCE module) {
    for (size_t i = 0; i < kFormats.size(); ++i) {
        PxlFormatRow& row = rows[i];
        row = PxlFormatRow{};
        std::memcpy(row.extension, kFormats[i].extension, sizeof row.extension);
        row.formatId = kFormats[i].formatId;
        // Loaded at full length first: a longer name is cut to the field, not refused.
        char name[260] = {};
        LoadStringA(module, static_cast<UINT>(kFormats[i].nameStringId), name, sizeof name);
        std::memcpy(row.name, name, std::min(std::strlen(name), sizeof row.name - 1));
    }
}

}  // namespace

const std::array<FormatTableRow, kFormatCount>& formatTable() {
    return kFormats;
}

void buildFormatRows(HINSTANCE module) { fillRows(module); }

const std::array<PxlFormatRow, kFormatCount>& formatRows() { return rows; }

}  // namespace pixmill
