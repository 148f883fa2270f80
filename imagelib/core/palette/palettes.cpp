#include "core/palette/palettes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "core/registry/library_state.h"

namespace pixmill {
namespace {

using Table256 = std::array<PALETTEENTRY, 256>;

constexpr PALETTEENTRY rgb(int r, int g, int b) {
    return PALETTEENTRY{static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b), 0};
}

constexpr Table256 makeHardPalette() {
    Table256 table{};
    for (int i = 0; i < 256; ++i) table[i] = rgb((i >> 5) * 255 / 7, ((i >> 2) & 7) * 255 / 7, (i & 3) * 85);
    return table;
}

// Written as 0xRRGGBB, the way the table is designed and checked by eye.
// clang-format off
constexpr uint32_t kFineColors[256] = {
    // 0-15
    0xFFFFFF, 0xEFEFEF, 0xDFDFDF, 0xCFCFCF, 0xBFBFBF, 0xAFAFAF, 0x9F9F9F, 0x8F8F8F,
    0x7F7F7F, 0x6F6F6F, 0x5F5F5F, 0x4F4F4F, 0x3F3F3F, 0x2F2F2F, 0x1F1F1F, 0x000000,
    // 16-31
    0xDDDDFD, 0xC4C4FB, 0xACACFA, 0x9494F9, 0x8181F8, 0x6D6DF7, 0x5A5AF6, 0x4646F5,
    0x3333F4, 0x2020F3, 0x0C0CF2, 0x0B0BDA, 0x0909BC, 0x08089B, 0x060679, 0x050560,
    // 32-47
    0xDDE9FD, 0xC4DAFB, 0xACCBFA, 0x94BCF9, 0x81B0F8, 0x6DA4F7, 0x5A98F6, 0x468CF5,
    0x3380F4, 0x2074F3, 0x0C68F2, 0x0B5DDA, 0x0951BC, 0x08429B, 0x063479, 0x052960,
    // 48-63
    0xDDF6FD, 0xC4F0FB, 0xACEAFA, 0x94E4F9, 0x81E0F8, 0x6DDBF7, 0x5AD6F6, 0x46D1F5,
    0x33CDF4, 0x20C8F3, 0x0CC3F2, 0x0BB0DA, 0x0998BC, 0x087D9B, 0x066179, 0x054E60,
    // 64-79
    0xDDFDFA, 0xC4FBF6, 0xACFAF3, 0x94F9EF, 0x81F8EC, 0x6DF7EA, 0x5AF6E7, 0x46F5E4,
    0x33F4E1, 0x20F3DF, 0x0CF2DC, 0x0BDAC6, 0x09BCAB, 0x089B8D, 0x06796E, 0x056058,
    // 80-95
    0xDDFDEB, 0xC4FBDE, 0xACFAD0, 0x94F9C2, 0x81F8B7, 0x6DF7AC, 0x5AF6A1, 0x46F596,
    0x33F48B, 0x20F380, 0x0CF275, 0x0BDA69, 0x09BC5B, 0x089B4B, 0x06793A, 0x05602F,
    // 96-111
    0xECFDDD, 0xDEFBC4, 0xD0FAAC, 0xC3F994, 0xB8F881, 0xADF76D, 0xA2F65A, 0x97F546,
    0x8DF433, 0x82F320, 0x77F20C, 0x6BDA0B, 0x5DBC09, 0x4C9B08, 0x3B7906, 0x2F6005,
    // 112-127
    0xFBFDDD, 0xF8FBC4, 0xF5FAAC, 0xF3F994, 0xF0F881, 0xEEF76D, 0xECF65A, 0xEAF546,
    0xE8F433, 0xE6F320, 0xE3F20C, 0xCDDA0B, 0xB1BC09, 0x919B08, 0x717906, 0x5B6005,
    // 128-143
    0xFDF7DD, 0xFBF1C4, 0xFAECAC, 0xF9E694, 0xF8E281, 0xF7DD6D, 0xF6D95A, 0xF5D446,
    0xF4D033, 0xF3CB20, 0xF2C70C, 0xDAB30B, 0xBC9B09, 0x9B7F08, 0x796306, 0x604F05,
    // 144-159
    0xFDECDD, 0xFBDFC4, 0xFAD2AC, 0xF9C594, 0xF8BB81, 0xF7B16D, 0xF6A65A, 0xF59C46,
    0xF49133, 0xF38720, 0xF27D0C, 0xDA700B, 0xBC6109, 0x9B5008, 0x793E06, 0x603205,
    // 160-175
    0xFDDDDD, 0xFBC5C4, 0xFAADAC, 0xF99694, 0xF88381, 0xF76F6D, 0xF65C5A, 0xF54946,
    0xF43633, 0xF32320, 0xF2100C, 0xDA0E0B, 0xBC0C09, 0x9B0A08, 0x790806, 0x600605,
    // 176-191
    0xFDDDE9, 0xFBC4D9, 0xFAACCA, 0xF994BA, 0xF881AE, 0xF76DA2, 0xF65A95, 0xF54689,
    0xF4337D, 0xF32070, 0xF20C64, 0xDA0B5A, 0xBC094E, 0x9B0840, 0x790632, 0x600528,
    // 192-207
    0xFDDDEF, 0xFBC4E4, 0xFAACD9, 0xF994CF, 0xF881C6, 0xF76DBD, 0xF65AB4, 0xF546AC,
    0xF433A3, 0xF3209A, 0xF20C92, 0xDA0B83, 0xBC0971, 0x9B085D, 0x790649, 0x60053A,
    // 208-223
    0xFDDDF6, 0xFBC4EF, 0xFAACE9, 0xF994E3, 0xF881DE, 0xF76DD9, 0xF65AD4, 0xF546CE,
    0xF433C9, 0xF320C4, 0xF20CBF, 0xDA0BAC, 0xBC0995, 0x9B087A, 0x79065F, 0x60054C,
    // 224-239
    0xF7DDFD, 0xF2C4FB, 0xECACFA, 0xE794F9, 0xE381F8, 0xDE6DF7, 0xDA5AF6, 0xD646F5,
    0xD133F4, 0xCD20F3, 0xC90CF2, 0xB50BDA, 0x9D09BC, 0x80089B, 0x640679, 0x500560,
    // 240-255
    0xEADDFD, 0xDCC4FB, 0xCDACFA, 0xBF94F9, 0xB381F8, 0xA76DF7, 0x9C5AF6, 0x9046F5,
    0x8533F4, 0x7920F3, 0x6D0CF2, 0x620BDA, 0x5509BC, 0x46089B, 0x360679, 0x2B0560,
};
// clang-format on

constexpr Table256 makeFinePalette() {
    Table256 table{};
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = kFineColors[i];
        table[i] = rgb(static_cast<int>(c >> 16) & 0xFF, static_cast<int>(c >> 8) & 0xFF,
                       static_cast<int>(c) & 0xFF);
    }
    return table;
}

// Entries 0-191 black, then 192 + 16i + 4j + k = (85i, 85j, 85k): the colours every dithered
// 8-bit conversion can fall back on.
constexpr Table256 makeCubePalette() {
    Table256 table{};
    for (int i = 0; i < 64; ++i) table[192 + i] = rgb(85 * (i >> 4), 85 * ((i >> 2) & 3), 85 * (i & 3));
    return table;
}

constexpr Table256 kHardPalette = makeHardPalette();
constexpr Table256 kCubePalette = makeCubePalette();
constexpr Table256 kFinePalette = makeFinePalette();

constexpr std::array<PALETTEENTRY, 16> kWindows16Palette = {
    rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
    rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
    rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
    rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255),
};

constexpr std::array<PALETTEENTRY, 2> kBlackWhitePalette = {rgb(0, 0, 0), rgb(255, 255, 255)};

// The colour table of a palette image and its size; size 0 when the image has none.
struct ColourTable {
    RGBQUAD* colors = nullptr;
    int size = 0;
};

ColourTable colorTableOf(const ImageRecord& record) {
    if (!record.header) return {};
    const int size = paletteSizeForBits(record.bitCount());
    if (size == 0) return {};
    return {record.colors(), size};
}

RGBQUAD toQuad(BYTE red, BYTE green, BYTE blue) {
    return RGBQUAD{blue, green, red, 0};
}

}  // namespace

const PALETTEENTRY* hardPalette() {
    return kHardPalette.data();
}
const PALETTEENTRY* windows16Palette() {
    return kWindows16Palette.data();
}
const PALETTEENTRY* finePalette() {
    return kFinePalette.data();
}
const PALETTEENTRY* cubePalette() {
    return kCubePalette.data();
}
const PALETTEENTRY* blackWhitePalette() {
    return kBlackWhitePalette.data();
}

void writeDefaultPalette(RGBQUAD* colors, int bits) {
    const int size = paletteSizeForBits(bits);
    const PALETTEENTRY* source = size == 2    ? blackWhitePalette()
                                 : size == 16 ? windows16Palette()
                                              : hardPalette();
    for (int i = 0; i < size; ++i) colors[i] = toQuad(source[i].peRed, source[i].peGreen, source[i].peBlue);
}

}  // namespace pixmill

using namespace pixmill;

extern "C" {

PXL_API const PALETTEENTRY* PXLGetHardPalette(void) {
    return hardPalette();
}

PXL_API const PALETTEENTRY* PXLGetWindows16Palette(void) {
    return windows16Palette();
}

PXL_API const PALETTEENTRY* PXLGetFinePalette(void) {
    return finePalette();
}

PXL_API HPALETTE PXLGetHPalette(void) {
    return libraryState().palette.get();
}

PXL_API int16_t PXLSetNewPalette(PxlImageId id, const PALETTEENTRY* entries, int count) {
    {
        ImageLock record = lockImage(id, Access::Write);
        if (!record) return 0;
        const ColourTable table = colorTableOf(*record);
        if (table.size == 0) return 0;
        const int written = std::min(table.size, count);
        if (written > 0 && !entries) return 0;
        for (int i = 0; i < written; ++i)
            table.colors[i] = toQuad(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
    }
    PXLFillDIBColorTable(id);
    return 1;
}

PXL_API int16_t PXLSetColorToPalette(PxlImageId id, int index, COLORREF color) {
    ImageLock record = lockImage(id, Access::Write);
    if (!record) return 0;
    const ColourTable table = colorTableOf(*record);
    if (index < 0 || index >= table.size) return 0;
    table.colors[index] = toQuad(GetRValue(color), GetGValue(color), GetBValue(color));
    return 1;
}

PXL_API int32_t PXLGetColorFromPalette(PxlImageId id, int index) {
    ImageLock record = lockImage(id, Access::Read);
    if (!record) return -1;
    const ColourTable table = colorTableOf(*record);
    if (index < 0 || index >= table.size) return -1;
    const RGBQUAD& c = table.colors[index];
    return static_cast<int32_t>(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
}

PXL_API int16_t PXLGetColorIndexFromPalette(PxlImageId id, COLORREF color) {
    ImageLock record = lockImage(id, Access::Read);
    if (!record) return -1;
    const ColourTable table = colorTableOf(*record);
    for (int i = 0; i < table.size; ++i) {
        const RGBQUAD& c = table.colors[i];
        if (c.rgbRed == GetRValue(color) && c.rgbGreen == GetGValue(color) && c.rgbBlue == GetBValue(color))
            return static_cast<int16_t>(i);
    }
    return -1;
}

PXL_API int16_t PXLNumColorUsed(PxlImageId id, int32_t counts[256]) {
    // Callers read the table whatever the result, so it is cleared before anything can fail.
    std::array<int32_t, 256> tally{};
    const auto publish = [&](int16_t result) {
        if (counts) std::copy(tally.begin(), tally.end(), counts);
        return result;
    };
    ImageLock record = lockImage(id, Access::Read);
    if (!record) return publish(0);
    const ColourTable table = colorTableOf(*record);
    if (table.size == 0 || !record->bits) return publish(0);

    const int bits = record->bitCount();
    const int width = std::abs(record->width());
    const int height = std::abs(record->height());
    const int32_t stride = scanBytesForWidth(width, bits);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = record->bits + static_cast<ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            int index;
            if (bits == 8)
                index = row[x];
            else if (bits == 4)
                index = (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
            else
                index = (row[x >> 3] >> (7 - (x & 7))) & 1;
            ++tally[index];
        }
    }
    const auto used = std::count_if(tally.begin(), tally.end(), [](int32_t n) { return n > 0; });
    return publish(static_cast<int16_t>(used));
}

}  // extern "C"
