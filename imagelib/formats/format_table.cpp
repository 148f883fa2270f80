#include "formats/format_table.h"

#include <algorithm>
#include <cstring>

#include "core/library_state.h"
#include "resources/pixmill_ids.h"
#include "winplat/module.h"

namespace pixmill {
namespace {

constexpr std::array<FormatTableRow, kFormatCount> kFormats = {{
    {".pcx", 10, res::kFormatNamePcx},
    {".gif", 20, res::kFormatNameGif},
    {".tif", 30, res::kFormatNameTif},
    {".bmp", 40, res::kFormatNameBmp},
    {".dib", 41, res::kFormatNameDib},
    {".rle", 42, res::kFormatNameRle},
    {".wpg", 50, res::kFormatNameWpg},
    {".ico", 60, res::kFormatNameIco},
    {".mac", 70, res::kFormatNameMac},
    {".tga", 80, res::kFormatNameTga},
    {".jpg", 90, res::kFormatNameJpg},
    {".jpeg", 91, res::kFormatNameJpeg},
    {".png", 100, res::kFormatNamePng},
    {".bmi", 110, res::kFormatNameBmi},
    {".pcd", 120, res::kFormatNamePcd},
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
