// Which segment of a picked polyline lies under the pick: the one nearest the point the user
// clicked, so that a script asking for a line gets the piece the user pointed at.
#ifndef LINEWORK_UI_PICKED_SEGMENT_H
#define LINEWORK_UI_PICKED_SEGMENT_H

#include <optional>
#include <utility>

#include "drawing/drawing.h"
#include "drawing/geometry.h"

namespace linework {

// The end points of the polyline's segment nearest 'at'; none when the entity is no polyline
// of at least one segment.
std::optional<std::pair<Point, Point>> NearestPolylineSegment(const Drawing& drawing, EntityHandle entity, Point at);

}  // namespace linework

#endif
