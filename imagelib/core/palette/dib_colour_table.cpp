#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "pixmill/pixmill.h"
#include "winplat/owners.h"

using namespace pixmill;

extern "C" PXL_API int16_t PXLFillDIBColorTable(PxlImageId id) {
    ImageLock record = lockImage(id, Access::Read);
    if (!record) return 0;
    // The DIB section keeps a colour table of its own, apart from the header copy the library
    // edits; drawing uses the section's, so a palette change shows only after this copy.
    const int size = record->header ? paletteSizeForBits(record->bitCount()) : 0;
    if (size == 0 || !record->bitmap) return 1;
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return 1;
    if (const winplat::Selection selected(dc.get(), record->bitmap.get()); selected) {
        SetDIBColorTable(dc.get(), 0, static_cast<UINT>(size), record->colors());
    }
    return 1;
}
