// Hit tests of a page object's hot spots and the clip regions they paint through. Points are
// relative to the object. A rectangle holds its edges; an ellipse is the one inscribed in the
// shape's rectangle; a polygon uses the crossing rule (a point is inside when a ray from it
// crosses the outline an odd number of times), as the region's alternate filling does.
#ifndef LECT32_PAGE_HOTSPOT_GEOMETRY_H
#define LECT32_PAGE_HOTSPOT_GEOMETRY_H

#include <cstdint>
#include <span>

#include "page/hotspot_list.h"
#include "store/link_target.h"
#include "winplat/owners.h"

namespace lect32 {

// The rectangle of the shape, or for any other shape value the ellipse inscribed in it.
bool PointInShape(const HotspotShape& shape, int x, int y);
// false for fewer than 3 points.
bool PointInPolygon(std::span<const POINT> points, int x, int y);
// Whether the shape holds the point: its polygon, else PointInShape.
bool ShapeHolds(const HotspotShape& shape, int x, int y);

// Index of the first shape of the stored list that holds the point, -1 for none.
int HitTestHotspots(std::span<const uint8_t> list, int x, int y);

// How a hot spot's stored link is decoded (see LinkTarget::Decode).
struct LinkDecoding {
    uint8_t sourceDocument = LinkTarget::kMainDocumentSource;
    bool ownerIsMainPageWindow = true;
    const LinkResolver& resolver;
};

// The first shape that holds the point and has a link that decodes: true and the link.
bool HitTestHotspotLink(std::span<const uint8_t> list, int x, int y, const LinkDecoding& how, LinkTarget& link);

// The region of shape 'index' with the object at (x, y): 1 for a polygon (alternate filling),
// -1 for a rectangle or ellipse, 0 with no region when there is no such shape or it cannot be
// made. top and bottom: the shape's, relative to the object.
int BuildHotspotRegion(std::span<const uint8_t> list, uint16_t index, int x, int y, winplat::OwnedRegion& region,
                       int& top, int& bottom);

}  // namespace lect32

#endif
