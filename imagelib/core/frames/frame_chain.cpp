// Building, cutting and querying frame chains.
//
// A chain has one owner per frame: the frame before it (the first frame is the caller's). An
// image that is already part of a chain, or heads one, is therefore never added to another:
// it would be owned twice, or a chain would reach itself and never end.
#include "core/frames/frame_chain.h"

#include <utility>
#include <vector>

using namespace pixmill;

namespace pixmill {

int countFrames(PxlImageId id) {
    return walkChain(id, Access::Read, [](const ImageRecord&) { return true; });
}

PxlImageId frameAt(PxlImageId first, int index) {
    PxlImageId id = first;
    for (int step = 0; step < kMaxChainFrames; ++step) {
        ImageLock frame = lockImage(id, Access::Read);
        if (!frame) return step == 0 ? 0 : id;  // a link to an id that went away: that id
        if (step >= index) return id;
        id = frame->nextFrame;
        if (id == 0) return 0;
    }
    return 0;
}

}  // namespace pixmill

namespace {

// Whether the record stands alone or heads its own chain (first-frame 0 or itself).
bool headsItself(const ImageRecord& frame) {
    return frame.firstFrame == 0 || frame.firstFrame == frame.id;
}

struct ScreenSize {
    int32_t width = 0;
    int32_t height = 0;
};

// Every frame from the head on learns its head and the animation's screen size.
void markChain(PxlImageId head, ScreenSize screen) {
    walkChain(head, Access::Write, [&](ImageRecord& frame) {
        frame.firstFrame = head;
        frame.screenWidth = screen.width;
        frame.screenHeight = screen.height;
        return true;
    });
}

// The frame after which a frame goes in at the position: the last one for -1 or a position past
// the end.
PxlImageId predecessorAt(PxlImageId first, int position) {
    PxlImageId last = first;
    int index = 0;
    walkChain(first, Access::Read, [&](const ImageRecord& frame) {
        last = frame.id;
        return position < 0 || ++index < position;
    });
    return last;
}

}  // namespace

int16_t PXLAddImageFrame(PxlImageId first, PxlImageId image, int16_t position) {
    if (first == 0 || image == 0 || first == image) return 0;
    ScreenSize screen;
    {
        ImageLock head = lockImage(first, Access::Read);
        if (!head || !headsItself(*head)) return 0;
        screen = {head->screenWidth, head->screenHeight};
    }
    {
        ImageLock added = lockImage(image, Access::Read);
        if (!added || added->nextFrame != 0 || !headsItself(*added)) return 0;
    }
    bool inChain = false;
    walkChain(first, Access::Read, [&](const ImageRecord& frame) {
        inChain = frame.id == image;
        return !inChain;
    });
    if (inChain) return 0;

    PxlImageId head = first;
    if (position == 0) {
        ImageLock added = lockImage(image, Access::Write);
        if (!added) return 0;
        added->nextFrame.reset(first);
        head = image;
    } else {
        auto [before, added] =
            lockImages(predecessorAt(first, position), Access::Write, image, Access::Write);
        if (!before || !added) return 0;
        added->nextFrame = std::move(before->nextFrame);
        before->nextFrame.reset(image);
    }
    markChain(head, screen);
    return 1;
}

int16_t PXLSplitAllImageFrame(PxlImageId first) {
    std::vector<OwnedImageId> savedAreas;
    const int frames = walkChain(first, Access::Write, [&](ImageRecord& frame) {
        if (frame.savedArea) savedAreas.push_back(std::move(frame.savedArea));
        frame.firstFrame = frame.id;
        return true;
    });
    // The links go only now: the walk follows them. Each frame stands alone from then on, so its
    // reference is the caller's.
    for (PxlImageId id = first; id != 0;) {
        ImageLock frame = lockImage(id, Access::Write);
        if (!frame) break;
        id = frame->nextFrame.release();
    }
    for (OwnedImageId& saved : savedAreas) saved.reset();
    return frames > 0 ? 1 : 0;
}

int16_t PXLGetImageFramesNum(PxlImageId id) {
    return static_cast<int16_t>(countFrames(id));
}

PxlImageId PXLGetImageFramesImage(PxlImageId first, int16_t index) {
    return frameAt(first, index);
}

int16_t PXLGetImageFramesDelay(PxlImageId first, int32_t* delays, int16_t n) {
    if (!delays || n <= 0) return 0;
    int copied = 0;
    walkChain(first, Access::Read, [&](const ImageRecord& frame) {
        delays[copied++] = frame.delay;
        return copied < n;
    });
    return static_cast<int16_t>(copied);
}

int16_t PXLGetImagesRepeatCycle(PxlImageId id) {
    ImageLock image = lockImage(id, Access::Read);
    return image ? static_cast<int16_t>(image->repeatCount) : int16_t{-1};
}

namespace {

enum class Side { Width, Height };

int16_t screenSide(PxlImageId id, Side side, bool stored) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header) return 0;
    const bool frame = stored || image->nextFrame != 0 || image->frameFlag != 0;
    if (side == Side::Width) return static_cast<int16_t>(frame ? image->screenWidth : image->width());
    return static_cast<int16_t>(frame ? image->screenHeight : image->height());
}

}  // namespace

int16_t PXLWidthFrameScreen(PxlImageId id) {
    return screenSide(id, Side::Width, false);
}
int16_t PXLHeightFrameScreen(PxlImageId id) {
    return screenSide(id, Side::Height, false);
}
int16_t PXLWidthFrameScreenReal(PxlImageId id) {
    return screenSide(id, Side::Width, true);
}
int16_t PXLHeightFrameScreenReal(PxlImageId id) {
    return screenSide(id, Side::Height, true);
}
