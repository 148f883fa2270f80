// Loading a GIF animation as a frame chain, one frame per load, with a callback after each frame
// and break requests from other threads between frames. The loads share one index of the file's
// frames, so each starts at its own frame and the chain costs time in step with the file's length;
// the index is the one kept from an earlier load of the file when there is one (gif_kept_frames.h).
#include <string>
#include <vector>

#include "core/frames/frame_break.h"
#include "core/frames/frame_chain.h"
#include "formats/gif_kept_frames.h"
#include "formats/image_load.h"

using namespace pixmill;

namespace {

// What the codec found about a frame besides its pixels.
void takeFrameFacts(PxlImageId id, const PxlCodecInfo& info, PxlImageId first) {
    {
        ImageLock frame = lockImage(id, Access::Write);
        if (!frame) return;
        frame->delay = info.frameDelay;
        frame->left = info.frameLeft;
        frame->top = info.frameTop;
        frame->screenWidth = info.screenWidth;
        frame->screenHeight = info.screenHeight;
        frame->disposal = info.controlWord;
        frame->repeatCount = info.repeatCount;
        frame->frameFlag = 1;
        frame->entryCount = 0;
        if (first != 0) frame->firstFrame = first;
    }
    applyCodecTransparency(id, info.transparency);
}

// Links 'id' after 'previous'; both belong to the chain of 'first'.
void link(PxlImageId previous, PxlImageId id, PxlImageId first) {
    ImageLock before = lockImage(previous, Access::Write);
    if (!before) return;
    before->nextFrame.reset(id);
    before->firstFrame = first;
}

// The file's frame titles come joined by "|" with the first frame; each frame gets its own (an
// empty piece leaves the frame without one).
void splitTitles(PxlImageId first) {
    std::optional<std::string> joined;
    {
        ImageLock frame = lockImage(first, Access::Read);
        if (frame) joined = frame->title;
    }
    if (!joined) return;
    std::vector<std::string> pieces;
    for (size_t start = 0;;) {
        const size_t bar = joined->find('|', start);
        pieces.push_back(joined->substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    size_t next = 0;
    walkChain(first, Access::Write, [&](ImageRecord& frame) {
        const std::string& piece = pieces[next++];
        frame.title = piece.empty() ? std::nullopt : std::optional<std::string>(piece);
        return next < pieces.size();
    });
}

bool stops(PxlFrameCallback callback, PxlImageId first, int index, intptr_t user) {
    return callback && callback(first, index, user) == 1;
}

}  // namespace

PxlImageId PXLLoadImageFramesOffset(const char* path, int32_t offset, PxlFrameCallback callback,
                                    intptr_t user) {
    PxlFileInfo file{};
    if (!path || !PXLGetInfoFileOffset(path, offset, &file)) return 0;
    PxlCodecInfo info;
    BorrowedGifFrames frameIndex(path, offset);
    const PxlImageId first = loadImageFromFile(path, offset, 0, info, -3, nullptr, frameIndex.get());
    if (first == 0 || file.formatId != PXL_FORMAT_GIF) {
        applyCodecTransparency(first, info.transparency);
        return first;
    }
    takeFrameFacts(first, info, 0);
    bool stopped = stops(callback, first, 0, user);
    const int frames = stopped ? 0 : file.frameCount;
    PxlImageId previous = first;
    for (int i = 1; i < frames; ++i) {
        if (frameBreakRequested(first)) break;
        PxlCodecInfo frameInfo;
        const PxlImageId id = loadImageFromFile(path, offset, i, frameInfo, -3, nullptr, frameIndex.get());
        if (stops(callback, first, i, user)) {
            if (id) PXLDeleteImage(id);
            stopped = true;
            break;
        }
        if (id == 0) continue;  // a frame that cannot be loaded is left out
        takeFrameFacts(id, frameInfo, first);
        link(previous, id, first);
        previous = id;
    }
    splitTitles(first);
    removeFromFrameBreakTable(first);
    if (stopped) {
        PXLDeleteImage(first);
        return -1;
    }
    return first;
}

int16_t PXLBreakLoadImageFrames(PxlImageId first) {
    if (first < 1) return 0;
    return requestFrameBreak(first) ? 1 : 0;
}
