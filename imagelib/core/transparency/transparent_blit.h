// The transparent blit behind PXLStretchBltTransparent, with the way a stretched picture is drawn
// open to choice.
#ifndef PIXMILL_CORE_TRANSPARENT_BLIT_H
#define PIXMILL_CORE_TRANSPARENT_BLIT_H

#include "pixmill/pixmill.h"

namespace pixmill {

// How a stretched picture reaches the destination: row by row from its layers, resampled on the
// fly where that gives the pixels the resized copies give (else as ResizedCopies does), or
// through resized copies of the picture, its mask and its alpha made first.
enum class StretchRoute { Rows, ResizedCopies };

// PXLStretchBltTransparent, stretching by the route given; 'taken' (when given) learns the route
// a stretched picture took, and is left alone when the picture was not stretched.
int16_t stretchBltTransparent(const BITMAPINFOHEADER* destHeader, uint8_t* destBits, int left, int top, int right,
                              int bottom, PxlImageId id, int16_t useTransparencyImage, PxlImageId alphaId,
                              PxlImageId maskId, int16_t plate, int16_t keep, StretchRoute route,
                              StretchRoute* taken = nullptr);

}  // namespace pixmill

#endif
