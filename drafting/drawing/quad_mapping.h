// The four-point mapping: a point inside a source quadrilateral S1..S4 goes to the place that
// has the same share of the way across the target quadrilateral T1..T4, measured between the
// side pairs (P1->P2, P4->P3) and (P2->P3, P1->P4) of each. Sides that converge measure the
// share by the angle seen from their meeting point, parallel sides by the distance from the
// first side; so a rotation, a move or a uniform scale of the source gives the same motion of
// every point, and two rectangles map as an affine stretch.
#ifndef LINEWORK_DRAWING_QUAD_MAPPING_H
#define LINEWORK_DRAWING_QUAD_MAPPING_H

#include <array>
#include <optional>

#include "drawing/entity_record.h"
#include "drawing/geometry.h"

namespace linework {

using Quad = std::array<Point, 4>;

// One side pair of a quadrilateral, prepared.
struct SidePair {
    bool converging = false;
    Point apex;             // where the sides meet (converging)
    Point start;            // the first side's start (parallel)
    double direction = 0;   // of the first side
    double total = 0;       // the angle between the sides, or the distance between them
};

struct QuadTransform {
    // Source and target of the pairs (P1->P2, P4->P3) and (P2->P3, P1->P4).
    std::array<SidePair, 2> source;
    std::array<SidePair, 2> target;
};

// The pairs prepared; none when a pair of either quadrilateral is degenerate (its total is 0,
// or converging sides that have no meeting point). Sides count as parallel while the sine of
// the angle between them is not above the tolerance.
std::optional<QuadTransform> SetupQuadTransform(const Quad& source, const Quad& target, double parallelTolerance);

// The point carried through the mapping; false, the point unchanged, when the two lines that
// meet at its image are parallel.
bool MapPointThroughQuads(const QuadTransform& transform, Point& point);

// Carries every point a transform moves (ForEachPointOffset) through the mapping; a point that
// cannot be mapped stays where it is. Sizes and angles are left as they are.
void MapEntityThroughQuads(const QuadTransform& transform, EntityRecord& record);

}  // namespace linework

#endif
