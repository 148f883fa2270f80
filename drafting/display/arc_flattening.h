// Arcs and circles as polylines: the segment count grows with the square root of the radius in
// pixels, from 6 for a full circle to at most 252; a circle under about a third of a pixel is one
// straight segment.
#ifndef LINEWORK_DISPLAY_ARC_FLATTENING_H
#define LINEWORK_DISPLAY_ARC_FLATTENING_H

#include <array>
#include <span>

#include "drawing/entity_record.h"
#include "drawing/entity_views.h"

namespace linework {

inline constexpr int kMaxArcSegments = 252;

// The segments of a full circle of 'radius' at 'pixelSize' world units per pixel, or the fixed
// count when that setting is not 0. 0 means one straight segment. A pixel size that is not a
// positive number (a view not yet set up) gives the most segments.
int CircleSegmentCount(double radius, double pixelSize, int fixedCount);

// The arc's points from its start counter-clockwise to its end (a circle: the whole way round),
// start and end copied exactly, into 'points'; returns the number of segments (1..252).
using ArcPoints = std::array<Point, kMaxArcSegments + 1>;
int FlattenArc(const ArcView& arc, double pixelSize, int fixedCount, ArcPoints& points);

// The same as a polyline record with the arc's head (layer, colour, width) and its line type,
// for code that works on records.
EntityRecord ArcToPolyline(const ArcView& arc, double pixelSize, int fixedCount);

}  // namespace linework

#endif
