// Memory device contexts and the calls that take any GDI object: selection, deletion, GetObjectA,
// GetObjectType.
#include "gdi/objects.h"

#include <atomic>
#include <cstring>
#include <string>

#include "base/call_refusal.h"
#include "winplat/base.h"
#include "winplat/region.h"

namespace winplat::gdi {

std::mutex& gdiMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<BitmapObject> findBitmap(uint32_t handle) {
    return handleTable().getAs<BitmapObject>(handle, HandleType::Bitmap);
}

namespace {
std::atomic<WindowDcRefresher> windowDcRefresher{nullptr};
}  // namespace

void setWindowDcRefresher(WindowDcRefresher refresher) { windowDcRefresher = refresher; }

std::shared_ptr<DeviceContextObject> findDc(uint32_t handle) {
    auto dc = handleTable().getAs<DeviceContextObject>(handle, HandleType::DeviceContext);
    if (dc && dc->window) {
        if (const WindowDcRefresher refresh = windowDcRefresher.load()) refresh(*dc);
    }
    return dc;
}

std::shared_ptr<PaletteObject> findPalette(uint32_t handle) {
    return handleTable().getAs<PaletteObject>(handle, HandleType::Palette);
}

std::shared_ptr<PenObject> findPen(uint32_t handle) {
    return handleTable().getAs<PenObject>(handle, HandleType::Pen);
}

std::shared_ptr<BrushObject> findBrush(uint32_t handle) {
    return handleTable().getAs<BrushObject>(handle, HandleType::Brush);
}

std::shared_ptr<FontObject> findFont(uint32_t handle) {
    return handleTable().getAs<FontObject>(handle, HandleType::Font);
}

int Justification::extraOf(int index) const {
    if (count <= 0) return 0;
    const int position = used + index;
    const int share = extra / count;
    const int remainder = extra % count;  // as 'extra', negative when the line is squeezed
    if (position < (remainder < 0 ? -remainder : remainder)) return share + (remainder < 0 ? -1 : 1);
    return share;
}

uint32_t addDc(std::shared_ptr<DeviceContextObject> dc) {
    dc->state.pen = stockObject(BLACK_PEN);
    dc->state.brush = stockObject(WHITE_BRUSH);
    dc->state.palette = stockObject(DEFAULT_PALETTE);
    dc->state.font = stockObject(SYSTEM_FONT);
    if (!dc->state.pen || !dc->state.brush || !dc->state.palette || !dc->state.font) return 0;
    return handleTable().add(HandleType::DeviceContext, std::move(dc));
}

std::vector<RGBQUAD> monochromeColors() {
    return {RGBQUAD{0, 0, 0, 0}, RGBQUAD{0xFF, 0xFF, 0xFF, 0}};
}

uint32_t stockBitmap() {
    static const uint32_t handle = [] {
        auto bitmap = std::make_shared<BitmapObject>();
        bitmap->surface = Surface::create(1, 1, 1, true, {}, monochromeColors());
        bitmap->stock = true;
        return handleTable().add(HandleType::Bitmap, std::move(bitmap));
    }();
    return handle;
}

namespace {

BITMAP describe(const BitmapObject& bitmap) {
    const Surface& surface = *bitmap.surface;
    BITMAP info{};
    info.bmType = 0;
    info.bmWidth = surface.width();
    info.bmHeight = surface.height();
    // DDB rows are WORD-aligned, as CreateBitmap takes them; DIB sections show their real stride.
    info.bmWidthBytes = static_cast<LONG>(
        bitmap.dibSection ? surface.stride() : *rowBytes(surface.width(), surface.bitsPerPixel(), 2));
    info.bmPlanes = 1;
    info.bmBitsPixel = static_cast<WORD>(surface.bitsPerPixel());
    info.bmBits = bitmap.dibSection ? const_cast<uint8_t*>(surface.bits()) : nullptr;
    return info;
}

DIBSECTION describeSection(const BitmapObject& bitmap) {
    const Surface& surface = *bitmap.surface;
    DIBSECTION section{};
    section.dsBm = describe(bitmap);
    BITMAPINFOHEADER& header = section.dsBmih;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = surface.width();
    header.biHeight = surface.topDown() ? -surface.height() : surface.height();
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(surface.bitsPerPixel());
    header.biCompression = bitmap.compression();
    header.biSizeImage = static_cast<DWORD>(surface.sizeBytes());
    header.biClrUsed = static_cast<DWORD>(surface.colors().size());
    if (bitmap.bitfields) {
        section.dsBitfields[0] = surface.masks().red;
        section.dsBitfields[1] = surface.masks().green;
        section.dsBitfields[2] = surface.masks().blue;
    }
    return section;
}

int getBitmapObject(uint32_t handle, int size, void* buffer) {
    std::lock_guard lock(gdiMutex());
    auto bitmap = findBitmap(handle);
    if (!bitmap) return 0;
    const int needed = static_cast<int>(bitmap->dibSection ? sizeof(DIBSECTION) : sizeof(BITMAP));
    if (!buffer) return needed;
    if (bitmap->dibSection && size >= static_cast<int>(sizeof(DIBSECTION))) {
        const DIBSECTION section = describeSection(*bitmap);
        std::memcpy(buffer, &section, sizeof section);
        return sizeof(DIBSECTION);
    }
    if (size >= static_cast<int>(sizeof(BITMAP))) {
        const BITMAP info = describe(*bitmap);
        std::memcpy(buffer, &info, sizeof info);
        return sizeof(BITMAP);
    }
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
}

int getPaletteObject(uint32_t handle, int size, void* buffer) {
    std::lock_guard lock(gdiMutex());
    auto palette = handleTable().getAs<PaletteObject>(handle, HandleType::Palette);
    if (!palette) return 0;
    if (!buffer) return sizeof(WORD);
    if (size < static_cast<int>(sizeof(WORD))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const auto count = static_cast<WORD>(palette->entries.size());
    std::memcpy(buffer, &count, sizeof count);
    return sizeof(WORD);
}

HGDIOBJ selectBitmap(uint32_t dcHandle, uint32_t bitmapHandle) {
    std::lock_guard lock(gdiMutex());
    auto dc = findDc(dcHandle);
    auto bitmap = findBitmap(bitmapHandle);
    if (!dc || !bitmap) return nullptr;
    const uint32_t previous = dc->bitmap;
    if (previous == bitmapHandle) return makeHandle<HGDIOBJ>(previous);
    if (dc->kind != DcKind::Memory || bitmap->deviceSurface || (!bitmap->stock && bitmap->selectedInto)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (auto old = findBitmap(previous); old && !old->stock) old->selectedInto = 0;
    if (!bitmap->stock) bitmap->selectedInto = dcHandle;
    dc->bitmap = bitmapHandle;
    return makeHandle<HGDIOBJ>(previous);
}

BOOL deleteBitmap(uint32_t handle) {
    std::shared_ptr<HandleObject> removed;  // released after the lock, with its bits
    std::lock_guard lock(gdiMutex());
    auto bitmap = findBitmap(handle);
    if (!bitmap) return FALSE;
    if (bitmap->stock) return TRUE;  // stock objects outlive every DeleteObject, as on Windows
    if (bitmap->selectedInto || bitmap->deviceSurface) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    removed = handleTable().remove(handle, HandleType::Bitmap);
    return removed ? TRUE : FALSE;
}

int getFontObject(uint32_t handle, int size, void* buffer) {
    std::lock_guard lock(gdiMutex());
    auto font = findFont(handle);
    if (!font) return 0;
    if (!buffer) return sizeof(LOGFONTA);
    if (size < static_cast<int>(sizeof(LOGFONTA))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, &font->logFont, sizeof(LOGFONTA));
    return sizeof(LOGFONTA);
}

// Whether any DC has the pen, brush, palette or font selected, now or in a level SaveDC kept (a later
// RestoreDC must find it alive). Caller holds the GDI lock.
bool selectedAnywhere(uint32_t handle) {
    bool found = false;
    auto holds = [handle](const DcState& state) {
        return state.pen == handle || state.brush == handle || state.palette == handle ||
               state.font == handle;
    };
    handleTable().forEach(HandleType::DeviceContext, [&](uint32_t, HandleObject& object) {
        const auto& dc = static_cast<const DeviceContextObject&>(object);
        if (holds(dc.state)) found = true;
        for (const DcState& level : dc.saved) {
            if (holds(level)) found = true;
        }
    });
    return found;
}

template <class Object>
BOOL deleteDrawingObject(uint32_t handle, HandleType type) {
    std::shared_ptr<HandleObject> removed;  // released after the lock
    std::lock_guard lock(gdiMutex());
    auto object = handleTable().getAs<Object>(handle, type);
    if (!object) return FALSE;
    if (object->stock) return TRUE;
    if (selectedAnywhere(handle)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    removed = handleTable().remove(handle, type);
    return removed ? TRUE : FALSE;
}

// A region is never selected anywhere (a DC keeps a copy of a clipping region), so it can always go.
BOOL deleteRegion(uint32_t handle) {
    std::shared_ptr<HandleObject> removed;  // released after the lock
    std::lock_guard lock(gdiMutex());
    removed = handleTable().remove(handle, HandleType::Region);
    if (!removed) {
        constexpr CallRefuser refuse("winplat: DeleteObject", ERROR_INVALID_HANDLE);
        return refuse(BOOL{FALSE}, "not a live region handle");
    }
    return TRUE;
}

DWORD dcObjectType(uint32_t handle) {
    auto dc = findDc(handle);
    if (!dc) return 0;
    switch (dc->kind) {
        case DcKind::Memory:
            return OBJ_MEMDC;
        case DcKind::Metafile:
            return OBJ_METADC;
        default:
            return OBJ_DC;
    }
}

// Selects a pen, brush or font (the field of the state the kind goes to); the previous one, or null.
template <class Object>
HGDIOBJ selectDrawingObject(uint32_t dcHandle, uint32_t handle, HandleType type, uint32_t DcState::*field) {
    std::lock_guard lock(gdiMutex());
    auto dc = findDc(dcHandle);
    if (!dc || !handleTable().getAs<Object>(handle, type)) return nullptr;
    const uint32_t previous = dc->state.*field;
    dc->state.*field = handle;
    return makeHandle<HGDIOBJ>(previous);
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

HDC CreateCompatibleDC(HDC dc) {
    auto object = std::make_shared<DeviceContextObject>();
    {
        std::lock_guard lock(gdiMutex());
        if (dc) {
            auto reference = findDc(handleValue(dc));
            if (!reference) return nullptr;
            // A memory DC answers GetDeviceCaps for the device it was made for (so drawing code
            // can tell a printer's memory DC from the screen's); a metafile has no device of
            // its own, and the screen stands in for it.
            if (reference->kind != DcKind::Metafile) object->device = reference->device;
        }
    }
    const uint32_t stock = stockBitmap();
    if (!stock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    object->bitmap = stock;
    const uint32_t handle = addDc(std::move(object));
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return makeHandle<HDC>(handle);
}

BOOL DeleteDC(HDC dc) {
    std::shared_ptr<HandleObject> surface;  // an owned surface goes after the lock, with its bits
    std::shared_ptr<DcAttachment> attachment;
    std::lock_guard lock(gdiMutex());
    auto removed = handleTable().remove(handleValue(dc), HandleType::DeviceContext);
    if (!removed) return FALSE;
    auto& context = static_cast<DeviceContextObject&>(*removed);
    attachment = std::move(context.attachment);
    if (context.ownsSurface) {
        surface = handleTable().remove(context.bitmap, HandleType::Bitmap);
    } else if (auto bitmap = findBitmap(context.bitmap); bitmap && bitmap->selectedInto == handleValue(dc)) {
        bitmap->selectedInto = 0;
    }
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    const uint32_t handle = handleValue(object);
    switch (handleTypeOf(handle)) {
        case HandleType::Bitmap:
            return selectBitmap(handleValue(dc), handle);
        case HandleType::Pen:
            return selectDrawingObject<PenObject>(handleValue(dc), handle, HandleType::Pen, &DcState::pen);
        case HandleType::Brush:
            return selectDrawingObject<BrushObject>(handleValue(dc), handle, HandleType::Brush,
                                                    &DcState::brush);
        case HandleType::Font:
            return selectDrawingObject<FontObject>(handleValue(dc), handle, HandleType::Font, &DcState::font);
        case HandleType::Palette: {
            constexpr CallRefuser refuse("winplat: SelectObject");
            return refuse.unsupported(nullptr, "a palette, which SelectPalette selects");
        }
        case HandleType::Region: {
            constexpr CallRefuser refuse("winplat: SelectObject");
            return refuse.unsupported(nullptr, "a region, which SelectClipRgn selects");
        }
        default:
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ object) {
    const uint32_t handle = handleValue(object);
    switch (handleTypeOf(handle)) {
        case HandleType::Bitmap:
            return deleteBitmap(handle);
        case HandleType::Palette:
            return deleteDrawingObject<PaletteObject>(handle, HandleType::Palette);
        case HandleType::Pen:
            return deleteDrawingObject<PenObject>(handle, HandleType::Pen);
        case HandleType::Brush:
            return deleteDrawingObject<BrushObject>(handle, HandleType::Brush);
        case HandleType::Font:
            return deleteDrawingObject<FontObject>(handle, HandleType::Font);
        case HandleType::Region:
            return deleteRegion(handle);
        default:
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
    }
}

int GetObjectA(HANDLE object, int size, LPVOID buffer) {
    const uint32_t handle = handleValue(object);
    switch (handleTypeOf(handle)) {
        case HandleType::Bitmap:
            return getBitmapObject(handle, size, buffer);
        case HandleType::Palette:
            return getPaletteObject(handle, size, buffer);
        case HandleType::Font:
            return getFontObject(handle, size, buffer);
        default:
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
    }
}

DWORD GetObjectType(HGDIOBJ object) {
    const uint32_t handle = handleValue(object);
    const HandleType type = handleTypeOf(handle);
    std::lock_guard lock(gdiMutex());
    if (type == HandleType::DeviceContext) return dcObjectType(handle);
    static constexpr std::pair<HandleType, DWORD> kinds[] = {
        {HandleType::Pen, OBJ_PEN},         {HandleType::Brush, OBJ_BRUSH}, {HandleType::Palette, OBJ_PAL},
        {HandleType::Font, OBJ_FONT},       {HandleType::Bitmap, OBJ_BITMAP},
        {HandleType::Region, OBJ_REGION},
    };
    for (const auto& [kind, answer] : kinds) {
        if (kind == type) return handleTable().get(handle, type) ? answer : 0;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}
