#include "formats/gif_frame_index.h"

namespace pixmill {

void GifFrameIndex::start(const FileIdentity& file, int64_t offset, int64_t firstImage,
                          const GifParseState& state) {
    file_ = file;
    offset_ = offset;
    complete_ = false;
    marks_.clear();
    lastPacked_ = 0;
    lastDataBroken_ = false;
    addMark(firstImage, state);
}

void GifFrameIndex::addImage(uint8_t packed, bool dataWhole, int64_t after, const GifParseState& state) {
    lastPacked_ = packed;
    lastDataBroken_ = !dataWhole;
    addMark(after, state);
}

bool GifFrameIndex::describes(const ByteStream& stream, int64_t offset) const {
    if (!complete_ || offset != offset_) return false;
    const std::optional<FileIdentity> now = stream.fileIdentity();
    return now && *now == file_;
}

void GifFrameIndex::restore(const Mark& mark, GifParseState& state) {
    state.delay = mark.delay;
    state.transparency = mark.transparency;
    state.disposal = mark.disposal;
    state.repeatCount = mark.repeatCount;
}

void GifFrameIndex::addMark(int64_t start, const GifParseState& state) {
    marks_.push_back(Mark{start, state.delay, state.transparency, state.disposal, state.repeatCount});
}

}  // namespace pixmill
