#include "formats/format_table.h"

#include <algorithm>
#include <cstring>

#include "core/library_state.h"
#include "winplat/module.h"

namespace pixmill {
namespace {

constexpr std::array<FormatTableRow, kFormatCount> kFormats = {{
    {".pcx", 10, 8107},
    {".gif", 20, 8108},
    {".tif", 30, 8109},
    {".bmp", 40, 8110},
    {".dib", 41, 8111},
    {".rle", 42, 8112},
    {".wpg", 50, 8113},
    {".ico", 60, 8114},
    {".mac", 70, 8115},
    {".tga", 80, 8116},
    {".jpg", 90, 8117},
    {".jpeg", 91, 8118},
    {".png", 100, 8119},
    {".bmi", 110, 8120},
    {".pcd", 120, 8121},
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
