// Records of each kind built field by field, the way the adders fill them, for the importers and
// for tests: the head carries the bare kind (no flag), level 0, and the layer, colour and width
// asked for; the kind's payload follows. Texts longer than 255 bytes are cut to 255, polylines
// beyond 256 vertices to 256, attribute values beyond 16 to 16. A record whose memory was not there
// comes back empty.
#ifndef LINEWORK_DRAWING_ENTITY_BUILDERS_H
#define LINEWORK_DRAWING_ENTITY_BUILDERS_H

#include <cstdint>
#include <span>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/entity_record.h"
#include "drawing/entity_views.h"

namespace linework {

struct HeadFields {
    uint8_t layer = 0;
    uint8_t colour = 0;  // 0: the layer's
    uint8_t width = 0;   // 0: the layer's
};

// A point (one vertex), a line (two) or a polyline; 'style' is the marker style of a point, else
// line type and pattern number.
EntityRecord MakePolyline(std::span<const Point> vertices, HeadFields head = {}, uint8_t endSymbol = 0,
                          uint8_t style = 0, float auxiliarySize = 0);
EntityRecord MakePolyline3D(std::span<const Point3> vertices, HeadFields head = {}, uint8_t style = 0);
EntityRecord MakeArc(Point centre, Point start, Point end, HeadFields head = {}, uint8_t lineType = 0);
EntityRecord MakeText(std::string_view text, Point at, HeadFields head = {}, double height = 1, double charWidth = 1,
                      double angle = 0, uint8_t justifyAndFont = 0);
EntityRecord MakeDimension(std::span<const Point, 5> points, double value, uint8_t style, std::string_view text,
                           HeadFields head = {});
// An insert of 'block' scaled 1:1, not turned, without attribute values.
EntityRecord MakeInsert(BlockHandle block, Point at, HeadFields head = {});
EntityRecord MakeReference(std::string_view fileName, Point at, HeadFields head = {});
EntityRecord MakeRasterImage(std::string_view fileName, Point topLeft, int lastColumn, int lastRow,
                             double pixelWidth, double pixelHeight, uint16_t flags, HeadFields head = {});

}  // namespace linework

#endif
