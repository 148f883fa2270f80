// Posterizing: a 24-bit image averaged over square blocks, in place.
#ifndef PIXMILL_EFFECTS_AVERAGE_BLOCKS_H
#define PIXMILL_EFFECTS_AVERAGE_BLOCKS_H

#include "core/registry/image_record.h"
#include "effects/row_progress.h"

namespace pixmill::effects {

// Blocks of n x n pixels laid from the picture's top-left corner (those at the right and bottom
// edges cut short) each take their average colour, per channel with the remainder dropped; n is at
// most the height. Progress once per picture row. Block sizes below 2 change nothing. false, with
// nothing changed, for depths other than 24 bits.
bool averageBlocks(ImageRecord& image, int blockSize, const RowProgress& progress);

}  // namespace pixmill::effects

#endif
