// Region objects: making HRGNs from shapes, combining, moving, comparing and hit-testing them.
//
// Every coordinate a region call takes or makes stays within +-2^27, the range drawing accepts;
// the shapes scanned row by row (ellipses, round rectangles, polygons) span at most 2^20 rows.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/call_refusal.h"
#include "gdi/paint.h"
#include "gdi/region.h"
#include "winplat/base.h"
#include "winplat/region.h"

namespace winplat::gdi {
namespace {

// The rectangle with its corners in order, whichever way they were given.
DeviceRect normalised(int left, int top, int right, int bottom) {
    return DeviceRect{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

HRGN addRegion(const CallRefuser& refuse, Region region) {
    auto object = std::make_shared<RegionObject>();
    object->region = std::move(region);
    const uint32_t handle = handleTable().add(HandleType::Region, std::move(object));
    if (!handle) {
        refuse.log("the handle table is full");
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return makeHandle<HRGN>(handle);
}

// A box for a shape scanned row by row, or a refusal.
std::optional<DeviceRect> shapeBox(const CallRefuser& refuse, int left, int top, int right, int bottom) {
    if (!coordinatesFit({left, top, right, bottom})) return refuse(std::nullopt, "coordinates beyond 2^27");
    const DeviceRect box = normalised(left, top, right, bottom);
    if (int64_t{box.bottom} - box.top > kMaxShapeRows) return refuse(std::nullopt, "a shape taller than 2^20 rows");
    return box;
}

HRGN ellipticRegion(const CallRefuser& refuse, int left, int top, int right, int bottom) {
    const auto box = shapeBox(refuse, left, top, right, bottom);
    if (!box) return nullptr;
    return addRegion(refuse, Region::ellipse(*box));
}

HRGN rectRegion(const CallRefuser& refuse, int left, int top, int right, int bottom) {
    if (!coordinatesFit({left, top, right, bottom})) return refuse(HRGN{}, "coordinates beyond 2^27");
    return addRegion(refuse, Region(normalised(left, top, right, bottom)));
}

bool polygonFits(const CallRefuser& refuse, std::span<const POINT> points) {
    int64_t top = INT64_MAX;
    int64_t bottom = INT64_MIN;
    for (const POINT& p : points) {
        if (!coordinatesFit({p.x, p.y})) return refuse(false, "a point beyond 2^27");
        top = std::min<int64_t>(top, p.y);
        bottom = std::max<int64_t>(bottom, p.y);
    }
    if (!points.empty() && bottom - top > kMaxShapeRows) return refuse(false, "a polygon taller than 2^20 rows");
    return true;
}

}  // namespace

std::shared_ptr<RegionObject> findRegion(uint32_t handle) {
    return handleTable().getAs<RegionObject>(handle, HandleType::Region);
}

std::shared_ptr<RegionObject> liveRegion(const CallRefuser& refuse, HRGN handle) {
    auto region = findRegion(handleValue(handle));
    if (!region) {
        refuse.log("not a live region handle");
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return region;
}

}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    constexpr CallRefuser refuse("winplat: CreateRectRgn");
    return rectRegion(refuse, left, top, right, bottom);
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    constexpr CallRefuser refuse("winplat: CreateRectRgnIndirect");
    if (!rect) return refuse(HRGN{}, "no rectangle");
    return rectRegion(refuse, rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    constexpr CallRefuser refuse("winplat: CreateEllipticRgn");
    return ellipticRegion(refuse, left, top, right, bottom);
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
    constexpr CallRefuser refuse("winplat: CreateEllipticRgnIndirect");
    if (!rect) return refuse(HRGN{}, "no rectangle");
    return ellipticRegion(refuse, rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
    constexpr CallRefuser refuse("winplat: CreateRoundRectRgn");
    const auto box = shapeBox(refuse, left, top, right, bottom);
    if (!box) return nullptr;
    return addRegion(refuse, Region::roundRect(*box, width, height));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    constexpr CallRefuser refuse("winplat: CreatePolygonRgn");
    if (fillMode != ALTERNATE && fillMode != WINDING)
        return refuse.unsupported(HRGN{}, "fill mode " + std::to_string(fillMode));
    if (count < 0 || (count > 0 && !points)) return refuse(HRGN{}, "no points");
    const std::span<const POINT> given(points, static_cast<size_t>(count));
    if (!polygonFits(refuse, given)) return nullptr;
    return addRegion(refuse, Region::polygon(given, fillMode));
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    constexpr CallRefuser refuse("winplat: SetRectRgn");
    if (!coordinatesFit({left, top, right, bottom})) return refuse(BOOL{FALSE}, "coordinates beyond 2^27");
    std::lock_guard lock(gdiMutex());
    auto object = liveRegion(refuse, region);
    if (!object) return FALSE;
    object->region = Region(normalised(left, top, right, bottom));
    return TRUE;
}

int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
    constexpr CallRefuser refuse("winplat: CombineRgn");
    if (mode < RGN_AND || mode > RGN_COPY) return refuse.unsupported(ERROR, "mode " + std::to_string(mode));
    std::lock_guard lock(gdiMutex());
    auto target = liveRegion(refuse, dest);
    auto a = liveRegion(refuse, source1);
    if (!target || !a) return ERROR;
    if (mode == RGN_COPY) {
        target->region = a->region;
        return target->region.kind();
    }
    auto b = liveRegion(refuse, source2);
    if (!b) return ERROR;
    target->region = Region::combine(a->region, b->region, static_cast<RegionOp>(mode));
    return target->region.kind();
}

int OffsetRgn(HRGN region, int dx, int dy) {
    constexpr CallRefuser refuse("winplat: OffsetRgn");
    std::lock_guard lock(gdiMutex());
    auto object = liveRegion(refuse, region);
    if (!object) return ERROR;
    Region& moved = object->region;
    if (moved.empty()) return NULLREGION;
    const DeviceRect& box = moved.bounds();
    if (!coordinatesFit({int64_t{box.left} + dx, int64_t{box.top} + dy, int64_t{box.right} + dx,
                         int64_t{box.bottom} + dy})) {
        return refuse(ERROR, "the region would move beyond 2^27");
    }
    moved.offset(dx, dy);
    return moved.kind();
}

BOOL EqualRgn(HRGN a, HRGN b) {
    constexpr CallRefuser refuse("winplat: EqualRgn");
    std::lock_guard lock(gdiMutex());
    auto first = liveRegion(refuse, a);
    auto second = liveRegion(refuse, b);
    if (!first || !second) return ERROR;
    return first->region == second->region ? TRUE : FALSE;
}

BOOL PtInRegion(HRGN region, int x, int y) {
    constexpr CallRefuser refuse("winplat: PtInRegion");
    std::lock_guard lock(gdiMutex());
    auto object = liveRegion(refuse, region);
    return object && object->region.contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
    constexpr CallRefuser refuse("winplat: RectInRegion");
    if (!rect) return refuse(BOOL{FALSE}, "no rectangle");
    std::lock_guard lock(gdiMutex());
    auto object = liveRegion(refuse, region);
    if (!object) return FALSE;
    return object->region.overlaps(normalised(rect->left, rect->top, rect->right, rect->bottom)) ? TRUE : FALSE;
}

int GetRgnBox(HRGN region, LPRECT rect) {
    constexpr CallRefuser refuse("winplat: GetRgnBox");
    if (!rect) return refuse(ERROR, "no rectangle");
    std::lock_guard lock(gdiMutex());
    auto object = liveRegion(refuse, region);
    if (!object) return ERROR;
    const DeviceRect& box = object->region.bounds();
    *rect = RECT{box.left, box.top, box.right, box.bottom};
    return object->region.kind();
}
