// The paint walk over a page's objects and the painting of one object: its margins as background,
// its border, then its content by kind. Transparent and animated pictures are composed off screen
// (composed_images.cpp) so that only the finished picture reaches the window.
#include <algorithm>

#include "page/clip_scope.h"
#include "page/page.h"
#include "page/page_background.h"
#include "store/file_name_table.h"
#include "pixmill/pixmill.h"
#include "text/colour_table.h"
#include "vexmill/vexmill.h"
#include "winplat/owners.h"

namespace lect32 {

namespace {

constexpr int16_t kStretchTiles = PXL_DRAW_TILED_GDI;
constexpr int16_t kWholePicture = PXL_DRAW_WHOLE;

bool Crosses(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool IsEmpty(const RECT& r) { return r.right - r.left < 1 || r.bottom - r.top < 1; }

// An object shows something of its own: a picture with a picture, a media object with a file.
bool HasContent(const PageObject& o) { return !(o.IsPicture() || o.IsMedia()) || o.picture >= 0; }

// The rectangle limited to the clip's top and bottom, as the picture calls take their other rectangle.
RECT ClipVertically(const RECT& r, const RECT& clip) {
    return {r.left, std::max(r.top, clip.top), r.right, std::min(r.bottom, clip.bottom)};
}

// How a picture is placed in its content box.
struct Placing {
    RECT dest{};
    bool fitted = false;
};

}  // namespace

RECT Page::WindowRect(const PageObject& o) const {
    const int32_t printOffset = paint_.print.printing ? paint_.print.offset : 0;
    RECT r;
    r.left = area_.leftMargin + viewX_ + o.x - originX_;
    r.top = area_.topMargin + viewY_ + o.y - originY_ - printOffset;
    r.right = r.left + o.width;
    r.bottom = r.top + o.height;
    return r;
}

void Page::fillBackground(HDC dc, const RECT& rect, HBRUSH brush) {
    if (IsEmpty(rect)) return;
    if (paint_.background) paint_.background->Fill(dc, rect, brush);
    else FillRect(dc, &rect, brush);
}

bool Page::prepareForPaint(uint16_t i) {
    static ObjectPreparation fallback;
    ObjectPreparation& preparation = paint_.preparation ? *paint_.preparation : fallback;
    return preparation.Prepare(*this, i);
}

void Page::PaintObjects(const RECT& update, HDC dc, HBRUSH brush, PaintPass pass) {
    bool mediaPrepared = false;
    for (const uint16_t i : BuildOrder(false)) {
        const RECT r = WindowRect(objects_[i]);
        if (!Crosses(r, update)) continue;
        if (paint_.print.printing && r.top < paint_.print.bandTop) continue;
        const PageObject& o = objects_[i];
        if (!HasContent(o)) {
            fillBackground(dc, r, brush);
            continue;
        }
        if (pass == PaintPass::BehindText && !o.behindText) {
            fillBackground(dc, r, brush);
            continue;
        }
        if (pass == PaintPass::OverText && o.behindText) continue;
        if (!o.prepared && !o.Is(ObjectKind::TextFrame)) {
            const bool media = o.IsMedia();
            if (prepareForPaint(i) && media) mediaPrepared = true;
        }
        PaintObject(i, r.left, r.top, objects_[i], dc, brush, update, 0);
    }
    if (mediaPrepared && !mediaStarted_) {
        static ObjectPreparation fallback;
        (paint_.preparation ? *paint_.preparation : fallback).StartMedia(*this);
        mediaStarted_ = true;
    }
}

RECT Page::paintMargins(const PageObject& o, RECT box, HDC dc, HBRUSH brush) {
    if (o.flow == 2 && !o.behindText) return box;
    if (o.spacingLeft) {
        fillBackground(dc, {box.left, box.top, box.left + o.spacingLeft, box.bottom}, brush);
        box.left += o.spacingLeft;
    }
    if (o.spacingTop) {
        fillBackground(dc, {box.left, box.top, box.right, box.top + o.spacingTop}, brush);
        box.top += o.spacingTop;
    }
    if (o.spacingRight) {
        fillBackground(dc, {box.right - o.spacingRight, box.top, box.right, box.bottom}, brush);
        box.right -= o.spacingRight;
    }
    if (o.spacingBottom) {
        fillBackground(dc, {box.left, box.bottom - o.spacingBottom, box.right, box.bottom}, brush);
        box.bottom -= o.spacingBottom;
    }
    return box;
}

RECT Page::paintBorder(const PageObject& o, RECT box, HDC dc) {
    const int b = o.borderWidth;
    if (!b) return box;
    const COLORREF colour = paint_.colours ? paint_.colours->GetColour(o.borderColour) : RGB(0, 0, 0);
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const RECT strips[] = {{box.left, box.top, box.right, box.top + b},
                           {box.left, box.top, box.left + b, box.bottom},
                           {box.right - b, box.top, box.right, box.bottom},
                           {box.left, box.bottom - b, box.right, box.bottom}};
    for (const RECT& strip : strips) FillRect(dc, &strip, brush.get());
    return {box.left + b, box.top + b, box.right - b, box.bottom - b};
}

void Page::PaintObject(uint16_t i, int x, int y, PageObject& record, HDC dc, HBRUSH brush, const RECT& clip, int) {
    RECT box{x, y, x + record.width, y + record.height};
    box = paintMargins(record, box, dc, brush);
    box = paintBorder(record, box, dc);
    if (IsEmpty(box)) return;
    if (record.Is(ObjectKind::Button)) {
        paintButton(i, record, dc, box, ButtonState::Normal, -1);
    } else if (record.IsPicture()) {
        paintPicture(i, record, dc, brush, box, clip);
    } else if (record.Is(ObjectKind::TextFrame)) {
        paintTextFrame(i, dc, box);
    }
}

uint16_t Page::cachedImage(int16_t cacheIndex) {
    return cacheIndex < 0 ? uint16_t{0} : static_cast<uint16_t>(cache().GetImage(cacheIndex));
}

namespace {

// A picture of pw x ph fitted into the box: proportions kept unless they are free.
RECT FitInto(const RECT& box, int pw, int ph, bool freeProportions) {
    RECT dest = box;
    const int64_t bw = box.right - box.left, bh = box.bottom - box.top;
    if (freeProportions || pw <= 0 || ph <= 0) return dest;
    const int64_t w = int64_t{pw} * bh / ph;
    if (w < bw) dest.right = static_cast<LONG>(box.left + w);
    else if (bw < w) dest.bottom = static_cast<LONG>(box.top + int64_t{ph} * bw / pw);
    return dest;
}

}  // namespace

void Page::composeFrame(PageObject& o, uint16_t image, int16_t frame, bool fresh) {
    if ((fresh || !o.workImage) && !RefreshWorkImage(o)) return;
    PXLStretchBltFrame(static_cast<PxlImageId>(o.workImage), 0, 0, PXLWidthFrameScreen(static_cast<PxlImageId>(image)),
                       PXLHeightFrameScreen(static_cast<PxlImageId>(image)), static_cast<PxlImageId>(image), frame, 0, 0,
                       0, 0, 0, 0, 0, RGB(255, 255, 255), static_cast<PxlImageId>(o.backgroundImage));
}

void Page::paintPicture(uint16_t i, PageObject& o, HDC dc, HBRUSH brush, const RECT& box, const RECT& clip) {
    const PlacementRecord placement = GetPlacement(i);
    const uint16_t image = cachedImage(o.cacheIndex);
    if (!image) return;
    const auto id = static_cast<PxlImageId>(image);
    const bool vector = o.Is(ObjectKind::VectorPicture);
    const bool printing = paint_.print.printing;
    int pw = 0, ph = 0;
    bool transparent = false, animated = false;
    if (vector) {
        pw = VXLWidth(image);
        ph = VXLHeight(image);
    } else {
        pw = PXLWidth(id);
        ph = PXLHeight(id);
        transparent = PXLIsImageTransparent(id) != 0;
        animated = PXLGetImageFramesNum(id) > 1;
    }
    const bool composed = !printing && (transparent || animated);
    if (composed && !o.backgroundImage) PrepareBackgroundImage(i, o, dc, brush, box);
    if (composed && !o.backgroundImage) return;  // nothing lies behind a picture of no size
    if (composed) changed_ = true;

    RECT dest = box;
    ClipScope clipScope(dc);
    if (vector || placement.mode == 1) {
        dest = FitInto(box, pw, ph, placement.freeProportions != 0);
        if (animated) {
            dest.right = dest.left + PXLWidthFrameScreen(id);
            dest.bottom = dest.top + PXLHeightFrameScreen(id);
        }
        if (vector) {
            // A metafile draws only its own shapes, and nothing else paints under an object: the
            // page shows through the rest of its frame as it does beside it.
            if (o.flow != 2) fillBackground(dc, dest, brush);
            VXLStretchDraw(image, dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top);
        } else if (composed && animated) {
            composeFrame(o, image, 0, true);
            PXLBitBlt(dc, dest.left, dest.top, dest.right, dest.bottom, static_cast<PxlImageId>(o.workImage), dest.left,
                      dest.top, dest.right, dest.bottom, kWholePicture, SRCCOPY, 0);
        } else if (composed) {
            RefreshWorkImage(o);
            const auto work = static_cast<PxlImageId>(o.workImage);
            PXLStretchBltTransparent(nullptr, &PXLGetBitmapInfoHeader(work)->bmiHeader, PXLGetBits(work), 0, 0,
                                     dest.right - dest.left, dest.bottom - dest.top, id, 0, 0, 0, 0, 0);
            PXLBitBlt(dc, dest.left, dest.top, dest.right, dest.bottom, work, dest.left, dest.top, dest.right,
                      dest.bottom, kWholePicture, SRCCOPY, 0);
        } else {
            const RECT other = ClipVertically(dest, clip);
            PXLStretchBlt(dc, dest.left, dest.top, dest.right, dest.bottom, id, other.left, other.top, other.right,
                          other.bottom, kStretchTiles, SRCCOPY);
        }
    } else {
        const int16_t thumb = GetScroller(i).thumb;
        dest = {box.left, box.top + thumb, box.left + pw, box.top + thumb + ph};
        if (printing || (placement.mode == 2 && placement.zoom)) {
            int64_t w = pw, h = ph;
            if (placement.mode == 2 && placement.zoom) {
                w = placement.Zoomed(pw);
                h = placement.Zoomed(ph);
            }
            if (printing) {
                w = w * paint_.print.percent / 100;
                h = h * paint_.print.percent / 100;
            }
            dest = {box.left, box.top, static_cast<LONG>(box.left + w), static_cast<LONG>(box.top + h)};
        }
        if (animated && !printing && placement.mode != 2) {
            dest.right = dest.left + PXLWidthFrameScreen(id);
            dest.bottom = dest.top + PXLHeightFrameScreen(id);
        }
        if (!printing && (dest.right > box.right || dest.bottom > box.bottom || dest.top < box.top)) {
            clipScope.Intersect(box);
        }
        const RECT other = ClipVertically(dest, clip);
        if (printing || placement.mode == 2) {
            PXLStretchBlt(dc, dest.left, dest.top, dest.right, dest.bottom, id, other.left, other.top, other.right,
                          other.bottom, kStretchTiles, SRCCOPY);
        } else if (!composed) {
            PXLBitBlt(dc, dest.left, dest.top, dest.right, dest.bottom, id, other.left, other.top, other.right,
                      other.bottom, kWholePicture, SRCCOPY, 0);
        } else if (animated) {
            composeFrame(o, image, 0, true);
            PXLBitBlt(dc, dest.left, dest.top, dest.right, dest.bottom, static_cast<PxlImageId>(o.workImage), dest.left,
                      dest.top, dest.right, dest.bottom, kWholePicture, SRCCOPY, 0);
        } else if (!o.scroller) {
            const auto back = static_cast<PxlImageId>(o.backgroundImage);
            PXLStretchBltTransparent(nullptr, &PXLGetBitmapInfoHeader(back)->bmiHeader, PXLGetBits(back), 0, 0, pw, ph,
                                     id, 0, 0, 0, 0, 0);
            PXLBitBlt(dc, dest.left, dest.top, dest.right, dest.bottom, back, dest.left, dest.top, dest.right,
                      dest.bottom, kWholePicture, SRCCOPY, 0);
        } else {
            RefreshWorkImage(o);
            const auto work = static_cast<PxlImageId>(o.workImage);
            PXLStretchBltTransparent(nullptr, &PXLGetBitmapInfoHeader(work)->bmiHeader, PXLGetBits(work), 0, thumb, pw,
                                     ph + thumb, id, 0, 0, 0, 0, 0);
            dest = box;
            PXLBitBlt(dc, box.left, box.top, box.right, box.bottom, work, box.left, box.top, box.right, box.bottom,
                      kWholePicture, SRCCOPY, 0);
        }
    }
    const RECT drawn{dest.left, dest.top, std::min(dest.right, box.right), std::min(dest.bottom, box.bottom)};
    if (o.flow != 2) paintUncovered(i, o, dc, brush, box, drawn, composed);
}

// The part of the content box the picture leaves: right of it (from its top down) and below it.
// Behind a composed picture the page shows through there too, as it does through the picture.
void Page::paintUncovered(uint16_t i, PageObject&, HDC dc, HBRUSH brush, const RECT& box, const RECT& drawn,
                          bool composed) {
    const RECT right{std::max(drawn.right, box.left), std::max(drawn.top, box.top), box.right, box.bottom};
    const RECT below{box.left, std::max(drawn.bottom, box.top), std::min<LONG>(std::max(drawn.right, box.left), box.right),
                     box.bottom};
    for (const RECT& part : {right, below}) {
        if (IsEmpty(part)) continue;
        if (!composed) {
            fillBackground(dc, part, brush);
            continue;
        }
        ClipScope scope(dc);
        scope.Intersect(part);
        PaintBehindObject(i, dc, brush, box, true);
    }
}

void Page::paintTextFrame(uint16_t i, HDC dc, const RECT& box) {
    const int16_t before = activeText_;
    if (before != static_cast<int16_t>(i)) ActivateTextObject(i, true, false);
    if (!frame_ || activeText_ != static_cast<int16_t>(i)) return;
    const FrameRecord record = GetFrame(i);
    const uint8_t colour = record.background == 255 ? area_.backColour : record.background;
    int16_t picture = record.picture;
    uint8_t mode = 1;
    if (picture == -1) {
        picture = record.background == 255 ? area_.backPicture : int16_t{-1};
        mode = area_.backPictureMode;
    }
    frame_->SetBackground(colour, picture, mode, originX_, originY_);
    frame_->Paint(dc, {0, 0, box.right - box.left, box.bottom - box.top});
    if (before != static_cast<int16_t>(i)) ActivateTextObject(before, true, false);
}

void Page::PaintBehindObject(uint16_t i, HDC dc, HBRUSH brush, const RECT& rect, bool whole) {
    const RECT content = ContentBox(i);
    const int32_t printOffset = paint_.print.printing ? paint_.print.offset : 0;
    const RECT own{content.left, content.top - printOffset, content.right, content.bottom - printOffset};
    if (whole) {
        fillBackground(dc, rect, brush);
    } else if (paint_.background) {
        paint_.background->FillTiledAt(dc, rect, brush, own.left + paint_.background->OriginX(),
                                       static_cast<int>(own.top + paint_.background->OriginY()));
    } else {
        FillRect(dc, &rect, brush);
    }
    // Earlier objects in owner coordinates, or shifted so the content box's corner is (0, 0).
    const int dx = whole ? 0 : -own.left, dy = whole ? 0 : -own.top;
    const RECT area{rect.left - dx, rect.top - dy, rect.right - dx, rect.bottom - dy};
    for (const uint16_t j : BuildOrder(false)) {
        if (j == i) break;
        const RECT r = WindowRect(objects_[j]);
        if (!Crosses(r, area) || !HasContent(objects_[j])) continue;
        PaintObject(j, r.left + dx, r.top + dy, objects_[j], dc, brush, rect, 1);
    }
}

}  // namespace lect32
