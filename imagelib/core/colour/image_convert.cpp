#include "core/colour/image_convert.h"

namespace pixmill {

bool attachTransparencyImage(PxlImageId id, PxlImageId attached) {
    // The same rules as every other attachment: depth, size, no ownership cycles.
    return PXLSetImageTransparentEx(id, attached) == 1;
}

}  // namespace pixmill
