// Whether an entity lies in a selection window, touches a pick box or crosses a fence: the
// geometric test of one entity of any kind, with block inserts tested member by member.
//
// A window holds an entity that lies wholly inside it; a crossing window (and the pick box)
// holds one that lies inside or crosses its border; a fence holds one that crosses the segment
// between the two corners as given. Bounds are inclusive.
#ifndef LINEWORK_DISPLAY_PICK_TESTS_H
#define LINEWORK_DISPLAY_PICK_TESTS_H

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "drawing/drawing.h"
#include "drawing/entity_views.h"
#include "drawing/geometry.h"
#include "drawing/layer_table.h"

namespace linework {

// Where a block member shows: the inserts' moves, rotations and scales about their blocks'
// bases, composed for nested inserts. The identity for entities of the drawing list.
struct MemberPlacement {
    double a = 1, b = 0, c = 0, d = 1;  // x' = a x + b y + tx, y' = c x + d y + ty
    double tx = 0, ty = 0;

    Point Apply(Point p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty}; }
    bool Mirrors() const { return a * d - b * c < 0; }
    // The placement of the members of 'insert' (whose block's base is 'base') inside this one.
    MemberPlacement Then(const InsertView& insert, Point base) const;
};

enum class PickRule { Window, Crossing, Fence };

struct PickRegion {
    PickRule rule = PickRule::Crossing;
    Box box;  // ordered: x1 <= x2, y1 <= y2
    // The fence: from a to b.
    Point fenceA;
    Point fenceB;
    // Pointing mode: an arc is always flattened (its snap points lie on the curve).
    bool pointing = false;
};

struct PickSettings {
    // Entities on hidden, locked or out-of-range layers are tested too.
    bool allLayers = false;
    // Views other than the plan view: only 3-D polylines are tested.
    bool only3D = false;
    // Raster images: shown at all, selectable, found by pointing.
    bool imagesShown = true;
    bool imageSelection = true;
    bool imagePointing = true;
    // World units per pixel and the fixed segment count (0: by radius) for flattening arcs.
    double pixelSize = 1;
    int fixedArcSegments = 0;
    // Where a 3-D vertex shows in the drawing plane; none: its x and y (the plan view).
    std::function<bool(Point3, Point&)> project;
};

// What a run of tests did, for callers that watch their cost.
struct PickStatistics {
    int arcsFlattened = 0;
};

class PickTester {
public:
    PickTester(const Drawing& drawing, const LayerTable& layers, const PickSettings& settings)
        : drawing_(drawing), layers_(layers), settings_(settings) {}

    // The test of one entity of the drawing list (its layer rules are the caller's).
    bool Passes(const EntityRecord& entity, const PickRegion& region);
    const PickStatistics& Statistics() const { return statistics_; }

    // The segment rules over a chain of vertices (two or more).
    static bool ChainPasses(std::span<const Point> chain, const PickRegion& region);

private:
    std::optional<bool> PassesPlaced(const EntityRecord& entity, const PickRegion& region, int depth);
    // None when no member was tested (all skipped, or the insert is one of its own members).
    std::optional<bool> InsertPasses(const InsertView& insert, const PickRegion& region, int depth);
    bool ArcPasses(const ArcView& arc, const PickRegion& region);
    bool DimensionPasses(const DimensionView& dimension, const PickRegion& region);
    bool ImagePasses(const RasterImageView& image, const PickRegion& region) const;
    bool Polyline3DPasses(const Polyline3DView& polyline, const PickRegion& region) const;

    Point Placed(Point p) const;

    const Drawing& drawing_;
    const LayerTable& layers_;
    const PickSettings& settings_;
    PickStatistics statistics_;
    // Where the members of the insert being tested show (identity for the drawing list), the
    // innermost insert, its layer and the attribute index of the member being tested.
    MemberPlacement placement_;
    const InsertView* insert_ = nullptr;
    uint8_t insertLayer_ = 0;
    int attribute_ = -1;
    // The blocks being tested, outermost first: an insert of one of them inside itself is a
    // cycle (possible in a damaged or hand-made file) and is not entered again.
    std::vector<BlockHandle> open_;
    // The placed vertices of the polyline being tested (kept to spare an allocation each).
    std::vector<Point> vertices_;
};

// Whether the point lies in the box, bounds included.
bool PointInBox(Point p, const Box& box);

}  // namespace linework

#endif
