// The drawing as text, one line per entity, for tests and the batch runner:
//
//   KIND flags=0xNN layer=L colour=C width=W [level=V] FIELDS
//
// KIND is point, line, polyline, polyline3d, circle, arc, text, attdef, dimension, insert,
// reference or image; numbers are written in their shortest exact form; texts stand in double
// quotes as their cp1250 bytes. Block definitions come first, each as a line
// `block "NAME" base=(X,Y)` followed by its members indented by two blanks, then the drawing list
// from its head (the newest entity first).
#ifndef LINEWORK_DRAWING_ENTITY_DUMP_H
#define LINEWORK_DRAWING_ENTITY_DUMP_H

#include <string>

#include "drawing/drawing.h"

namespace linework {

std::string DumpEntity(const Drawing& drawing, const EntityRecord& record);
std::string DumpDrawing(const Drawing& drawing);

}  // namespace linework

#endif
