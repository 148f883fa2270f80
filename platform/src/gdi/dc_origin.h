// Logical coordinates into device ones: a DC's origin (objects.h) added where a drawing call
// takes its coordinates in. Memory, display, printer and metafile DCs have origin (0, 0); window
// DCs have their window's corner on the screen.
#ifndef WINPLAT_SRC_GDI_DC_ORIGIN_H
#define WINPLAT_SRC_GDI_DC_ORIGIN_H

#include <cstdint>

#include "gdi/blit.h"
#include "gdi/device_rect.h"
#include "gdi/objects.h"
#include "gdi/region.h"

namespace winplat::gdi {

inline bool hasOrigin(const DeviceContextObject& dc) { return dc.origin.x != 0 || dc.origin.y != 0; }

inline DeviceRect toDevice(const DeviceContextObject& dc, const DeviceRect& r) {
    return DeviceRect{r.left + dc.origin.x, r.top + dc.origin.y, r.right + dc.origin.x, r.bottom + dc.origin.y};
}

inline SignedRect toDevice(const DeviceContextObject& dc, SignedRect r) {
    r.x += dc.origin.x;
    r.y += dc.origin.y;
    return r;
}

// A region moved by the DC's origin, one way (device = true: logical to device) or the other.
inline Region shifted(const DeviceContextObject& dc, Region region, bool device) {
    if (hasOrigin(dc)) region.offset(device ? dc.origin.x : -dc.origin.x, device ? dc.origin.y : -dc.origin.y);
    return region;
}

}  // namespace winplat::gdi

#endif
