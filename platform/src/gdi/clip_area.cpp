#include "gdi/clip_area.h"

#include "gdi/paint.h"

namespace winplat::gdi {

DeviceRect deviceBounds(const DeviceContextObject& dc) {
    if (dc.kind == DcKind::Metafile) return DeviceRect{0, 0, dc.device.width, dc.device.height};
    const Surface* surface = drawingSurface(dc);
    return surface ? DeviceRect{0, 0, surface->width(), surface->height()} : DeviceRect{};
}

ClipArea effectiveClip(DeviceContextObject& dc) {
    const DeviceRect bounds = deviceBounds(dc);
    if (!dc.state.clip && !dc.systemRegion) return ClipArea(bounds);
    ClipCache& cache = dc.clipCache;
    if (cache.clip != dc.state.clip || cache.system != dc.systemRegion || cache.bounds != bounds) {
        Region clip(bounds);
        if (dc.systemRegion) clip = Region::combine(clip, *dc.systemRegion, RegionOp::And);
        if (dc.state.clip) clip = Region::combine(clip, *dc.state.clip, RegionOp::And);
        cache.clip = dc.state.clip;
        cache.system = dc.systemRegion;
        cache.bounds = bounds;
        cache.box = clip.bounds();
        cache.region = clip.kind() == COMPLEXREGION ? std::make_shared<const Region>(std::move(clip)) : nullptr;
    }
    return ClipArea(cache.box, cache.region);
}

}  // namespace winplat::gdi
