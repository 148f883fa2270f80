// A metafile as the player keeps it: parsed once at load into a list of validated records, so a
// draw is a loop over them that never looks at the file's bytes again.
//
// Coordinates stay logical (as the file gives them); the player maps them at draw time, since the
// mapping depends on the destination rectangle. Every index a record holds (into the point, byte,
// font and bitmap pools, or the object table) was checked by the parser.
#ifndef VEXMILL_PICTURE_H
#define VEXMILL_PICTURE_H

#include <cstdint>
#include <vector>

#include "winplat/gdi.h"
#include "winplat/text.h"

namespace vexmill {

enum class Op : uint8_t {
    // Mapping: a[0], a[1] are x, y (or the four factors of a scale).
    SetWindowOrg,
    SetWindowExt,
    SetViewportOrg,
    SetViewportExt,
    OffsetWindowOrg,
    OffsetViewportOrg,
    ScaleWindowExt,
    ScaleViewportExt,
    SetMapMode,
    // DC state: a[0] the value, already one the platform supports.
    SetBkMode,
    SetBkColor,
    SetTextColor,
    SetRop2,
    SetPolyFillMode,
    SetTextAlign,
    SetStretchBltMode,
    SaveDc,
    RestoreDc,  // a[0]: how many of the picture's own saves stay (0 = back to the state before the first)
    IntersectClipRect,  // a[0..3] left, top, right, bottom
    ExcludeClipRect,
    // Objects: a[0] the slot of the object table.
    SelectObject,
    DeleteObject,
    CreatePen,      // a[1] style, a[2] width, a[3] colour
    CreateBrush,    // a[1] style (solid, null, hatched), a[2] colour, a[3] hatch
    CreateDibBrush, // a[1] bitmap index
    CreateFont,     // a[1] font index
    CreateNothing,  // an object kind the player does not make (palette, region): the slot is taken
    // Drawing.
    MoveTo,  // a[0], a[1]
    LineTo,
    SetPixel,  // a[0], a[1], a[2] colour
    Polyline,  // points [first, first + count)
    Polygon,
    PolyPolygon,  // a[0] polygons; their point counts are bytes [a[1], a[1] + 2 * a[0]); points as above
    Rectangle,    // a[0..3] left, top, right, bottom
    Ellipse,
    RoundRect,  // a[4], a[5] corner width, height
    Arc,        // a[4..7] start x, y, end x, y
    Pie,
    Chord,
    PatBlt,     // a[0..3] x, y, width, height, a[4] the operation
    TextOut,    // a[0], a[1]; text bytes [first, first + count); a[2] options, a[3..6] rectangle, a[7] dx at
                // the bytes [a[7], a[7] + 2 * count) or -1
    StretchDib, // a[0..3] destination x, y, width, height, a[4..7] source x, y, width, height; first the
                // bitmap index, count the operation
};

struct Record {
    Op op;
    int32_t a[8];
    uint32_t first;
    uint32_t count;
};

// A bitmap of a record, ready for StretchDIBits: the header and colour table as one BITMAPINFO,
// the rows in the picture's byte pool.
struct Bitmap {
    struct Info {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info;
    uint32_t bits;  // where the rows start in the byte pool
    uint32_t size;  // their length

    const BITMAPINFO* bitmapInfo() const { return reinterpret_cast<const BITMAPINFO*>(&info); }
};

// A rectangle of the picture's mapped space, before it is fitted to the destination.
struct Frame {
    double x = 0;
    double y = 0;
    double width = 1;
    double height = 1;
};

struct Picture {
    std::vector<Record> records;
    std::vector<POINT> points;
    std::vector<uint8_t> bytes;
    std::vector<LOGFONTA> fonts;
    std::vector<Bitmap> bitmaps;
    uint32_t objectSlots = 0;  // the largest object slot used, plus one
    Frame frame;               // what of the mapped space the destination rectangle shows
    int16_t width = 0;         // natural size in pixels at 96 DPI
    int16_t height = 0;
};

}  // namespace vexmill

#endif
