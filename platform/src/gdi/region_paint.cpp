// Painting regions: FillRgn, PaintRgn, InvertRgn and FrameRgn. Each paints the region's
// rectangles through the DC's effective clip, so a region and a clip both cut what is drawn.
#include <string>

#include "base/call_refusal.h"
#include "gdi/dc_origin.h"
#include "gdi/paint.h"
#include "gdi/raster.h"
#include "gdi/recorder.h"
#include "winplat/base.h"
#include "winplat/region.h"

namespace winplat::gdi {
namespace {

void recordRegion(HDC dc, const char* call, const Region& region) {
    if (!recording(handleValue(dc))) return;
    const DeviceRect& box = region.bounds();
    record(handleValue(dc), std::string(call) + " " + std::to_string(box.left) + " " + std::to_string(box.top) + " " +
                                std::to_string(box.right) + " " + std::to_string(box.bottom));
}

// Paints every pixel of the region with the brush (null for an operation that takes no pattern)
// and the ternary operation.
BOOL paintPixels(const CallRefuser& refuse, DeviceContextObject& context, HDC dc, const char* call,
                 const Region& region, const BrushObject* brush, uint8_t rop) {
    if (ropUsesPattern(rop) && !brush) return refuse(BOOL{FALSE}, "not a live brush handle");
    recordRegion(dc, call, region);
    Surface* surface = drawingSurface(context);
    if (!surface) return TRUE;
    const ClipArea clip = effectiveClip(context);
    const BrushPaint paint = BrushPaint::resolve(brush, context, *surface);
    for (const DeviceRect& rect : region.rects()) fillClipped(*surface, clip, toDevice(context, rect), paint, rop);
    return TRUE;
}

}  // namespace
}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    constexpr CallRefuser refuse("winplat: FillRgn");
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        auto object = liveRegion(refuse, region);
        if (!object) return FALSE;
        return paintPixels(refuse, context, dc, "FillRgn", object->region, findBrush(handleValue(brush)).get(),
                           ropIndex(PATCOPY));
    });
}

BOOL PaintRgn(HDC dc, HRGN region) {
    constexpr CallRefuser refuse("winplat: PaintRgn");
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        auto object = liveRegion(refuse, region);
        if (!object) return FALSE;
        return paintPixels(refuse, context, dc, "PaintRgn", object->region, findBrush(context.state.brush).get(),
                           ternaryFromRop2(context.state.rop2));
    });
}

BOOL InvertRgn(HDC dc, HRGN region) {
    constexpr CallRefuser refuse("winplat: InvertRgn");
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        auto object = liveRegion(refuse, region);
        if (!object) return FALSE;
        return paintPixels(refuse, context, dc, "InvertRgn", object->region, nullptr, ropIndex(DSTINVERT));
    });
}

BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height) {
    constexpr CallRefuser refuse("winplat: FrameRgn");
    if (width < 0 || height < 0) return refuse(BOOL{FALSE}, "a negative frame width or height");
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        auto object = liveRegion(refuse, region);
        if (!object) return FALSE;
        // Beyond the region's own size a wider frame covers no more.
        const DeviceRect& box = object->region.bounds();
        const Region frame = object->region.border(std::min(width, box.right - box.left),
                                                   std::min(height, box.bottom - box.top));
        return paintPixels(refuse, context, dc, "FrameRgn", frame, findBrush(handleValue(brush)).get(),
                           ropIndex(PATCOPY));
    });
}
