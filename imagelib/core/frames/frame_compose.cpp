// Composing an animation frame by frame onto a canvas image with the GIF disposal rules: before a
// frame is drawn, the area of the frame before it is left (disposal 0 and 1), painted with the
// background (2) or given back what was under it (3). What the next frame needs to know about
// the last one lives on the animation's first frame.
#include <algorithm>
#include <utility>

#include "core/frames/frame_chain.h"

using namespace pixmill;

namespace {

constexpr int kDisposeBackground = 2;
constexpr int kDisposePrevious = 3;

struct Area {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct FrameFacts {
    int left = 0, top = 0, width = 0, height = 0;
    int screenWidth = 0, screenHeight = 0;
    int disposal = 0;
    PxlImageId head = 0;  // the chain's first frame, 0 when the frame keeps no composition state
    bool transparent = false;
};

bool factsOf(PxlImageId id, FrameFacts& f) {
    ImageLock frame = lockImage(id, Access::Read);
    if (!frame || !frame->header) return false;
    f = {frame->left,
         frame->top,
         frame->width(),
         frame->height(),
         frame->screenWidth,
         frame->screenHeight,
         frame->disposal,
         frame->firstFrame,
         frame->entryCount > 0 || frame->mask != 0 || frame->transparencyImage != 0};
    return true;
}

// A scaled length: rounded half away from zero by the sign of the frame's position.
int scaled(int value, double scale, bool negativePosition) {
    return static_cast<int>(value * scale + (negativePosition ? -0.5 : 0.5));
}

// Where the frame lies on the canvas when the animation's screen covers left..right, top..bottom.
Area frameArea(const FrameFacts& f, int left, int top, int right, int bottom) {
    if (f.screenWidth == 0 || f.screenHeight == 0) {
        return {left + f.left, top + f.top, left + f.left + f.width, top + f.top + f.height};
    }
    const double sx = static_cast<double>(right - left) / f.screenWidth;
    const double sy = static_cast<double>(bottom - top) / f.screenHeight;
    Area a;
    a.left = left + scaled(f.left, sx, f.left < 0);
    a.top = top + scaled(f.top, sy, f.top < 0);
    a.right = a.left + scaled(f.width, sx, f.left < 0);
    a.bottom = a.top + scaled(f.height, sy, f.top < 0);
    return a;
}

// Paints the area (cut to the canvas) with the colour: its nearest entry on a palette canvas.
void paintArea(PxlImageId canvas, const Area& area, COLORREF colour) {
    if (area.width() <= 0 || area.height() <= 0) return;
    PXLFillImageByRGBColor2(canvas, colour, area.left, area.top, area.right - 1, area.bottom - 1);
}

// A new image of what the source shows over the area, cut to the source; 0 when the area misses
// it (a crop would keep the nearest edge pixels instead).
PxlImageId copyOfArea(PxlImageId source, const Area& area) {
    const int width = PXLWidth(source), height = PXLHeight(source);
    if (area.width() <= 0 || area.height() <= 0 || area.right <= 0 || area.bottom <= 0 ||
        area.left >= width || area.top >= height) {
        return 0;
    }
    return PXLCropImage(source, area.left, area.top, area.right - 1, area.bottom - 1);
}

// What the first frame remembers of the frame composed last. The saved area is taken from the
// first frame while a frame is composed and stored back after it, so that it is given up once,
// by whoever holds it.
struct State {
    int lastDisposal = 0;
    Area lastArea;
    OwnedImageId savedArea;
};

State takeState(PxlImageId head) {
    ImageLock first = lockImage(head, Access::Write);
    if (!first) return {};
    const auto& a = first->lastArea;
    return {first->lastDisposal, Area{a[0], a[1], a[2], a[3]}, std::move(first->savedArea)};
}

// Stores the state on the first frame; without one the saved area goes with the state. One that
// another call stored meanwhile goes once the first frame is free again.
void storeState(PxlImageId head, State state) {
    OwnedImageId dropped;
    ImageLock first = lockImage(head, Access::Write);
    if (!first) return;
    dropped = std::move(first->savedArea);
    first->savedArea = std::move(state.savedArea);
    first->lastDisposal = state.lastDisposal;
    first->lastArea = {state.lastArea.left, state.lastArea.top, state.lastArea.right, state.lastArea.bottom};
}

// Gives the last frame's area back what its disposal asks for.
void disposeLast(PxlImageId canvas, State& state, bool restart, COLORREF colour, PxlImageId background) {
    if (restart && state.lastDisposal == kDisposePrevious) {
        state.lastDisposal = kDisposeBackground;
        state.savedArea.reset();
    }
    if (state.lastDisposal == kDisposePrevious && state.savedArea) {
        PXLRenderImageTo(canvas, state.savedArea, 0, state.lastArea.left, state.lastArea.top);
    } else if (state.lastDisposal == kDisposeBackground) {
        if (background) {
            const PxlImageId piece = copyOfArea(background, state.lastArea);
            if (piece) {
                PXLRenderImageTo(canvas, piece, 0, std::max(state.lastArea.left, 0),
                                 std::max(state.lastArea.top, 0));
                PXLDeleteImage(piece);
            }
        } else {
            paintArea(canvas, state.lastArea, colour);
        }
    }
}

void drawFrame(PxlImageId canvas, PxlImageId frame, const FrameFacts& f, const Area& area) {
    if (!f.transparent) {
        PXLRenderImageTo(canvas, frame, 0, area.left, area.top);
        return;
    }
    // The mask of the entries is built and kept on the frame; the combination is a reference.
    const PxlImageId mask = PXLGetImageTransparentImage(frame);
    PXLRenderImageTo(canvas, frame, mask, area.left, area.top);
    if (mask) PXLDeleteImage(mask);
}

}  // namespace

int16_t PXLStretchBltFrame(PxlImageId canvas, int left, int top, int right, int bottom, PxlImageId first,
                           int16_t index, int, int, int, int, int, int, int, COLORREF background,
                           PxlImageId backgroundImage) {
    const PxlImageId frame = index < 0 ? first : frameAt(first, index);
    FrameFacts f;
    if (frame == 0 || !factsOf(frame, f)) return 0;
    const Area area = frameArea(f, left, top, right, bottom);
    State state;
    if (f.head) {
        state = takeState(f.head);
        // Index 0 starts the animation again: nothing before it is to be given back.
        disposeLast(canvas, state, index == 0, background, backgroundImage);
        if (f.disposal == kDisposePrevious && index > 0) {
            state.savedArea.reset();  // first, so that the copy may take its id as it always has
            state.savedArea.reset(copyOfArea(canvas, area));
        }
    }
    if (index >= 0) drawFrame(canvas, frame, f, area);
    if (f.head) {
        // A first frame has nothing to go back to: "previous" is the background there.
        state.lastDisposal = f.disposal == kDisposePrevious && index <= 0 ? kDisposeBackground : f.disposal;
        state.lastArea = {std::max(area.left, 0), std::max(area.top, 0), area.right, area.bottom};
        if (state.lastDisposal != kDisposePrevious) state.savedArea.reset();
        storeState(f.head, std::move(state));
    }
    return 0;
}

int16_t PXLRenderFrames(PxlImageId first, PxlImageId canvas, int x, int y, int16_t from, int16_t to,
                        COLORREF background, PxlImageId backgroundImage, int16_t noFinish) {
    if (first == 0) return 0;
    const int count = countFrames(first);
    if (count == 0) return 0;
    const int last = std::clamp<int>(to, 0, count - 1);
    const int start = std::clamp<int>(from, 0, last);
    const int right = x + PXLWidthFrameScreenReal(first), bottom = y + PXLHeightFrameScreenReal(first);
    for (int i = start; i <= last; ++i) {
        PXLStretchBltFrame(canvas, x, y, right, bottom, first, static_cast<int16_t>(i), 0, 0, 0, 0, 0, 0, 0,
                           background, backgroundImage);
    }
    if (!noFinish) {
        PXLStretchBltFrame(canvas, x, y, right, bottom, first, -1, 0, 0, 0, 0, 0, 0, 0, background,
                           backgroundImage);
    }
    return 1;
}

int16_t PXLBitBltFrame(HDC dc, int x, int y, int, int, PxlImageId first, int16_t index, int clipLeft,
                       int clipTop, int clipRight, int clipBottom, int16_t mode, DWORD rop, int ignored) {
    const PxlImageId frame = index <= 0 ? first : frameAt(first, index);
    FrameFacts f;
    if (frame == 0 || !factsOf(frame, f)) return 0;
    if (f.transparent) {
        // Builds the mask of the entries, which the drawing then finds on the frame.
        if (const PxlImageId mask = PXLGetImageTransparentImage(frame)) PXLDeleteImage(mask);
    }
    const int left = x + f.left, top = y + f.top;
    return PXLBitBlt(dc, left, top, left + f.width, top + f.height, frame, clipLeft, clipTop, clipRight,
                     clipBottom, mode, rop, ignored);
}
