// Rewriting the transparent colour of a one-frame GIF file in place: the picture is loaded, given
// the palette index under a pixel as its transparency (or none), and saved over the file through
// a temporary file, so a failure leaves the file as it was.
#include "pixmill/pixmill.h"

namespace {

constexpr int32_t kSaveOption1 = 4;
constexpr int16_t kSaveOption2 = 70;

}  // namespace

int16_t PXLSetImageTransparentOrig(const char* path, int x, int y, int clear) {
    PxlFileInfo file{};
    if (!path || !PXLGetInfoFile(path, &file)) return 0;
    if (file.formatId != PXL_FORMAT_GIF || file.frameCount >= 2) return 0;
    if (x < 0 || y < 0 || x >= file.width || y >= file.height) return 0;
    const PxlImageId image = PXLLoadImage(0, path, nullptr);
    if (image == 0) return 0;
    const int index = clear ? -1 : PXLSuckColorIndex(image, int16_t(x), int16_t(y));
    if (index < 0) {
        PXLSetImageTransparent(image, nullptr, 0);
    } else {
        PxlTransparencyEntry entry{};
        entry.kind = PXL_TRANSPARENT_INDEX;
        entry.blue = index;
        PXLSetImageTransparent(image, &entry, 1);
    }
    const int16_t saved = PXLSaveImage(image, path, PXL_FORMAT_GIF, kSaveOption1, kSaveOption2, nullptr);
    PXLDeleteImage(image);
    return saved;
}
