// The window and viewport mapping of a metafile, kept by the player as its own transform: the DC
// it draws on stays in its own units, and every point goes through here instead.
//
// A point maps from logical units to the picture's mapped space by (p - window origin) x ratio +
// viewport origin. The ratio is viewport extent / window extent; a picture that sets a window
// extent but no viewport extent has its window shown at the window's own size, so a negative
// window extent flips that axis. In MM_TEXT the extents still count: placeable files set extents
// without ever choosing a map mode, trusting the player to have chosen MM_ANISOTROPIC. The fixed
// modes (metric, English, twips) scale by their unit at 96 DPI with y growing upwards.
#ifndef VEXMILL_MAPPING_H
#define VEXMILL_MAPPING_H

#include "picture.h"

namespace vexmill {

struct Mapping {
    int mode = 1;  // MM_TEXT
    double windowOrgX = 0, windowOrgY = 0;
    double windowExtX = 1, windowExtY = 1;
    double viewportOrgX = 0, viewportOrgY = 0;
    double viewportExtX = 1, viewportExtY = 1;
    bool windowExtSet = false;
    bool viewportExtSet = false;

    // Applies a mapping record (SetWindowOrg ... SetMapMode); other records change nothing.
    void apply(const Record& record);

    double ratioX() const;
    double ratioY() const;
    double mapX(double x) const { return (x - windowOrgX) * ratioX() + viewportOrgX; }
    double mapY(double y) const { return (y - windowOrgY) * ratioY() + viewportOrgY; }
};

// The part of the mapped space that a logical rectangle covers, as a frame with positive sides
// (at least one unit).
Frame frameOf(const Mapping& mapping, double left, double top, double right, double bottom);

// Device coordinates of logical ones, for a picture whose frame is fitted into a destination
// rectangle: device = scale x logical + offset, per axis.
struct DeviceTransform {
    double scaleX = 1, offsetX = 0, scaleY = 1, offsetY = 0;

    static DeviceTransform fit(const Mapping& mapping, const Frame& frame, int x, int y, int width, int height);
    int x(double logical) const;
    int y(double logical) const;
    // A length along an axis (pen widths, font heights, character advances), rounded, sign kept.
    int lengthX(double logical) const;
    int lengthY(double logical) const;
};

}  // namespace vexmill

#endif
