// A DC's clipping changed for a scope. When the scope ends the clip goes back the way the page
// painter has always put it back: no clipping region at all when the DC had none, else a
// rectangle of the clip box it had (a shaped clip comes back as its box).
#ifndef LECT32_PAGE_CLIP_SCOPE_H
#define LECT32_PAGE_CLIP_SCOPE_H

#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/region.h"

namespace lect32 {

class ClipScope {
public:
    explicit ClipScope(HDC dc) : dc_(dc) {
        const winplat::OwnedRegion probe(CreateRectRgn(0, 0, 0, 0));
        hadClip_ = probe && GetClipRgn(dc, probe.get()) == 1;
        if (hadClip_) GetClipBox(dc, &box_);
    }
    ~ClipScope() {
        if (!changed_) return;
        if (!hadClip_) {
            SelectClipRgn(dc_, nullptr);
            return;
        }
        const winplat::OwnedRegion previous(CreateRectRgn(box_.left, box_.top, box_.right, box_.bottom));
        SelectClipRgn(dc_, previous.get());
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

    // Narrows the clip to the rectangle (within the clip the DC had).
    void Intersect(const RECT& rect) {
        changed_ = true;
        IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
    }
    // Takes the rectangle out of the clip.
    void Exclude(const RECT& rect) {
        changed_ = true;
        ExcludeClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
    }
    // Narrows the clip to the region.
    void Intersect(HRGN region) {
        changed_ = true;
        ExtSelectClipRgn(dc_, region, RGN_AND);
    }

private:
    HDC dc_;
    RECT box_{};
    bool hadClip_ = false;
    bool changed_ = false;
};

}  // namespace lect32

#endif
