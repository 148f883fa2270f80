// Images to and from the clipboard.
#include "core/registry/image_registry.h"
#include "winplat/clipboard.h"
#include "winplat/owners.h"

using namespace pixmill;
using winplat::OpenedClipboard;

namespace {

PxlImageId importFromClipboard() {
    if (IsClipboardFormatAvailable(CF_DIB)) {
        if (HANDLE data = GetClipboardData(CF_DIB)) return PXLCreateImageFromGlobal(static_cast<HGLOBAL>(data));
    }
    if (IsClipboardFormatAvailable(CF_BITMAP)) {
        if (HANDLE data = GetClipboardData(CF_BITMAP)) return PXLCreateImageFromBitmap(static_cast<HBITMAP>(data));
    }
    return 0;
}

}  // namespace

PxlImageId PXLCreateImageFromClipboard(HWND owner) {
    PxlImageId id = 0;
    {
        OpenedClipboard clipboard(owner);
        if (!clipboard) return 0;
        id = importFromClipboard();
    }
    if (id && PXLbpp(id) == 32) {
        // The library keeps true-colour pictures as 24-bit images.
        const PxlImageId converted = PXLColorConvert(id, 24, 0, 0, 0, nullptr, nullptr);
        PXLDeleteImage(id);
        return converted;
    }
    return id;
}

int16_t PXLCopyImageToClipboard(HWND owner, PxlImageId id, int16_t format, int16_t empty) {
    if (id == 0 || (format != CF_DIB && format != CF_BITMAP)) return 0;
    OpenedClipboard clipboard(owner);
    if (!clipboard) return 0;
    if (empty) EmptyClipboard();
    if (format == CF_DIB) {
        winplat::GlobalBlock block(PXLGetGlobalBlock(id));
        if (!block || !SetClipboardData(CF_DIB, block.get())) return 0;
        static_cast<void>(block.release());  // the clipboard owns it now
        return 1;
    }
    winplat::OwnedBitmap bitmap(PXLDeleteImageDetach(PXLCreateImageFrom(id, 0)));
    if (!bitmap || !SetClipboardData(CF_BITMAP, bitmap.get())) return 0;
    static_cast<void>(bitmap.release());  // the clipboard owns it now
    return 1;
}
