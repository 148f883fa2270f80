// Pens, brushes and the stock objects.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "base/call_refusal.h"
#include "gdi/objects.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/text.h"

namespace winplat::gdi {
namespace {

// The twenty colours a palette device keeps for the system, in their usual order: the first ten
// and the last ten entries of an 8-bit screen's palette.
constexpr PALETTEENTRY kDefaultPalette[20] = {
    {0x00, 0x00, 0x00, 0}, {0x80, 0x00, 0x00, 0}, {0x00, 0x80, 0x00, 0}, {0x80, 0x80, 0x00, 0},
    {0x00, 0x00, 0x80, 0}, {0x80, 0x00, 0x80, 0}, {0x00, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0xC0, 0xDC, 0xC0, 0}, {0xA6, 0xCA, 0xF0, 0}, {0xFF, 0xFB, 0xF0, 0}, {0xA0, 0xA0, 0xA4, 0},
    {0x80, 0x80, 0x80, 0}, {0xFF, 0x00, 0x00, 0}, {0x00, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0x00, 0},
    {0x00, 0x00, 0xFF, 0}, {0xFF, 0x00, 0xFF, 0}, {0x00, 0xFF, 0xFF, 0}, {0xFF, 0xFF, 0xFF, 0},
};

uint32_t addStockBrush(BrushObject::Kind kind, COLORREF color) {
    auto brush = std::make_shared<BrushObject>();
    brush->kind = kind;
    brush->color = color;
    brush->stock = true;
    return handleTable().add(HandleType::Brush, std::move(brush));
}

uint32_t addStockPen(int style, COLORREF color) {
    auto pen = std::make_shared<PenObject>();
    pen->style = style;
    pen->color = color;
    pen->stock = true;
    return handleTable().add(HandleType::Pen, std::move(pen));
}

uint32_t addDefaultPalette() {
    auto palette = std::make_shared<PaletteObject>();
    palette->entries.assign(std::begin(kDefaultPalette), std::end(kDefaultPalette));
    palette->stock = true;
    return handleTable().add(HandleType::Palette, std::move(palette));
}

// The font every DC starts with: a bold 16-pixel cell, as the classic system font.
uint32_t addSystemFont() {
    auto font = std::make_shared<FontObject>();
    LOGFONTA& lf = font->logFont;
    lf.lfHeight = 16;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::memcpy(lf.lfFaceName, "System", sizeof "System");
    font->stock = true;
    return handleTable().add(HandleType::Font, std::move(font));
}

constexpr int kStockCount = DEFAULT_PALETTE + 1;

std::array<uint32_t, kStockCount> makeStockObjects() {
    std::array<uint32_t, kStockCount> table{};
    table[WHITE_BRUSH] = addStockBrush(BrushObject::Kind::Solid, RGB(255, 255, 255));
    table[LTGRAY_BRUSH] = addStockBrush(BrushObject::Kind::Solid, RGB(0xC0, 0xC0, 0xC0));
    table[GRAY_BRUSH] = addStockBrush(BrushObject::Kind::Solid, RGB(0x80, 0x80, 0x80));
    table[DKGRAY_BRUSH] = addStockBrush(BrushObject::Kind::Solid, RGB(0x40, 0x40, 0x40));
    table[BLACK_BRUSH] = addStockBrush(BrushObject::Kind::Solid, RGB(0, 0, 0));
    table[NULL_BRUSH] = addStockBrush(BrushObject::Kind::Null, 0);
    table[WHITE_PEN] = addStockPen(PS_SOLID, RGB(255, 255, 255));
    table[BLACK_PEN] = addStockPen(PS_SOLID, RGB(0, 0, 0));
    table[NULL_PEN] = addStockPen(PS_NULL, 0);
    table[SYSTEM_FONT] = addSystemFont();
    table[DEFAULT_PALETTE] = addDefaultPalette();
    return table;
}

template <class Handle>
Handle publish(HandleType type, std::shared_ptr<HandleObject> object) {
    const uint32_t handle = handleTable().add(type, std::move(object));
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return makeHandle<Handle>(handle);
}

}  // namespace

const std::vector<RGBQUAD>& defaultPaletteColors() {
    static const std::vector<RGBQUAD> colors = [] {
        std::vector<RGBQUAD> table;
        for (const PALETTEENTRY& e : kDefaultPalette)
            table.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
        return table;
    }();
    return colors;
}

uint32_t stockObject(int index) {
    static const std::array<uint32_t, kStockCount> table = makeStockObjects();
    if (index < 0 || index >= kStockCount) return 0;
    return table[static_cast<size_t>(index)];
}

}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) {
        constexpr CallRefuser refuse("winplat: CreatePen");
        return refuse.unsupported(nullptr, "style " + std::to_string(style));
    }
    auto pen = std::make_shared<PenObject>();
    pen->style = style;
    pen->width = width < 0 ? 0 : width;
    pen->color = color;
    return publish<HPEN>(HandleType::Pen, std::move(pen));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto brush = std::make_shared<BrushObject>();
    brush->color = color;
    return publish<HBRUSH>(HandleType::Brush, std::move(brush));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
        constexpr CallRefuser refuse("winplat: CreateHatchBrush");
        return refuse.unsupported(nullptr, "hatch style " + std::to_string(hatch));
    }
    auto brush = std::make_shared<BrushObject>();
    brush->kind = BrushObject::Kind::Hatch;
    brush->hatch = hatch;
    brush->color = color;
    return publish<HBRUSH>(HandleType::Brush, std::move(brush));
}

HBRUSH CreatePatternBrush(HBITMAP pattern) {
    auto brush = std::make_shared<BrushObject>();
    brush->kind = BrushObject::Kind::Pattern;
    {
        // The brush keeps a copy: the bitmap may be changed or deleted afterwards.
        std::lock_guard lock(gdiMutex());
        auto bitmap = findBitmap(handleValue(pattern));
        if (!bitmap) return nullptr;
        const Surface& source = *bitmap->surface;
        brush->pattern = Surface::create(source.width(), source.height(), source.bitsPerPixel(),
                                         source.topDown(), source.masks(), source.colors());
        if (!brush->pattern) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        std::copy_n(source.bits(), source.sizeBytes(), brush->pattern->bits());
    }
    return publish<HBRUSH>(HandleType::Brush, std::move(brush));
}

HGDIOBJ GetStockObject(int object) {
    const uint32_t handle = stockObject(object);
    if (!handle) {
        constexpr CallRefuser refuse("winplat: GetStockObject");
        return refuse.unsupported(nullptr, "no stock object " + std::to_string(object));
    }
    return makeHandle<HGDIOBJ>(handle);
}

BOOL UnrealizeObject(HGDIOBJ object) {
    // Brushes are aligned to the device origin and palettes are realised afresh each time, so
    // there is nothing to undo; the call only checks its object.
    const uint32_t handle = handleValue(object);
    std::lock_guard lock(gdiMutex());
    switch (handleTypeOf(handle)) {
        case HandleType::Brush:
            return findBrush(handle) ? TRUE : FALSE;
        case HandleType::Palette:
            return findPalette(handle) ? TRUE : FALSE;
        default:
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
    }
}
