// Where the frames of one GIF file start, kept between passes over that file. An info pass that
// reads the whole file without a fault records it; the passes after it (the pixels of the same
// load, the other frames of a chain load) then start at the frame they want and, once past it, go
// on after the last image, so no frame is parsed again for the sake of another. What is kept holds
// for the file it was recorded from as it was then (device, inode, size and times) at the same
// offset; once the file changes, the next info pass records it afresh.
//
// One index belongs to one load (or one chain load) on one thread; it is never shared.
#ifndef PIXMILL_FORMATS_GIF_FRAME_INDEX_H
#define PIXMILL_FORMATS_GIF_FRAME_INDEX_H

#include <cstdint>
#include <optional>
#include <vector>

#include "formats/codec.h"
#include "formats/gif_blocks.h"

namespace pixmill {

class GifFrameIndex {
public:
    // Where the blocks before an image start (after the previous image's data, or after the
    // global table for the first) and the graphic control values in force there. The mark after
    // the last image is where the blocks that end the file start.
    struct Mark {
        int64_t start = 0;
        int16_t delay = 0;
        uint32_t transparency = kNoTransparency;
        int16_t disposal = 0;
        int16_t repeatCount = -1;
    };

    // Recording, along an info pass: forgets what was kept, then takes the mark before the first
    // image, each image with the mark after it, and the end of a pass that reached the file's end.
    void start(const FileIdentity& file, int64_t offset, int64_t firstImage, const GifParseState& state);
    // 'dataWhole': the image's data sub-blocks ended with their terminator.
    void addImage(uint8_t packed, bool dataWhole, int64_t after, const GifParseState& state);
    void finish() { complete_ = true; }

    // True when a whole pass was recorded from this stream's file as it is now, at this offset.
    bool describes(const ByteStream& stream, int64_t offset) const;

    // Whether a pass reached the file's end, and the file it was recorded from.
    bool complete() const { return complete_; }
    const FileIdentity& file() const { return file_; }

    int frameCount() const { return static_cast<int>(marks_.size()) - 1; }
    const Mark& mark(int image) const { return marks_[static_cast<size_t>(image)]; }
    // The descriptor's packed byte of the last image.
    uint8_t lastPacked() const { return lastPacked_; }
    // Whether the last image's data breaks off before its terminator. No other image's can: data
    // breaks off only where the file ends.
    bool lastDataBroken() const { return lastDataBroken_; }

    // The graphic control values of a mark, in a parse state.
    static void restore(const Mark& mark, GifParseState& state);

private:
    void addMark(int64_t start, const GifParseState& state);

    FileIdentity file_;
    int64_t offset_ = 0;
    bool complete_ = false;
    std::vector<Mark> marks_;
    uint8_t lastPacked_ = 0;
    bool lastDataBroken_ = false;
};

}  // namespace pixmill

#endif
