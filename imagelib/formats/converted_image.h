// A copy of the image being saved at another depth, for writers whose format cannot hold the
// image's own depth (5-6-5 and 32-bit pixels into 24-bit files, true colour into 8-bit ones).
#ifndef PIXMILL_FORMATS_CONVERTED_IMAGE_H
#define PIXMILL_FORMATS_CONVERTED_IMAGE_H

#include <optional>

#include "core/registry/image_registry.h"
#include "formats/codec.h"
#include "formats/image_rows.h"

namespace pixmill {

class ConvertedImage final : public RowSource {
public:
    // Converts `image` to `bits` (24, or 8 with a palette of the image's most frequent colours);
    // the copy is deleted with this object.
    ConvertedImage(PxlImageId image, int bits);
    ~ConvertedImage() override;
    ConvertedImage(const ConvertedImage&) = delete;
    ConvertedImage& operator=(const ConvertedImage&) = delete;

    bool ok() const { return static_cast<bool>(lock_); }
    // The copy's depth and palette into a writer's record.
    void describe(PxlCodecInfo& info) const;
    void getRow(uint8_t* row, int indexFromTop) override;

private:
    PxlImageId copy_ = 0;
    ImageLock lock_;
    std::optional<ImageRowSource> rows_;
};

// Whether a writer that keeps 1, 4, 8 or 24 bits must take the rows of a source of this depth
// through a 24-bit ConvertedImage.
inline bool needsTwentyFourBits(int bitsPerPixel) { return bitsPerPixel > 8 && bitsPerPixel != 24; }

}  // namespace pixmill

#endif
