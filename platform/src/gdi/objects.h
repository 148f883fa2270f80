// The GDI objects behind HBITMAP, HPALETTE and HDC, and what other areas of the layer (the
// clipboard) need from them.
#ifndef WINPLAT_SRC_GDI_OBJECTS_H
#define WINPLAT_SRC_GDI_OBJECTS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "gdi/surface.h"
#include "winplat/gdi.h"
#include "winplat/handles.h"

namespace winplat::gdi {

struct BitmapObject final : HandleObject {
    std::unique_ptr<Surface> surface;
    bool dibSection = false;
    bool bitfields = false;  // a DIB section made with BI_BITFIELDS
    // The shared 1 x 1 monochrome bitmap every fresh memory DC holds: in any number of DCs at
    // once, and never deleted.
    bool stock = false;
    uint32_t selectedInto = 0;  // the DC holding it, 0 when none

    bool monochromeDdb() const { return !dibSection && surface->bitsPerPixel() == 1; }
    DWORD compression() const { return bitfields ? BI_BITFIELDS : BI_RGB; }
};

struct PaletteObject final : HandleObject {
    std::vector<PALETTEENTRY> entries;
};

struct DeviceContextObject final : HandleObject {
    uint32_t bitmap = 0;  // the selected bitmap
};

// Guards which bitmap is selected where, and the pixels and colour tables of every bitmap while a
// call reads or writes them.
std::mutex& gdiMutex();

std::shared_ptr<BitmapObject> findBitmap(uint32_t handle);
std::shared_ptr<DeviceContextObject> findDc(uint32_t handle);
// The stock monochrome bitmap, made on first use.
uint32_t stockBitmap();
// The table of a monochrome DDB: bit 0 black, bit 1 white.
std::vector<RGBQUAD> monochromeColors();

// A packed DIB (header, masks or colour table, bottom-up bits) of the bitmap's own depth in a new
// moveable global block; NULL when the bitmap is invalid or memory runs out.
HGLOBAL packBitmap(HBITMAP bitmap);
// A 32-bit DDB made from a packed DIB of 'size' bytes; NULL when the DIB is damaged, does not fit
// in 'size', or is in a format the layer cannot read.
HBITMAP bitmapFromPackedDib(const void* data, size_t size);

}  // namespace winplat::gdi

#endif
