// Repaints that go straight onto the owner window without a paint message: one frame of an
// animation, one state of a button, the invalidation of an object and the XOR selection mark.
#include <algorithm>

#include "page/clip_scope.h"
#include "page/hotspot_geometry.h"
#include "page/page.h"
#include "page/selection_frames.h"
#include "pixmill/pixmill.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: page painting");
// A disabled active animation stands still on this frame.
constexpr int16_t kDisabledFrame = 3;
constexpr int kSelectionFrameWidth = 4;

bool IsEmpty(const RECT& r) { return r.right - r.left < 1 || r.bottom - r.top < 1; }

}  // namespace

void Page::PaintAnimationFrame(uint16_t i, int16_t frame) {
    if (!objects_.Contains(i)) return;
    if (!objects_[i].prepared) prepareForPaint(i);
    const winplat::BorrowedDc dc(owner_);
    if (!dc) return refuse.log("no device of the owner window to draw the frame on");
    const RECT box = ContentBox(i);
    PageObject& o = objects_[i];
    const uint16_t image = cachedImage(o.cacheIndex);
    if (IsEmpty(box) || !image) return;
    const auto id = static_cast<PxlImageId>(image);
    if (o.active && o.disabled && PXLGetImageFramesNum(id) > kDisabledFrame) frame = kDisabledFrame;
    if (!o.backgroundImage) PrepareBackgroundImage(i, o, dc.get(), nullptr, box);
    if (!o.backgroundImage) return;
    composeFrame(o, image, frame, false);
    // The frame's screen may be larger than the box: nothing outside the object is touched.
    ClipScope clip(dc.get());
    clip.Intersect(box);
    const int w = PXLWidthFrameScreen(id), h = PXLHeightFrameScreen(id);
    PXLBitBlt(dc.get(), box.left, box.top, box.left + w, box.top + h, static_cast<PxlImageId>(o.workImage), box.left,
              box.top, box.left + w, box.top + h, PXL_DRAW_WHOLE, SRCCOPY, 0);
    changed_ = true;
}

void Page::PaintButtonState(uint16_t i, ButtonState state, int hotspot) {
    if (!objects_.Contains(i)) return;
    const winplat::BorrowedDc dc(owner_);
    if (!dc) return refuse.log("no device of the owner window to draw the button on");
    paintButton(i, objects_[i], dc.get(), ContentBox(i), state, hotspot);
}

void Page::paintButton(uint16_t i, PageObject& o, HDC dc, const RECT& box, ButtonState state, int hotspot) {
    if (o.disabled) state = ButtonState::Disabled;
    else if (pressed_ == static_cast<int16_t>(i)) state = ButtonState::Pressed;
    const auto s = static_cast<size_t>(state);
    if (GetButton(i).pictures[s] == -1) return;
    if (!o.prepared) prepareForPaint(i);
    const uint16_t image = cachedImage(GetButton(i).cache[s]);
    if (!image || IsEmpty(box)) return;
    const auto id = static_cast<PxlImageId>(image);
    const int16_t thumb = GetScroller(i).thumb;
    const int pw = PXLWidth(id), ph = PXLHeight(id);
    const RECT dest{box.left, box.top + thumb, box.left + pw, box.top + thumb + ph};
    ClipScope clip(dc);
    if (hotspot != -1) {
        winplat::OwnedRegion region;
        int top = 0, bottom = 0;
        const RECT r = WindowRect(o);
        const std::vector<uint8_t> list = CopySlot(i, Slot::HotSpots);
        if (!BuildHotspotRegion(list, static_cast<uint16_t>(hotspot), r.left, r.top, region, top, bottom)) {
            return refuse.log("the button has no such hot spot");
        }
        clip.Intersect(region.get());
    }
    if (!PXLIsImageTransparent(id)) {
        PXLBitBlt(dc, dest.left, dest.top, dest.right, dest.bottom, id, dest.left, dest.top, dest.right, dest.bottom,
                  PXL_DRAW_WHOLE, SRCCOPY, 0);
        return;
    }
    if (!o.backgroundImage) PrepareBackgroundImage(i, o, dc, nullptr, box);
    if (!RefreshWorkImage(o)) return;
    const auto work = static_cast<PxlImageId>(o.workImage);
    PXLStretchBltTransparent(nullptr, &PXLGetBitmapInfoHeader(work)->bmiHeader, PXLGetBits(work), 0, 0, pw, ph, id, 0,
                             0, 0, 0, 0);
    PXLBitBlt(dc, dest.left, dest.top, dest.right, dest.bottom, work, dest.left, dest.top, dest.right, dest.bottom,
              PXL_DRAW_WHOLE, SRCCOPY, 0);
    changed_ = true;
}

void Page::InvalidateObject(uint16_t i, int top, int bottom) {
    if (!objects_.Contains(i)) return;
    const PageObject& o = objects_[i];
    if (o.window) InvalidateRect(o.Window(), nullptr, FALSE);
    RECT r = WindowRect(o);
    if (top || bottom) {
        r = {r.left, r.top + top, r.right, r.top + bottom};
        const winplat::BorrowedDc dc(owner_);
        const winplat::OwnedRegion band(CreateRectRgn(r.left, r.top, r.right, r.bottom));
        if (dc) SelectClipRgn(dc.get(), band.get());
        InvalidateRect(owner_, &r, FALSE);
        UpdateWindow(owner_);
        if (dc) SelectClipRgn(dc.get(), nullptr);
    } else {
        InvalidateRect(owner_, &r, FALSE);
    }
    needsRepaint_ = true;
}

void Page::DrawSelectionFrame() {
    if (!objects_.Contains(current_)) return;
    const winplat::BorrowedDc dc(owner_);
    if (!dc) return refuse.log("no device of the owner window to mark the selection on");
    const winplat::SavedDc saved(dc.get());
    SetROP2(dc.get(), R2_NOTXORPEN);
    const auto i = static_cast<uint16_t>(current_);
    if (dragging_) {
        const RECT r = WindowRect(dragged_);
        DrawDottedFrame(dc.get(), r.left, r.top, r.right, r.bottom);
        return;
    }
    if (selectionMode_ == 1) {
        // Nested outlines just outside the content box make the solid frame.
        const RECT box = ContentBox(i);
        const winplat::Selection pen(dc.get(), GetStockObject(BLACK_PEN));
        const winplat::Selection brush(dc.get(), GetStockObject(NULL_BRUSH));
        for (int k = 1; k <= kSelectionFrameWidth; ++k)
            Rectangle(dc.get(), box.left - k, box.top - k, box.right + k, box.bottom + k);
        return;
    }
    const RECT r = WindowRect(objects_[i]);
    DrawSizingFrame(dc.get(), r.left, r.top, r.right - 1, r.bottom - 1);
}

}  // namespace lect32
