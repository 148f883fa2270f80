// A DC's clipping region: SelectClipRgn, ExtSelectClipRgn, GetClipRgn, IntersectClipRect,
// ExcludeClipRect, OffsetClipRgn and GetClipBox.
//
// The DC keeps its own copy of the region in device coordinates (the caller's logical ones moved
// by the DC's origin: a window DC's region stays put on the screen while it draws), never cut to
// the device, so it survives a change of bitmap. A DC
// without one has no clipping region at all, which the combining calls take as the whole plane:
// ANDing a region with it gives that region, and the other modes start from the device's bounds
// (a region must be finite). Each call answers with the kind of what the DC now draws through,
// its effective clip (clip_area.h).
#include <memory>
#include <optional>
#include <string>

#include "base/call_refusal.h"
#include "gdi/clip_area.h"
#include "gdi/dc_origin.h"
#include "gdi/paint.h"
#include "winplat/base.h"
#include "winplat/region.h"

namespace winplat::gdi {
namespace {

int kindOf(const ClipArea& clip) {
    if (clip.empty()) return NULLREGION;
    return clip.rectangular() ? SIMPLEREGION : COMPLEXREGION;
}

int setClip(DeviceContextObject& dc, std::shared_ptr<const Region> clip) {
    dc.state.clip = std::move(clip);
    return kindOf(effectiveClip(dc));
}

// The DC's clipping region combined with 'region' by 'op' (not Copy).
Region combinedClip(const DeviceContextObject& dc, const Region& region, RegionOp op) {
    if (dc.state.clip) return Region::combine(*dc.state.clip, region, op);
    if (op == RegionOp::And) return region;
    return Region::combine(Region(deviceBounds(dc)), region, op);
}

std::optional<RegionOp> combineMode(int mode) {
    if (mode < RGN_AND || mode > RGN_COPY) return std::nullopt;
    return static_cast<RegionOp>(mode);
}

// IntersectClipRect and ExcludeClipRect: the rectangle as given (an inverted one is empty).
int clipToRect(HDC dc, const CallRefuser& refuse, int left, int top, int right, int bottom, RegionOp op) {
    if (!coordinatesFit({left, top, right, bottom})) return refuse(ERROR, "coordinates beyond 2^27");
    return onDc(dc, ERROR, [&](DeviceContextObject& context) {
        const Region rect(toDevice(context, DeviceRect{left, top, right, bottom}));
        return setClip(context, std::make_shared<const Region>(combinedClip(context, rect, op)));
    });
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

int SelectClipRgn(HDC dc, HRGN region) {
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    constexpr CallRefuser refuse("winplat: ExtSelectClipRgn");
    const auto op = combineMode(mode);
    if (!op) return refuse.unsupported(ERROR, "mode " + std::to_string(mode));
    if (!region && op != RegionOp::Copy) return refuse(ERROR, "no region to combine with");
    return onDc(dc, ERROR, [&](DeviceContextObject& context) -> int {
        if (!region) return setClip(context, nullptr);
        auto object = liveRegion(refuse, region);
        if (!object) return ERROR;
        const Region region = shifted(context, object->region, true);
        if (*op == RegionOp::Copy) return setClip(context, std::make_shared<const Region>(region));
        return setClip(context, std::make_shared<const Region>(combinedClip(context, region, *op)));
    });
}

int GetClipRgn(HDC dc, HRGN region) {
    constexpr CallRefuser refuse("winplat: GetClipRgn");
    return onDc(dc, -1, [&](DeviceContextObject& context) {
        auto object = liveRegion(refuse, region);
        if (!object) return -1;
        if (!context.state.clip) return 0;
        object->region = shifted(context, *context.state.clip, false);
        return 1;
    });
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    constexpr CallRefuser refuse("winplat: IntersectClipRect");
    return clipToRect(dc, refuse, left, top, right, bottom, RegionOp::And);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    constexpr CallRefuser refuse("winplat: ExcludeClipRect");
    return clipToRect(dc, refuse, left, top, right, bottom, RegionOp::Diff);
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
    constexpr CallRefuser refuse("winplat: OffsetClipRgn");
    return onDc(dc, ERROR, [&](DeviceContextObject& context) -> int {
        if (!context.state.clip) return kindOf(effectiveClip(context));
        const DeviceRect& box = context.state.clip->bounds();
        if (!coordinatesFit({int64_t{box.left} + dx, int64_t{box.top} + dy, int64_t{box.right} + dx,
                             int64_t{box.bottom} + dy})) {
            return refuse(ERROR, "the clipping region would move beyond 2^27");
        }
        Region moved = *context.state.clip;
        moved.offset(dx, dy);
        return setClip(context, std::make_shared<const Region>(std::move(moved)));
    });
}

int GetClipBox(HDC dc, LPRECT rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    return onDc(dc, ERROR, [rect](DeviceContextObject& context) {
        const ClipArea clip = effectiveClip(context);
        const DeviceRect& box = clip.box();
        const POINT o = clip.empty() ? POINT{0, 0} : context.origin;
        *rect = RECT{box.left - o.x, box.top - o.y, box.right - o.x, box.bottom - o.y};
        return kindOf(clip);
    });
}
