// Polylines and polygons, and the DC's polygon fill mode.
//
// Polyline draws its segments with the pen as LineTo would, one after another, so a one-pixel
// pen leaves out the last point only and its dash pattern runs on round the corners; a wide pen
// draws all segments at once, every pixel once. It neither uses nor moves the current position.
// Polygon fills the pixels whose centres lie inside (shape_scan.h: the fill mode decides where
// the outline crosses itself; left edges in, right edges out) with the brush and then outlines
// the closed figure with the pen, every vertex once. PolyPolygon fills its polygons as one
// figure (under WINDING the rings' winding numbers add up, so a hole stays empty only where they
// cancel) and then outlines each closed on its own. All go through the DC's binary raster
// operation.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/call_refusal.h"
#include "gdi/paint.h"
#include "gdi/pen_lines.h"
#include "gdi/raster.h"
#include "gdi/region.h"
#include "gdi/shape_scan.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/region.h"

namespace winplat::gdi {
namespace {

bool pointsFit(const CallRefuser& refuse, const POINT* points, int count, int least) {
    if (!points || count < least) return refuse(false, "fewer than " + std::to_string(least) + " points");
    int64_t top = INT64_MAX;
    int64_t bottom = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        if (!coordinatesFit({points[i].x, points[i].y})) return refuse(false, "a point beyond 2^27");
        top = std::min<int64_t>(top, points[i].y);
        bottom = std::max<int64_t>(bottom, points[i].y);
    }
    if (bottom - top > kMaxShapeRows) return refuse(false, "a figure taller than 2^20 rows");
    return true;
}

// The pen along the points in device coordinates; 'closed' joins the last to the first.
void outline(Surface& surface, const ClipArea& area, const PenPaint& pen, std::span<const POINT> points,
             bool closed) {
    if (!pen.visible || points.size() < 2) return;
    const size_t count = closed ? points.size() : points.size() - 1;
    if (pen.width == 1) {
        uint32_t step = 0;
        for (size_t i = 0; i < count; ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % points.size()];
            cosmeticLine(surface, area, a.x, a.y, b.x, b.y, pen, step);
        }
        return;
    }
    std::vector<Segment> segments;
    for (size_t i = 0; i < count; ++i) {
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % points.size()];
        segments.push_back(Segment{double(a.x), double(a.y), double(b.x), double(b.y)});
    }
    wideSegments(surface, area, segments, pen);
}

std::vector<POINT> toDevice(const DeviceContextObject& dc, const POINT* points, int count) {
    std::vector<POINT> moved(points, points + count);
    for (POINT& p : moved) {
        p.x += dc.origin.x;
        p.y += dc.origin.y;
    }
    return moved;
}

// Fills the polygons (counts[i] points each, one after another) as one figure by the DC's fill
// mode, then outlines each of them closed.
void fillAndOutline(DeviceContextObject& context, Surface& surface, std::span<const POINT> device,
                    std::span<const int> counts) {
    const ClipArea area = effectiveClip(context);
    const BrushPaint brush = BrushPaint::resolve(findBrush(context.state.brush).get(), context, surface);
    if (!brush.empty()) {
        const uint8_t rop = ternaryFromRop2(context.state.rop2);
        PolygonScan scan(device, counts, context.state.polyFillMode);
        std::vector<Span> spans;
        const int from = std::max(scan.top(), area.box().top);
        const int to = std::min(scan.bottom(), area.box().bottom);
        for (int y = scan.top(); y < to; ++y) {
            scan.row(y, spans);
            if (y < from) continue;
            for (const Span& span : spans)
                fillClipped(surface, area, DeviceRect{span.left, y, span.right, y + 1}, brush, rop);
        }
    }
    const PenPaint pen = resolvePen(context, surface);
    size_t at = 0;
    for (int count : counts) {
        outline(surface, area, pen, device.subspan(at, static_cast<size_t>(count)), true);
        at += static_cast<size_t>(count);
    }
}

// The points the counts take, when every polygon has at least two; 0 with the reason otherwise.
int64_t countedPoints(const CallRefuser& refuse, const int* counts, int polygons) {
    if (!counts || polygons < 1) return refuse(int64_t{0}, "no polygons");
    int64_t total = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) return refuse(int64_t{0}, "a polygon of fewer than 2 points");
        total += counts[i];
        if (total > INT32_MAX) return refuse(int64_t{0}, "more than 2^31 points");
    }
    return total;
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

BOOL Polyline(HDC dc, const POINT* points, int count) {
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        constexpr CallRefuser refuse("winplat: Polyline");
        if (!pointsFit(refuse, points, count, 2)) return FALSE;
        Surface* surface = drawingSurface(context);
        if (!surface) return TRUE;
        const std::vector<POINT> device = toDevice(context, points, count);
        outline(*surface, effectiveClip(context), resolvePen(context, *surface), device, false);
        return TRUE;
    });
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        constexpr CallRefuser refuse("winplat: Polygon");
        if (!pointsFit(refuse, points, count, 2)) return FALSE;
        Surface* surface = drawingSurface(context);
        if (!surface) return TRUE;
        const std::vector<POINT> device = toDevice(context, points, count);
        const int counts[] = {count};
        fillAndOutline(context, *surface, device, counts);
        return TRUE;
    });
}

BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons) {
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        constexpr CallRefuser refuse("winplat: PolyPolygon");
        const int64_t total = countedPoints(refuse, counts, polygons);
        if (total == 0 || !pointsFit(refuse, points, static_cast<int>(total), 2)) return FALSE;
        Surface* surface = drawingSurface(context);
        if (!surface) return TRUE;
        const std::vector<POINT> device = toDevice(context, points, static_cast<int>(total));
        fillAndOutline(context, *surface, device, std::span<const int>(counts, static_cast<size_t>(polygons)));
        return TRUE;
    });
}

int SetPolyFillMode(HDC dc, int mode) {
    if (mode != ALTERNATE && mode != WINDING) {
        constexpr CallRefuser refuse("winplat: SetPolyFillMode");
        return refuse.unsupported(0, "mode " + std::to_string(mode));
    }
    return onDc(dc, 0, [mode](DeviceContextObject& context) { return std::exchange(context.state.polyFillMode, mode); });
}

int GetPolyFillMode(HDC dc) {
    return onDc(dc, 0, [](DeviceContextObject& context) { return context.state.polyFillMode; });
}
