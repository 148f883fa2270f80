#include "effects/true_colour_copy.h"

namespace pixmill::effects {

namespace {

PxlImageId convertedTo24(PxlImageId image) { return PXLColorConvert(image, 24, 0, 0, 0, nullptr, nullptr); }

}  // namespace

PxlImageId trueColourCopy(PxlImageId image) {
    const int bits = PXLbpp(image);
    if (bits == 0) return 0;
    return bits == 24 ? PXLCreateImageFrom(image, 0) : convertedTo24(image);
}

PxlImageId mappableCopy(PxlImageId image) {
    const int bits = PXLbpp(image);
    if (bits == 0) return 0;
    return bits == 16 || bits == 32 ? convertedTo24(image) : PXLCreateImageFrom(image, 0);
}

}  // namespace pixmill::effects
