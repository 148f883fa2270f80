// The common writer behind the save entry points and the frame saver.
#ifndef PIXMILL_FORMATS_IMAGE_SAVE_H
#define PIXMILL_FORMATS_IMAGE_SAVE_H

#include <functional>

#include "core/registry/image_record.h"
#include "formats/codec.h"

namespace pixmill {

// The codec record a writer gets for an image: its size, depth (also as the depth of the rows it
// hands out), palette, texts, screen size and, for a GIF, its palette-index transparency.
void describeForSaving(const ImageRecord& image, int formatId, int32_t option1, int16_t option2,
                       int16_t whiteIndex, PxlCodecInfo& info);

// Runs the format's writer on the image's rows with a record made by describeForSaving (and
// changed as the caller needs). The codec result; an exception is a write error.
int16_t writeDescribedImage(ImageRecord& image, int formatId, ByteStream& stream, PxlCodecInfo& info,
                            PxlProgressFn progress, const char* targetPath, FrameAppendState* append);

// Runs 'write' on a new file with a unique name in the folder of 'path' and moves it over 'path'
// when 'write' gave kCodecOk; otherwise the new file is removed and 'path' stays as it was.
// The codec result (a failed close or move is a write error).
int16_t writeBesideAndReplace(const char* path, const std::function<int16_t(ByteStream&)>& write);

}  // namespace pixmill

#endif
