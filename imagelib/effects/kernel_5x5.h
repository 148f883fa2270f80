// A 5 x 5 convolution of a 24-bit image, in place.
#ifndef PIXMILL_EFFECTS_KERNEL_5X5_H
#define PIXMILL_EFFECTS_KERNEL_5X5_H

#include <array>
#include <cstdint>

#include "core/registry/image_record.h"
#include "effects/row_progress.h"

namespace pixmill::effects {

// Weight row r, column k applies to the pixel r - 2 rows and k - 2 columns away from the one being
// computed, rows counted in storage order: the bottom row of the picture comes first, so weight
// row 1 is the row below the pixel in the picture and row 3 the row above.
struct EffectKernel {
    std::array<int16_t, 25> weights{};
    uint8_t divisor = 1;  // 0 counts as 1
    uint8_t red = 0, green = 0, blue = 0;  // added after the division
    bool grey = false;  // the three sums replaced by their mean before the division
};

// Each pixel of the 24-bit image becomes the weighted sum of its unmodified neighbours (pixels past
// the edges repeat the edge), divided towards zero, plus the offsets, clamped to 0..255. Progress
// after each row. false, with nothing changed, for other depths.
bool applyKernel5x5(ImageRecord& image, const EffectKernel& kernel, const RowProgress& progress);

}  // namespace pixmill::effects

#endif
