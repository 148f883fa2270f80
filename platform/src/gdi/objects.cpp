// Memory device contexts and the calls that take any GDI object: selection, deletion, GetObjectA.
#include "gdi/objects.h"

#include <cstring>
#include <string>

#include "winplat/base.h"
#include "winplat/host.h"

namespace winplat::gdi {

std::mutex& gdiMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<BitmapObject> findBitmap(uint32_t handle) {
    return handleTable().getAs<BitmapObject>(handle, HandleType::Bitmap);
}

std::shared_ptr<DeviceContextObject> findDc(uint32_t handle) {
    return handleTable().getAs<DeviceContextObject>(handle, HandleType::DeviceContext);
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
    if (!bitmap->stock && bitmap->selectedInto) {
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
    if (bitmap->selectedInto) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    removed = handleTable().remove(handle, HandleType::Bitmap);
    return removed ? TRUE : FALSE;
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

HDC CreateCompatibleDC(HDC dc) {
    if (dc && !findDc(handleValue(dc))) return nullptr;
    const uint32_t stock = stockBitmap();
    if (!stock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto object = std::make_shared<DeviceContextObject>();
    object->bitmap = stock;
    const uint32_t handle = handleTable().add(HandleType::DeviceContext, std::move(object));
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return makeHandle<HDC>(handle);
}

BOOL DeleteDC(HDC dc) {
    std::lock_guard lock(gdiMutex());
    auto removed = handleTable().remove(handleValue(dc), HandleType::DeviceContext);
    if (!removed) return FALSE;
    const auto& context = static_cast<DeviceContextObject&>(*removed);
    if (auto bitmap = findBitmap(context.bitmap); bitmap && bitmap->selectedInto == handleValue(dc)) {
        bitmap->selectedInto = 0;
    }
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    const uint32_t handle = handleValue(object);
    switch (handleTypeOf(handle)) {
        case HandleType::Bitmap:
            return selectBitmap(handleValue(dc), handle);
        case HandleType::Palette:
            host::log("winplat: SelectObject does not take palettes; SelectPalette does\n");
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
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
        case HandleType::Palette: {
            std::lock_guard lock(gdiMutex());
            return handleTable().remove(handle, HandleType::Palette) ? TRUE : FALSE;
        }
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
        default:
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
    }
}
