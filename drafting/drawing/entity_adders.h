// The adders: every entity the user, a script, an importer or an edit makes enters the drawing
// here. An adder fills the record from its arguments and the current properties, allocates
// exactly its size, links it at the head of the drawing list, has it drawn and records its undo
// code. A refused argument adds nothing and reports nothing; a failed allocation sets the
// drawing's memory-error flag, and the adder links, draws and records nothing.
#ifndef LINEWORK_DRAWING_ENTITY_ADDERS_H
#define LINEWORK_DRAWING_ENTITY_ADDERS_H

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/entity_draw_hook.h"
#include "drawing/geometry.h"
#include "drawing/system_variable_image.h"
#include "drawing/undo_operations.h"

namespace linework {

// Byte switch 3: a block insert's attribute values would exceed 256 bytes.
inline constexpr int32_t kInsertOverflowSwitch = 3;

// What the adders work on and with.
struct AdderContext {
    Drawing& drawing;
    SystemVariableImage& variables;  // current properties, the insert-overflow switch
    UndoRecorder& undo;
    EntityDrawHook& draw = NoDrawing();
    std::string programFolder;  // Windows form, ending in a separator
    // Line n of the program store (GetTextLine): the values a block insert gives its variable
    // attributes. None: every value is empty.
    std::function<std::string(int32_t)> textLine;
    int drawMode = 0;
};

// The tag, default value, prompt and flag word an attribute definition is made with (the
// attribute working values).
struct AttributeStrings {
    std::string tag;
    std::string defaultValue;
    std::string prompt;
    uint16_t flags = 0;  // low 7 bits: takes a value on insert; bit 7: invisible
};

// The 88 bytes of a dimension's five points and value, as Part of the record from +12.
struct DimensionGeometry {
    std::array<Point, 5> points{};
    double value = 0;
};

// Fewer than 1 or more than 256 vertices add nothing. One vertex is a point (marker size and
// style from the current properties, undo "point"), two a line ("line"); with 'patterned' and
// three or more vertices the polyline is hatched with the current pattern ("hatch"). The new
// entity is drawn only when 'draw' is set.
EntityHandle AddPolyline(AdderContext& context, std::span<const Point> vertices, bool patterned, bool draw);
// A circle when the start and end points are the same bytes ("circle"), else an arc ("arc").
EntityHandle AddArc(AdderContext& context, Point centre, Point start, Point end);
// The angle is reduced modulo 2 pi only when its magnitude exceeds 2 pi; the text is cut to 255.
EntityHandle AddText(AdderContext& context, std::string_view text, uint8_t justifyAndFont, Point at, double height,
                     double charWidth, double angle);
// Nothing when the three strings with their length bytes and the flag word exceed 256 bytes.
EntityHandle AddAttributeDefinition(AdderContext& context, const AttributeStrings& strings, uint8_t justifyAndFont,
                                    Point at, double height, double charWidth, double angle);
EntityHandle AddDimension(AdderContext& context, const DimensionGeometry& geometry, uint8_t style,
                          std::string_view text);
// Takes the block's leading attribute definitions (at most 16): a variable one gets program
// store line i as its value. Values beyond 256 bytes set the insert-overflow switch and add
// nothing.
EntityHandle AddBlockInsert(AdderContext& context, BlockHandle block, double xScale, double yScale, double rotation,
                            Point at);
// The name is completed with the program folder and ".LKD"; a zero scale product adds nothing.
EntityHandle AddDrawingReference(AdderContext& context, std::string_view fileName, double xScale, double yScale,
                                 double rotation, Point at);
// The name is completed with the program folder; a PCX file gets its row index. Nothing is added
// for a picture that is not there or not readable, or a pixel size that is not positive.
EntityHandle AddRasterImage(AdderContext& context, uint16_t flags, std::string_view fileName, Point topLeft,
                            double pixelWidth, double pixelHeight);

}  // namespace linework

#endif
