// The common loader behind the file, offset and preview entry points.
#ifndef PIXMILL_FORMATS_IMAGE_LOAD_H
#define PIXMILL_FORMATS_IMAGE_LOAD_H

#include <chrono>
#include <mutex>

#include "formats/codec.h"

namespace pixmill {

// File loads and previews each wait this long (5 s) for the one before them, then fail.
std::chrono::milliseconds gateWait();
std::chrono::milliseconds setGateWait(std::chrono::milliseconds wait);  // tests shorten it
std::timed_mutex& loadGate();

// A codec record as loads and info reads start it.
PxlCodecInfo freshCodecInfo();

// Loads frame 'wantedFrame' of the picture at the offset into a new image. The codec record is
// left with what the codec found (its transparency value, for one). 0 on any failure, and then no
// image is left behind. Loads of several frames of one GIF file pass one frame index to all of
// them, so that each frame is parsed once; without one, the load borrows the index the library
// kept from an earlier load of the file (formats/gif_kept_frames.h), so that callers loading one
// frame per call do not parse the frames before it again.
PxlImageId loadImageFromFile(const char* path, int64_t offset, int wantedFrame, PxlCodecInfo& info,
                             int16_t previewValue, PxlProgressFn progress, GifFrameIndex* frames = nullptr);

// Recognises the picture at the offset, opens its file and runs the format's info reader (with
// the frame index, when given); the file then stands at the picture's start again. The format
// id, or 0 on any failure.
int16_t describePicture(const char* path, int64_t offset, int16_t previewValue, PxlCodecInfo& info,
                        ByteStream& file, GifFrameIndex* frames = nullptr);

// The codec's single transparency value (0xFF...... none, 0x00BBGGRR a colour, 0x01ii.... an
// index) becomes the image's only transparency entry; nothing changes for none.
void applyCodecTransparency(PxlImageId id, uint32_t value);

// Copies the codec's red-green-blue palette into the image's colour table (blue, green, red, 0).
void copyCodecPalette(const PxlCodecInfo& info, ImageRecord& image);

}  // namespace pixmill

#endif
