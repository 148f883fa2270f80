// One row of a picture, its 1-bit mask and its 8-bit alpha, resampled to the columns of a resized
// copy, so a stretched blit can compose row by row without making resized copies of the layers.
#ifndef PIXMILL_CORE_RESAMPLED_ROWS_H
#define PIXMILL_CORE_RESAMPLED_ROWS_H

#include <climits>
#include <cstdint>
#include <vector>

#include "core/registry/image_record.h"

namespace pixmill {

class ResampledRows {
public:
    // columns: per pixel of the rows, the layer column it shows, or -1 for a blank pixel (every
    // bit 0: index 0 or black, not masked, alpha 0); the others never decrease, and the layers
    // are layerWidth wide. The picture has 1, 4, 8 or 24 bits.
    ResampledRows(std::vector<int> columns, int layerWidth, int pictureBits, bool withAlpha);

    // Resamples row y (from the top) of each layer, or makes blank rows when y < 0; asked for
    // the row it holds, it keeps it. The layers hold every column named; the alpha only when
    // made with alpha.
    void build(const ImageRecord& picture, const ImageRecord& mask, const ImageRecord* alpha, int y);

    // The rows in their layers' formats: first pixel in the high bits of 1- and 4-bit rows.
    const uint8_t* picture() const { return picture_.data(); }
    const uint8_t* mask() const { return mask_.data(); }
    const uint8_t* alpha() const { return alpha_.data(); }

private:
    void resamplePicture(const uint8_t* in);
    void resampleTrueColour(const uint8_t* in);
    void resampleMask(const uint8_t* in);
    void resampleAlpha(const uint8_t* in);

    std::vector<int> columns_;
    int bits_;
    bool blanks_ = false;     // some column is -1
    size_t wideCopies_ = 0;   // 24 bits: pixels before the first showing the last layer column but one
    std::vector<uint8_t> picture_;
    std::vector<uint8_t> mask_;
    std::vector<uint8_t> alpha_;
    std::vector<uint8_t> maskBytes_;  // the layer's mask row, a byte a pixel
    int built_ = INT_MIN;
};

}  // namespace pixmill

#endif
