// Making the DIB section and header of a new image (shared by every creator).
#ifndef PIXMILL_CORE_IMAGE_CREATE_H
#define PIXMILL_CORE_IMAGE_CREATE_H

#include "core/registry/image_registry.h"

namespace pixmill {

constexpr int kMaxImageSide = 32767;

// A new blank image (bits zeroed, default palette of its depth), still locked for writing so the
// caller can fill it before anyone sees it. bits is a request: PXL_BITS_565 gives 16 bits with
// 5-6-5 fields, anything else its depth class. Empty for sizes outside 1..32767, sizes whose
// bytes do not fit in 32 bits, or when memory runs out.
ImageLock newImage(int width, int height, int bits);

// Gives up a half-made image from newImage (or createImageRecord) and everything it holds.
void discardImage(ImageLock& image);

// Byte size of a new image's BITMAPINFO: header, colour table, masks.
int32_t headerSizeFor(int bits, bool bitFields);

}  // namespace pixmill

#endif
