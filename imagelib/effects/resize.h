// The resampler behind IPLResize, with a choice of its row loops for comparing them.
#ifndef PIXMILL_EFFECTS_RESIZE_H
#define PIXMILL_EFFECTS_RESIZE_H

#include "core/registry/image_record.h"
#include "effects/resample_rows.h"

namespace pixmill::resample {

// Resamples source into target (same depth and fields, its own size) in mode 1 (nearest), 2
// (bilinear) or 3 (covered area for reductions, else bilinear). False for palette images in the
// filtered modes. May throw std::bad_alloc before writing.
bool resampleImage(const ImageRecord& source, ImageRecord& target, int mode, RowLoops loops);

}  // namespace pixmill::resample

#endif
