// Where a DC's drawing may land, and the one place it is worked out.
//
// The effective clip of a DC is its device's bounds, cut by the system region the window manager
// sets (a window's visible part), cut by the clipping region the program selects. Every writer of
// pixels (fillArea's callers, the blit engine, the line and pixel plotters, the glyph painter)
// draws through it. When it is one rectangle (always, unless a region says otherwise) drawing
// takes that rectangle as it always has; otherwise each piece of work is repeated for the
// region's rectangles inside it.
//
// Callers hold the GDI lock.
#ifndef WINPLAT_SRC_GDI_CLIP_AREA_H
#define WINPLAT_SRC_GDI_CLIP_AREA_H

#include <cstdint>
#include <memory>
#include <utility>

#include "gdi/device_rect.h"
#include "gdi/objects.h"
#include "gdi/region.h"

namespace winplat::gdi {

class ClipArea {
  public:
    // A rectangle; with a region, the region's pixels inside that rectangle.
    explicit ClipArea(const DeviceRect& box, std::shared_ptr<const Region> region = nullptr)
        : box_(box), region_(std::move(region)) {}

    // Every drawable pixel lies in it.
    const DeviceRect& box() const { return box_; }
    bool rectangular() const { return !region_; }
    bool empty() const { return box_.empty(); }

    bool contains(int64_t x, int64_t y) const {
        if (x < box_.left || x >= box_.right || y < box_.top || y >= box_.bottom) return false;
        return !region_ || region_->contains(static_cast<int>(x), static_cast<int>(y));
    }

    // The same clip cut to a rectangle as well.
    ClipArea within(const DeviceRect& rect) const { return ClipArea(intersect(box_, rect), region_); }

    // Calls visit(piece) for the drawable pieces of 'rect', top to bottom: the rectangle cut to
    // the box, or to each of the region's rectangles.
    template <class Visit>
    void forEach(const DeviceRect& rect, Visit&& visit) const {
        const DeviceRect cut = intersect(box_, rect);
        if (cut.empty()) return;
        if (!region_) return visit(cut);
        region_->forEachIn(cut, visit);
    }

  private:
    DeviceRect box_;
    std::shared_ptr<const Region> region_;
};

// The device's bounds: the surface's for a DC with pixels, the reference device's for a metafile
// DC; empty for a DC whose surface is gone.
DeviceRect deviceBounds(const DeviceContextObject& dc);

// The DC's effective clip (see the file comment). Worked out again only when the DC's clipping
// region, system region or surface size changed since the last call.
ClipArea effectiveClip(DeviceContextObject& dc);

}  // namespace winplat::gdi

#endif
