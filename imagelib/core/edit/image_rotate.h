// Turning images: the fixed-point sine and cosine steps, the angle rule, and the rotated copies
// an image keeps for its display rotation.
#ifndef PIXMILL_CORE_IMAGE_ROTATE_H
#define PIXMILL_CORE_IMAGE_ROTATE_H

#include <array>
#include <cstdint>

#include "core/registry/image_record.h"

namespace pixmill {

constexpr int kRotationSteps = 256;
constexpr int kRotationOne = 1024;  // the steps' fixed point

// Step k turns by (k + 1) x 360 / 256 degrees: s = -1024 sin, c = 1024 cos of that, rounded.
struct RotationStep {
    int32_t s;
    int32_t c;
};
RotationStep rotationStep(int index);

// The step an angle (degrees, any sign) turns by: the angle mod 360 times 0.71111, rounded half
// away from zero, negative ones counted from 256. Stored documents were turned by this rule, so
// it stays even where it is not 256 / 360: 45 gives step 32 (46.4 degrees), 358 and 359 step 255
// (a whole turn).
int rotationIndex(int angle);

// Turns four points about (x, y) clockwise by the angle's step; nothing for multiples of 90.
void turnFourPoints(std::array<int32_t, 8>& xy, int32_t x, int32_t y, int angle);

// Drops the rotated copy an image keeps (its display rotation's, or an unrotated image's turned
// copy), so that it is made again from the pixels as they are now. The image is held for writing.
void dropRotatedCopy(ImageRecord& image);

}  // namespace pixmill

#endif
