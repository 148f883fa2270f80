#include "formats/format_table.h"

#include <algorithm>
#include <cstring>

#include "core/registry/library_state.h"
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
#include "resources/pixmill_ids.h"
#include "winplat/module.h"

namespace pixmill {
namespace {

// Photo CD pictures are recognised by their extension alone and not read.
bool namedPhotoCd(const ContentProbe& probe) { return probe.byExtension == PXL_FORMAT_PCD; }

constexpr FormatCodec photoCd{winplat::Refuser("PXL32: Photo CD"), namedPhotoCd, Recognition::WithExtension};

constexpr std::array<FormatTableRow, kFormatCount> kFormats = {{
    {".pcx", PXL_FORMAT_PCX, res::kFormatNamePcx, &pcxCodec},
    {".gif", PXL_FORMAT_GIF, res::kFormatNameGif, &gifCodec},
    {".tif", PXL_FORMAT_TIFF, res::kFormatNameTif, &tiffCodec},
    {".bmp", PXL_FORMAT_BMP, res::kFormatNameBmp, &bmpCodec},
    {".dib", PXL_FORMAT_DIB, res::kFormatNameDib, nullptr},
    {".rle", PXL_FORMAT_RLE, res::kFormatNameRle, nullptr},
    {".wpg", PXL_FORMAT_WPG, res::kFormatNameWpg, &wpgCodec},
    {".ico", PXL_FORMAT_ICO, res::kFormatNameIco, &icoCodec},
    {".mac", PXL_FORMAT_MACPAINT, res::kFormatNameMac, &macPaintCodec},
    {".tga", PXL_FORMAT_TARGA, res::kFormatNameTga, &targaCodec},
    {".jpg", PXL_FORMAT_JPG, res::kFormatNameJpg, &jpegCodec},
    {".jpeg", PXL_FORMAT_JPEG, res::kFormatNameJpeg, nullptr},
    {".png", PXL_FORMAT_PNG, res::kFormatNamePng, &pngCodec},
    {".bmi", PXL_FORMAT_BMI, res::kFormatNameBmi, &bmiCodec},
    {".pcd", PXL_FORMAT_PCD, res::kFormatNamePcd, &photoCd},
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
