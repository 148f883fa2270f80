// Object snapping while pointing: the entities under the pick box round the cursor give the
// point the cursor moves to, by the snap mode:
//   0  none
//   1  insertion point of a block insert or drawing reference, upper-left corner of an image
//   3  the nearer end of the polyline segment or arc under the cursor
//   4  the crossing of the first two segments or arcs under the cursor (none when they miss)
//   5  the middle of the polyline segment under the cursor
//   7  a point entity
//   11 insertion point of a text or attribute definition, text point of a dimension
//   12 no move: the snap points of the entities found become snap markers
// Modes 2, 6, 8, 9, 10 and any other give no snap. Erased entities and entities on layers that
// are not drawn are never found.
#ifndef LINEWORK_DISPLAY_OBJECT_SNAP_H
#define LINEWORK_DISPLAY_OBJECT_SNAP_H

#include <optional>
#include <vector>

#include "drawing/drawing.h"
#include "drawing/geometry.h"
#include "drawing/layer_table.h"

namespace linework {

struct PickBox {
    Point centre;
    double half = 0;  // world units
    bool Contains(Point p) const;
    // Whether the segment a-b passes through the box.
    bool Meets(Point a, Point b) const;
};

// The point of the mode for the pick box; none when nothing fits.
std::optional<Point> ObjectSnapPoint(int mode, const Drawing& drawing, const LayerTable& layers, const PickBox& box);

// Mode 12: the snap points (vertices, arc ends and centres, insertion points) of the entities
// under the pick box, in list order.
std::vector<Point> SnapPointsUnder(const Drawing& drawing, const LayerTable& layers, const PickBox& box);

}  // namespace linework

#endif
