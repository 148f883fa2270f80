// Logical palettes.
#include <algorithm>

#include "gdi/objects.h"
#include "winplat/base.h"

namespace winplat::gdi {
namespace {

constexpr WORD kPaletteVersion = 0x300;
constexpr WORD kMaxPaletteEntries = 1024;

std::shared_ptr<PaletteObject> paletteOf(HPALETTE palette) {
    return findPalette(handleValue(palette));
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palVersion != kPaletteVersion || palette->palNumEntries == 0 ||
        palette->palNumEntries > kMaxPaletteEntries) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_shared<PaletteObject>();
    object->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    const uint32_t handle = handleTable().add(HandleType::Palette, std::move(object));
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return makeHandle<HPALETTE>(handle);
}

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, PALETTEENTRY* entries) {
    std::lock_guard lock(gdiMutex());
    auto palette = paletteOf(handle);
    if (!palette) return 0;
    const size_t total = palette->entries.size();
    if (!entries) return static_cast<UINT>(total);
    if (start >= total) return 0;
    const auto copied = static_cast<UINT>(std::min<size_t>(count, total - start));
    std::copy_n(palette->entries.begin() + start, copied, entries);
    return copied;
}

UINT GetNearestPaletteIndex(HPALETTE handle, COLORREF color) {
    std::lock_guard lock(gdiMutex());
    auto palette = paletteOf(handle);
    if (!palette) return CLR_INVALID;
    if (!palette->matcher) {
        std::vector<RGBQUAD> table;
        table.reserve(palette->entries.size());
        for (const PALETTEENTRY& entry : palette->entries)
            table.push_back(RGBQUAD{entry.peBlue, entry.peGreen, entry.peRed, 0});
        palette->matcher.emplace(table);
    }
    return palette->matcher->nearest(GetRValue(color), GetGValue(color), GetBValue(color));
}
