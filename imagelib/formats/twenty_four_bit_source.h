// Rows of a 16- or 32-bit image handed to a writer as 24-bit rows, for formats that store at most
// 24 bits a pixel: the image is converted once by the library's depth converter and the copy's
// rows are handed out.
#ifndef PIXMILL_FORMATS_TWENTY_FOUR_BIT_SOURCE_H
#define PIXMILL_FORMATS_TWENTY_FOUR_BIT_SOURCE_H

#include <cstdint>

#include "core/image_registry.h"
#include "formats/codec.h"

namespace pixmill {

class TwentyFourBitSource final : public RowSource {
public:
    // Converts the image; ok() tells whether that worked.
    explicit TwentyFourBitSource(PxlImageId image);
    ~TwentyFourBitSource() override;
    TwentyFourBitSource(const TwentyFourBitSource&) = delete;
    TwentyFourBitSource& operator=(const TwentyFourBitSource&) = delete;

    bool ok() const { return static_cast<bool>(copy_); }
    void getRow(uint8_t* row, int indexFromTop) override;

private:
    PxlImageId copyId_ = 0;
    ImageLock copy_;
};

// Whether a writer that keeps 1, 4, 8 or 24 bits must take the rows of a source of this depth
// through a TwentyFourBitSource.
inline bool needsTwentyFourBits(int bitsPerPixel) { return bitsPerPixel > 8 && bitsPerPixel != 24; }

}  // namespace pixmill

#endif
