// Short names for the drawing model's record builders in tests: a vertex list in braces, the
// layer, end symbol and style as trailing arguments.
#ifndef TESTS_DRAFTING_SUPPORT_ENTITY_BUILDERS_H
#define TESTS_DRAFTING_SUPPORT_ENTITY_BUILDERS_H

#include <initializer_list>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/entity_builders.h"
#include "drawing/entity_record.h"

namespace linework::test {

inline EntityRecord Polyline(std::initializer_list<Point> vertices, uint8_t layer = 0, uint8_t endSymbol = 0,
                             uint8_t style = 0) {
    return MakePolyline(std::span<const Point>(vertices.begin(), vertices.size()), {.layer = layer}, endSymbol, style);
}

inline EntityRecord Arc(Point centre, Point start, Point end) { return MakeArc(centre, start, end); }

inline EntityRecord Text(std::string_view text, Point at = {}) { return MakeText(text, at, {}, 0, 0); }

// An insert without attribute values.
inline EntityRecord Insert(BlockHandle block, Point at = {}) { return MakeInsert(block, at); }

}  // namespace linework::test

#endif
